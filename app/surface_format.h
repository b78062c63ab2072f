// The OpenGL surface every window of the program gets; set before the QApplication exists.
#pragma once

// Compatibility profile (the fixed-function pipeline), depth 24, stencil 8, alpha 8.
void useProgramSurfaceFormat();
