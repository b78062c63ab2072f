// Saving without losing the old file: the new content goes to a temporary file beside the
// target, which is flushed to disk and then renamed over it. A failure at any step leaves the old
// file as it was and removes the temporary one.
#pragma once

#include <functional>
#include <string>

// Calls write with the path of a new, empty temporary file beside path; when write returns true
// the file is flushed to disk and renamed over path. Returns false, with a one-line reason in
// error, when anything fails; the temporary file is gone then.
bool replaceFile(const std::string &path, const std::function<bool(const std::string &)> &write,
                 std::string &error);

// Writes bytes to path atomically (replaceFile with the bytes as the content).
bool writeFileAtomically(const std::string &path, const std::string &bytes, std::string &error);
