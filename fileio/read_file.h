// Reading a file from disk in one piece.
#pragma once

#include <string>

// Reads the whole file at path into bytes. On failure returns false and sets error to a one-line
// reason with the system's own words; bytes then holds nothing useful.
bool readWholeFile(const std::string &path, std::string &bytes, std::string &error);
