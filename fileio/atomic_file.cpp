#include "fileio/atomic_file.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t kUniqueSuffix = 6; // the XXXXXX that mkstemp fills

std::string stepFailed(const char *step, int error) {
  return std::string(step) + ": " + std::strerror(error);
}

std::string folderOf(const std::string &path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseOf(const std::string &path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// What every temporary file of a save of `base` starts with; the process id follows.
std::string temporaryPrefix(const std::string &base) { return "." + base + ".morvo-"; }

// The process id in a temporary file name of the target, or 0 when the name is not one.
pid_t temporaryOwner(const std::string &name, const std::string &prefix) {
  if (name.compare(0, prefix.size(), prefix) != 0)
    return 0;
  const size_t digits = name.find_first_not_of("0123456789", prefix.size());
  if (digits == prefix.size() || digits == std::string::npos || digits - prefix.size() > 9 ||
      name[digits] != '-' || name.size() != digits + 1 + kUniqueSuffix)
    return 0;
  return pid_t(std::stol(name.substr(prefix.size(), digits - prefix.size())));
}

// Removes the temporary files that saves of this target left behind when they were killed.
void removeStaleTemporaries(const std::string &folder, const std::string &base) {
  const std::string prefix = temporaryPrefix(base);
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    const pid_t owner = temporaryOwner(it->path().filename().string(), prefix);
    if (owner > 0 && kill(owner, 0) != 0 && errno == ESRCH)
      unlink(it->path().c_str());
  }
}

bool writeAll(int fd, const std::string &bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0) {
      errno = n == 0 ? EIO : errno;
      return false;
    }
    done += size_t(n);
  }
  return true;
}

// Gives the finished file the target's permissions, or the usual ones for a new file.
void takePermissions(int fd, const std::string &path) {
  struct stat old;
  if (stat(path.c_str(), &old) == 0) {
    fchmod(fd, old.st_mode & 07777);
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
  }
}

// Writes, flushes and closes the temporary file (fd is closed either way). Empty on success,
// else the failed step with its reason.
std::string fillTemporary(int fd, const std::string &path, const std::string &bytes) {
  std::string failure;
  if (!writeAll(fd, bytes))
    failure = stepFailed("cannot write", errno);
  takePermissions(fd, path);
  if (failure.empty() && fsync(fd) != 0)
    failure = stepFailed("cannot flush to disk", errno);
  if (close(fd) != 0 && failure.empty())
    failure = stepFailed("cannot close", errno);
  return failure;
}

// Makes the rename itself durable. Empty on success.
std::string flushFolder(const std::string &folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  int error = fd < 0 ? errno : 0;
  if (fd >= 0 && fsync(fd) != 0)
    error = errno;
  if (fd >= 0)
    close(fd);
  return error == 0 ? std::string()
                    : stepFailed("saved, but the folder could not be flushed", error);
}

} // namespace

SaveResult writeFileAtomically(const std::string &path, const std::string &bytes,
                               std::string &reason) {
  const std::string folder = folderOf(path);
  removeStaleTemporaries(folder, baseOf(path));
  const std::string pattern = folder + "/" + temporaryPrefix(baseOf(path)) +
                              std::to_string(getpid()) + "-" + std::string(kUniqueSuffix, 'X');
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    reason = std::strerror(errno);
    return SaveResult::kNotCreated;
  }
  const std::string temp(name.data());
  reason = fillTemporary(fd, path, bytes);
  if (reason.empty() && rename(temp.c_str(), path.c_str()) != 0)
    reason = stepFailed("cannot replace the file", errno);
  if (!reason.empty()) {
    unlink(temp.c_str());
    return SaveResult::kFailed;
  }
  reason = flushFolder(folder);
  return reason.empty() ? SaveResult::kSaved : SaveResult::kFailed;
}
