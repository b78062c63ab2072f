// Saving without losing the old file: the bytes go to a temporary file beside the target, which
// is flushed to disk and then renamed over it. A failure at any step leaves the old file as it
// was and removes the temporary one.
#pragma once

#include <string>

// Writes bytes to path atomically. On failure returns false and sets error to a one-line reason.
bool writeFileAtomically(const std::string &path, const std::string &bytes, std::string &error);

// Reads a whole file. On failure returns false and sets error to a one-line reason.
bool readWholeFile(const std::string &path, std::string &bytes, std::string &error);
