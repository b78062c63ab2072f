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

// Flushes the finished temporary file, gives it the target's permissions (or the usual ones for
// a new file) and renames it over the target.
bool commit(const std::string &temp, const std::string &path, std::string &error) {
  const int fd = open(temp.c_str(), O_RDWR);
  if (fd < 0) {
    error = reason("cannot reopen the temporary file");
    return false;
  }
  struct stat old;
  if (stat(path.c_str(), &old) == 0) {
    fchmod(fd, old.st_mode & 07777);
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
  }
  const bool synced = fsync(fd) == 0;
  if (!synced)
    error = reason("cannot flush to disk");
  if (close(fd) != 0 && synced) {
    error = reason("cannot close");
    return false;
  }
  if (!synced)
    return false;
  if (rename(temp.c_str(), path.c_str()) != 0) {
    error = reason("cannot replace the file");
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

} // namespace

bool replaceFile(const std::string &path, const std::function<bool(const std::string &)> &write,
                 std::string &error) {
  const size_t slash = path.rfind('/');
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::string pattern = folderOf(path) + "/." + base + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    error = reason("cannot create a temporary file");
    return false;
  }
  close(fd);
  const std::string temp(name.data());
  if (!write(temp)) {
    error = "cannot write the new content";
    unlink(temp.c_str());
    return false;
  }
  if (!commit(temp, path, error)) {
    unlink(temp.c_str());
    return false;
  }
  return true;
}

bool writeFileAtomically(const std::string &path, const std::string &bytes, std::string &error) {
  std::string writeError;
  const bool ok = replaceFile(
      path,
      [&](const std::string &temp) {
        FILE *f = std::fopen(temp.c_str(), "wb");
        if (!f) {
          writeError = reason("cannot open the temporary file");
          return false;
        }
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        if (!written)
          writeError = reason("cannot write");
        return std::fclose(f) == 0 && written;
      },
      error);
  if (!ok && !writeError.empty())
    error = writeError;
  return ok;
}
