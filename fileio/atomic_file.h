// Saving without losing the old file: the new content goes to a temporary file beside the
// target, which is flushed to disk and then renamed over it. A failure at any step leaves the old
// file as it was and removes the temporary one.
//
// Temporary files are named ".<target name>.morvo-<process id>-XXXXXX". A save that is killed
// midway leaves its file behind; the next save of the same target removes every such file whose
// process no longer runs.
#pragma once

#include <string>

enum class SaveResult {
  kSaved,
  kNotCreated, // no file could be made beside the target; nothing was written anywhere
  kFailed,     // a later step failed; the old file is as it was, unless the reason says otherwise
};

// Writes bytes to path through a temporary file renamed over it. On anything but kSaved, reason
// is one line with the system's own words: the bare reason ("No such file or directory") for
// kNotCreated, the failed step and the reason ("cannot write: No space left on device") for
// kFailed. A failed flush of the folder after the rename is kFailed too: the new content is then
// in place but may not survive a crash.
SaveResult writeFileAtomically(const std::string &path, const std::string &bytes,
                               std::string &reason);
