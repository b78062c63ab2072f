#include "fileio/recovery_copies.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>

namespace {

const char *const kSuffix = ".mvo";

// Whether a process of that id runs (or exists under another user, which kill cannot signal).
// A process killed a moment ago may linger as a zombie until its parent reaps it: it runs no
// more.
bool processRuns(int64_t id) {
  if (id <= 0 || id > INT32_MAX || (kill(pid_t(id), 0) != 0 && errno != EPERM))
    return false;
  std::ifstream stat("/proc/" + std::to_string(id) + "/stat");
  std::string line;
  if (!std::getline(stat, line))
    return true;
  const size_t name = line.rfind(')'); // the state follows the parenthesised command name
  return name == std::string::npos || line.compare(name, 3, ") Z") != 0;
}

// "<name>.<digits>.mvo" split into name and process id; false for any other file name.
bool parseName(const std::string &file, std::string &sceneName, int64_t &processId) {
  const size_t suffix = std::string(kSuffix).size();
  if (file.size() <= suffix || file.compare(file.size() - suffix, suffix, kSuffix) != 0)
    return false;
  const std::string stem = file.substr(0, file.size() - suffix);
  const size_t dot = stem.rfind('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 == stem.size() || stem.size() - dot > 11)
    return false;
  processId = 0;
  for (size_t i = dot + 1; i < stem.size(); ++i) {
    if (stem[i] < '0' || stem[i] > '9')
      return false;
    processId = processId * 10 + (stem[i] - '0');
  }
  sceneName = stem.substr(0, dot);
  return true;
}

} // namespace

std::string recoveryFolder() {
  if (const char *state = std::getenv("XDG_STATE_HOME"); state && *state == '/')
    return std::string(state) + "/morvo/recovery";
  if (const char *home = std::getenv("HOME"); home && *home)
    return std::string(home) + "/.local/state/morvo/recovery";
  return {};
}

std::string recoveryFileName(const std::string &sceneName, int64_t processId) {
  return sceneName + "." + std::to_string(processId) + kSuffix;
}

std::vector<RecoveryCopy> orphanedRecoveryCopies(const std::string &folder) {
  std::vector<RecoveryCopy> copies;
  std::error_code error;
  for (const auto &entry : std::filesystem::directory_iterator(folder, error)) {
    RecoveryCopy copy;
    if (!entry.is_regular_file(error) ||
        !parseName(entry.path().filename().string(), copy.sceneName, copy.processId) ||
        copy.processId == int64_t(getpid()) || processRuns(copy.processId))
      continue;
    struct stat info;
    copy.path = entry.path().string();
    copy.written = stat(copy.path.c_str(), &info) == 0 ? info.st_mtime : 0;
    copies.push_back(copy);
  }
  std::sort(copies.begin(), copies.end(),
            [](const RecoveryCopy &a, const RecoveryCopy &b) { return a.written < b.written; });
  return copies;
}
