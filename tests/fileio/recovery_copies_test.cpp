#include "fileio/recovery_copies.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Copies of ended programs are found by their names, oldest first; copies of running programs
// (this one included) and other files are left alone; a program killed a moment ago that its
// parent has not reaped yet counts as ended.
TEST(RecoveryCopies, OnlyCopiesOfEndedProgramsAreOrphans) {
  const fs::path dir = fs::temp_directory_path() / ("morvo_recovery_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const pid_t running = fork();
  if (running == 0) {
    pause();
    _exit(0);
  }
  const pid_t zombie = fork();
  if (zombie == 0)
    _exit(0);
  while (true) { // the zombie is there once waitid sees it exited, without reaping it
    siginfo_t info{};
    if (waitid(P_PID, id_t(zombie), &info, WEXITED | WNOWAIT) == 0)
      break;
  }
  const auto put = [&](const std::string &name, int hoursAgo) {
    std::ofstream(dir / name) << "x";
    fs::last_write_time(dir / name,
                        fs::file_time_type::clock::now() - std::chrono::hours(hoursAgo));
  };
  put(recoveryFileName("house.v2", 2147483600), 1);
  put(recoveryFileName("untitled", zombie), 2);
  put(recoveryFileName("mine", getpid()), 3);
  put(recoveryFileName("busy", running), 4);
  for (const char *other : {"notes.txt", "plain.mvo", "odd.12a.mvo", ".7.mvo", "x.99999999999.mvo"})
    put(other, 5);

  const std::vector<RecoveryCopy> copies = orphanedRecoveryCopies(dir.string());
  ASSERT_EQ(copies.size(), 2u);
  EXPECT_EQ(copies[0].sceneName, "untitled");
  EXPECT_EQ(copies[0].processId, zombie);
  EXPECT_EQ(copies[1].sceneName, "house.v2");
  EXPECT_EQ(copies[1].path, (dir / "house.v2.2147483600.mvo").string());
  EXPECT_GT(copies[1].written, copies[0].written);
  EXPECT_TRUE(orphanedRecoveryCopies((dir / "missing").string()).empty());

  kill(running, SIGKILL);
  waitpid(running, nullptr, 0);
  waitpid(zombie, nullptr, 0);
  fs::remove_all(dir);
}

TEST(RecoveryCopies, TheFolderFollowsTheStateHome) {
  const char *state = std::getenv("XDG_STATE_HOME");
  const std::string kept = state ? state : "",
                    home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("XDG_STATE_HOME", "/var/state", 1);
  EXPECT_EQ(recoveryFolder(), "/var/state/morvo/recovery");
  setenv("XDG_STATE_HOME", "relative", 1); // not an absolute path: ignored
  setenv("HOME", "/home/u", 1);
  EXPECT_EQ(recoveryFolder(), "/home/u/.local/state/morvo/recovery");
  setenv("HOME", home.c_str(), 1);
  if (state)
    setenv("XDG_STATE_HOME", kept.c_str(), 1);
  else
    unsetenv("XDG_STATE_HOME");
}

} // namespace
