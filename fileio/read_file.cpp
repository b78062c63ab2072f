#include "fileio/read_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

bool readWholeFile(const std::string &path, std::string &bytes, std::string &error) {
  FILE *f = std::fopen(path.c_str(), "rb");
  if (!f) {
    error = std::string("cannot open: ") + std::strerror(errno);
    return false;
  }
  bytes.clear();
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
    bytes.append(buffer, n);
  const bool bad = std::ferror(f);
  const int readErrno = errno;
  std::fclose(f);
  if (bad) {
    error = std::string("cannot read: ") + std::strerror(readErrno);
    return false;
  }
  return true;
}
