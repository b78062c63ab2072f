// The program's allocator policy. Mesh work allocates and frees arrays of megabytes again and
// again: the undo copy of an object, the builder's lists, an operation's new elements. By
// default the C library hands such blocks back to the system on every free, and the next
// operation pays a page fault for every 4 KiB it touches again; on virtual machines that costs
// more than the operation itself (bevelling every edge of a 16 384-face object took 2.5 times as
// long). Called once at start-up, before the first large allocation.
#pragma once

// Keeps freed memory up to the size of the largest objects' work for reuse: blocks under 32 MiB
// come from the heap, and the heap is shrunk only when more than 128 MiB of it lies free at the
// top. Larger blocks (big images) are still returned at once. No effect outside glibc.
void keepFreedMemoryForReuse();
