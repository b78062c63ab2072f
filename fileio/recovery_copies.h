// Recovery copies of unsaved work: each running program keeps at most one scene file in the
// user's state folder, named "<scene name>.<process id>.mvo", so that the work since the last
// save survives a crash. A copy whose process no longer runs is an orphan, offered for recovery
// at the next start.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

struct RecoveryCopy {
  std::string path;
  std::string sceneName; // the scene's file name without folder and ".mvo" ("untitled" for none)
  int64_t processId = 0;
  std::time_t written = 0; // when the copy was last written
};

// $XDG_STATE_HOME/morvo/recovery, else $HOME/.local/state/morvo/recovery; empty when neither
// variable is set. The folder is not made here.
std::string recoveryFolder();
// The copy's file name for a scene name and a process.
std::string recoveryFileName(const std::string &sceneName, int64_t processId);
// The copies in folder whose process no longer runs (other than this one's), oldest first.
// Files of other names are left alone; a missing folder has none.
std::vector<RecoveryCopy> orphanedRecoveryCopies(const std::string &folder);
