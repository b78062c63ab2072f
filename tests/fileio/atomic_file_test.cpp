#include "fileio/atomic_file.h"
#include "fileio/read_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// Failures injected into the file code: when set, the next write to a file, or the next flush of
// a folder, fails with this error number.
static int failWriteWith = 0;
static int failFolderFlushWith = 0;

extern "C" ssize_t __real_write(int fd, const void *data, size_t size);
extern "C" int __real_fsync(int fd);

extern "C" ssize_t __wrap_write(int fd, const void *data, size_t size) {
  if (failWriteWith != 0) {
    errno = failWriteWith;
    return -1;
  }
  return __real_write(fd, data, size);
}

extern "C" int __wrap_fsync(int fd) {
  struct stat st;
  if (failFolderFlushWith != 0 && fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    errno = failFolderFlushWith;
    return -1;
  }
  return __real_fsync(fd);
}

namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public testing::Test {
protected:
  void SetUp() override {
    // One folder per test: CTest runs the cases in parallel.
    dir = fs::temp_directory_path() /
          ("morvo_atomic_file_" +
           std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    target = (dir / "scene.mvo").string();
    ASSERT_EQ(writeFileAtomically(target, "old", reason), SaveResult::kSaved) << reason;
  }
  void TearDown() override {
    failWriteWith = failFolderFlushWith = 0;
    fs::remove_all(dir);
  }
  std::string content() {
    std::string bytes, error;
    EXPECT_TRUE(readWholeFile(target, bytes, error)) << error;
    return bytes;
  }
  std::vector<std::string> names() {
    std::vector<std::string> out;
    for (const auto &entry : fs::directory_iterator(dir))
      out.push_back(entry.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
  }
  fs::path dir;
  std::string target, reason;
};

TEST_F(AtomicFileTest, AFullDiskGivesTheReasonAndKeepsTheOldFile) {
  failWriteWith = ENOSPC;
  EXPECT_EQ(writeFileAtomically(target, "new", reason), SaveResult::kFailed);
  EXPECT_EQ(reason, "cannot write: No space left on device");
  failWriteWith = 0;
  EXPECT_EQ(content(), "old");
  EXPECT_EQ(names(), std::vector<std::string>{"scene.mvo"});
}

TEST_F(AtomicFileTest, AFolderThatCannotBeFlushedIsReported) {
  failFolderFlushWith = EIO;
  EXPECT_EQ(writeFileAtomically(target, "new", reason), SaveResult::kFailed);
  EXPECT_NE(reason.find("Input/output error"), std::string::npos) << reason;
  EXPECT_EQ(content(), "new"); // renamed already: the content is there, its durability is not
}

TEST_F(AtomicFileTest, NoFileBesideTheTargetMeansNothingIsWritten) {
  const std::string nowhere = (dir / "missing" / "x.mvo").string();
  EXPECT_EQ(writeFileAtomically(nowhere, "new", reason), SaveResult::kNotCreated);
  EXPECT_EQ(reason, "No such file or directory");
  EXPECT_FALSE(fs::exists(nowhere));
}

TEST_F(AtomicFileTest, TemporariesOfEndedSavesOfTheTargetAreRemoved) {
  const pid_t child = fork();
  if (child == 0)
    _exit(0);
  ASSERT_GT(child, 0);
  waitpid(child, nullptr, 0); // its process id now names no running process
  const std::string dead = std::to_string(child), alive = std::to_string(getpid());
  const std::vector<std::string> kept = {".other.mvo.morvo-" + dead + "-abcdef",
                                         ".scene.mvo.morvo-" + alive + "-abcdef",
                                         ".scene.mvo.morvo-" + dead + "-toolong", "notes.txt"};
  for (const std::string &name : kept)
    std::ofstream(dir / name) << "x";
  std::ofstream(dir / (".scene.mvo.morvo-" + dead + "-Ab12Cd")) << "left by a killed save";
  ASSERT_EQ(writeFileAtomically(target, "new", reason), SaveResult::kSaved) << reason;
  std::vector<std::string> expected = kept;
  expected.push_back("scene.mvo");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names(), expected);
}

} // namespace
