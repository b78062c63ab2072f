#include "fileio/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string reason(const char *what) { return std::string(what) + ": " + std::strerror(errno); }

std::string folderOf(const std::string &path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

bool writeFileAtomically(const std::string &path, const std::string &bytes, std::string &error) {
  const size_t slash = path.rfind('/');
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string pattern = folderOf(path) + "/." + base + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    error = reason("cannot create a temporary file");
    return false;
  }
  const auto fail = [&](const char *what) {
    error = reason(what);
    close(fd);
    unlink(name.data());
    return false;
  };
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0) {
      if (errno == EINTR)
        continue;
      return fail("cannot write");
    }
    written += size_t(n);
  }
  // Keep the permissions of the file being replaced; a new file gets the usual 0666 & ~umask.
  struct stat old;
  if (stat(path.c_str(), &old) == 0) {
    fchmod(fd, old.st_mode & 07777);
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
  }
  if (fsync(fd) != 0)
    return fail("cannot flush to disk");
  if (close(fd) != 0) {
    error = reason("cannot close");
    unlink(name.data());
    return false;
  }
  if (rename(name.data(), path.c_str()) != 0) {
    error = reason("cannot replace the file");
    unlink(name.data());
    return false;
  }
  // Make the rename itself durable.
  const int folder = open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  return true;
}

bool readWholeFile(const std::string &path, std::string &bytes, std::string &error) {
  FILE *f = std::fopen(path.c_str(), "rb");
  if (!f) {
    error = reason("cannot open");
    return false;
  }
  bytes.clear();
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
    bytes.append(buffer, n);
  const bool bad = std::ferror(f);
  std::fclose(f);
  if (bad) {
    error = "cannot read";
    return false;
  }
  return true;
}
