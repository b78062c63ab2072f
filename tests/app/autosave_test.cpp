// Recovery copies on the real main window: when they are written and removed, what a failed
// write leaves, and the recovery of copies a crash left behind.
#include "app/autosave.h"
#include "app/file_commands.h"
#include "app/model_window.h"
#include "app/settings.h"
#include "app/top_shell.h"
#include "fileio/read_file.h"
#include "ops/operation_ids.h"
#include "scene/recording_ui.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

// Writes to regular files fail with this error number while it is set: a full disk for the
// recovery copy (the window's own sockets are not regular files).
static int failFileWritesWith = 0;

extern "C" ssize_t __real_write(int fd, const void *data, size_t size);
extern "C" ssize_t __wrap_write(int fd, const void *data, size_t size) {
  struct stat st;
  if (failFileWritesWith != 0 && fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    errno = failFileWritesWith;
    return -1;
  }
  return __real_write(fd, data, size);
}

namespace {

namespace fs = std::filesystem;

std::string bytesOf(const std::string &path) {
  std::string bytes, error;
  return readWholeFile(path, bytes, error) ? bytes : std::string();
}

class AutosaveTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    folder = dir.filePath("recovery").toStdString();
    shell = std::make_unique<TopShell>(&ui);
    shell->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(shell.get()));
    shell->startAutosave(folder);
    autosave().setTimes(std::chrono::minutes(10), std::chrono::milliseconds(50));
  }
  void TearDown() override { failFileWritesWith = 0; }
  Autosave &autosave() { return *shell->autosave(); }
  std::string path(const char *name) const { return dir.filePath(name).toStdString(); }
  // Waits at most five seconds for the condition.
  template <class Condition> bool waitFor(Condition condition) {
    QElapsedTimer waited;
    waited.start();
    while (!condition() && waited.elapsed() < 5000)
      QTest::qWait(10);
    return condition();
  }
  // The folder's file names.
  std::vector<std::string> files() const {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto &entry : fs::directory_iterator(folder, ignored))
      names.push_back(entry.path().filename().string());
    return names;
  }
  QTemporaryDir dir;
  std::string folder;
  RecordingUi ui;
  std::unique_ptr<TopShell> shell;
};

// A change is copied once it has waited; the copy is the scene file Save writes, and it is named
// after the scene and this process. Nothing is written while a drag runs; Save removes the copy
// and leaves the user's file alone.
TEST_F(AutosaveTest, ChangesAreCopiedAfterAPauseAndSaveRemovesTheCopy) {
  shell->runCommand(9733); // a cube
  ASSERT_TRUE(waitFor([&] { return !autosave().copyPath().empty(); }));
  const std::string copy = autosave().copyPath();
  EXPECT_EQ(fs::path(copy).filename().string(), "untitled." + std::to_string(getpid()) + ".mvo");
  const std::string copied = bytesOf(copy);

  shell->commands().run("select-all-objects");
  InteractionController &controller = shell->modelWindow()->controller();
  shell->modelWindow()->makeCurrent();
  controller.startOperation(kOpMoveAxis, 0);
  QTest::mouseMove(shell->modelWindow(), {360, 243});
  QTest::mouseMove(shell->modelWindow(), {400, 243});
  QTest::qWait(300);
  EXPECT_EQ(bytesOf(copy), copied); // the drag is not copied halfway
  shell->modelWindow()->cancelDrag();

  ui.queueFile(path("cube.mvo"));
  shell->runCommand(8453);
  ASSERT_TRUE(fs::exists(path("cube.mvo")));
  EXPECT_EQ(bytesOf(path("cube.mvo")), copied);
  ASSERT_TRUE(waitFor([&] { return !fs::exists(copy); }));
  EXPECT_TRUE(autosave().copyPath().empty());

  shell->runCommand(9736);
  ASSERT_TRUE(waitFor([&] { return !autosave().copyPath().empty(); }));
  EXPECT_EQ(fs::path(autosave().copyPath()).filename().string(),
            "cube." + std::to_string(getpid()) + ".mvo");
  EXPECT_NE(bytesOf(path("cube.mvo")), bytesOf(autosave().copyPath()));
  autosave().quitCleanly();
  EXPECT_TRUE(files().empty());
}

// A copy that cannot be written is one line on standard error: the previous copy stays as it
// was, no temporary file is left and the program goes on.
TEST_F(AutosaveTest, AFailedCopyKeepsThePreviousOneAndSaysSo) {
  shell->runCommand(9733);
  ASSERT_TRUE(waitFor([&] { return !autosave().copyPath().empty(); }));
  const std::string copy = autosave().copyPath();
  const std::string before = bytesOf(copy);
  std::ostringstream said;
  std::streambuf *standardError = std::cerr.rdbuf(said.rdbuf());
  failFileWritesWith = ENOSPC;
  shell->runCommand(9736);
  const bool told = waitFor([&] { return !said.str().empty(); });
  QTest::qWait(300); // the disk stays full: no try after every tick
  failFileWritesWith = 0;
  std::cerr.rdbuf(standardError);
  ASSERT_TRUE(told);
  const std::string line = said.str();
  EXPECT_EQ(line.find("morvo: could not write the recovery copy "), 0u) << line;
  EXPECT_NE(line.find("No space left on device"), std::string::npos) << line;
  EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1);
  EXPECT_EQ(bytesOf(copy), before);
  EXPECT_EQ(files(), std::vector<std::string>{fs::path(copy).filename().string()});
  EXPECT_EQ(shell->scene().objects.objectCount(), 2);
}

// Edit > Autosave > Off writes no copies and takes the one on disk away; the choice is kept.
TEST_F(AutosaveTest, AutosaveOffWritesNoCopies) {
  shell->runCommand(9733);
  ASSERT_TRUE(waitFor([&] { return !autosave().copyPath().empty(); }));
  const std::string copy = autosave().copyPath();
  QAction *off = nullptr;
  for (QAction *action : shell->menuBar()->findChildren<QAction *>())
    if (action->text() == "Off")
      off = action;
  ASSERT_NE(off, nullptr);
  off->trigger();
  EXPECT_FALSE(fs::exists(copy));
  autosave().setTimes(std::chrono::minutes(10), std::chrono::milliseconds(50));
  shell->runCommand(9736);
  QTest::qWait(300);
  EXPECT_TRUE(files().empty());
  EXPECT_EQ(shell->settings().autosaveMinutes(), 0);
}

// Copies whose program has ended are offered at the start, oldest first: Later keeps one,
// Discard deletes one, Recover opens it as an unsaved scene that Save as offers under its old
// name, and it becomes this program's own copy.
TEST_F(AutosaveTest, OrphanedCopiesAreRecoveredDiscardedOrKept) {
  shell->runCommand(9733);
  shell->runCommand(9736);
  ui.queueFile(path("house.mvo"));
  shell->runCommand(8453);
  const std::string house = bytesOf(path("house.mvo"));
  shell->runCommand(8449); // New: nothing unsaved, nothing asked
  fs::create_directories(folder);
  // No process has an id this large; the three copies differ in age.
  const std::string later = folder + "/later.2147483601.mvo",
                    discard = folder + "/gone.2147483602.mvo",
                    recover = folder + "/house.2147483603.mvo";
  for (const std::string &orphan : {later, discard, recover})
    std::ofstream(orphan, std::ios::binary) << house;
  const auto now = fs::file_time_type::clock::now();
  fs::last_write_time(later, now - std::chrono::hours(3));
  fs::last_write_time(discard, now - std::chrono::hours(2));
  fs::last_write_time(recover, now - std::chrono::hours(1));
  std::ofstream(folder + "/notes.txt") << "not a copy";

  ui.queueAnswer(UserInterface::Answer::Cancel); // Later
  ui.queueAnswer(UserInterface::Answer::No);     // Discard
  ui.queueAnswer(UserInterface::Answer::Yes);    // Recover
  const size_t asked = ui.questions.size();
  shell->offerRecovery();
  ASSERT_EQ(ui.questions.size(), asked + 3);
  EXPECT_EQ(ui.questions[asked].rfind("Morvo did not close properly. Recover the work from ", 0),
            0u);
  EXPECT_NE(ui.questions[asked].find(" (later)?"), std::string::npos) << ui.questions[asked];
  EXPECT_NE(ui.questions[asked + 2].find(" (house)?"), std::string::npos);

  EXPECT_TRUE(fs::exists(later));
  EXPECT_FALSE(fs::exists(discard));
  EXPECT_FALSE(fs::exists(recover));
  EXPECT_EQ(shell->scene().objects.objectCount(), 2);
  EXPECT_TRUE(shell->fileName().isEmpty());
  EXPECT_TRUE(shell->files().unsaved());
  EXPECT_EQ(bytesOf(autosave().copyPath()), house);
  EXPECT_EQ(fs::path(autosave().copyPath()).filename().string(),
            "house." + std::to_string(getpid()) + ".mvo");

  ui.queueFile(path("again.mvo"));
  shell->runCommand(8452); // Save asks for a name, offering the old one
  EXPECT_EQ(ui.fileRequests.back().initialName, "house.mvo");
  EXPECT_EQ(bytesOf(path("again.mvo")), house);
  EXPECT_TRUE(waitFor([&] { return autosave().copyPath().empty(); }));
}

// The program ended by SIGKILL: the work it had copied comes back, byte for byte. The first
// process is this test program again, running only the case below, which extrudes a face of a
// new cube, waits for its copy and then waits to be killed.
TEST_F(AutosaveTest, WorkOfAKilledProgramIsRecoveredByteForByte) {
  QProcess killed;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("MORVO_RECOVERY_TEST_FOLDER", QString::fromStdString(folder));
  killed.setProcessEnvironment(environment);
  killed.start(QCoreApplication::applicationFilePath(),
               {"--gtest_also_run_disabled_tests",
                "--gtest_filter=AutosaveTest.DISABLED_ExtrudeACubeThenWaitToBeKilled"});
  ASSERT_TRUE(killed.waitForStarted());
  ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(QString::fromStdString(folder) + "/done"); }))
      << killed.readAllStandardOutput().toStdString();
  fs::remove(folder + "/done");
  killed.kill(); // SIGKILL: nothing of the program runs after it
  ASSERT_TRUE(killed.waitForFinished());
  ASSERT_EQ(files().size(), 1u);
  const std::string copy = folder + "/" + files().front();
  const std::string copied = bytesOf(copy);
  ASSERT_FALSE(copied.empty());

  ui.queueAnswer(UserInterface::Answer::Yes);
  shell->offerRecovery();
  ASSERT_EQ(shell->scene().objects.objectCount(), 1);
  EXPECT_EQ(shell->scene().object(0)->faces.count(), 10); // the cube with one face extruded
  ui.queueFile(path("recovered.mvo"));
  shell->runCommand(8453);
  EXPECT_EQ(bytesOf(path("recovered.mvo")), copied);
}

// Run by the case above in a process of its own.
TEST_F(AutosaveTest, DISABLED_ExtrudeACubeThenWaitToBeKilled) {
  const QString shared = qEnvironmentVariable("MORVO_RECOVERY_TEST_FOLDER");
  ASSERT_FALSE(shared.isEmpty());
  shell->startAutosave(shared.toStdString());
  autosave().setTimes(std::chrono::minutes(10), std::chrono::milliseconds(50));
  shell->runCommand(9733);
  shell->scene().SetMode(moFACES);
  shell->scene().selection.Append({0, 0});
  InteractionController &controller = shell->modelWindow()->controller();
  shell->modelWindow()->makeCurrent();
  controller.startOperation(kOpExtrudeNormal, 0);
  ASSERT_TRUE(controller.dragRunning());
  const auto event = [&](PointerInput::Kind kind, int32_t x, Button button) {
    PointerInput in;
    in.kind = kind;
    in.x = x;
    in.y = 243;
    in.button = button;
    controller.pointer(in);
  };
  event(PointerInput::Move, 360, Button::None); // the first motion only records the position
  event(PointerInput::Move, 380, Button::None);
  event(PointerInput::Press, 380, Button::Left);
  event(PointerInput::Release, 380, Button::Left); // committed
  ASSERT_EQ(shell->scene().object(0)->faces.count(), 10);
  const uint64_t version = shell->scene().version();
  ASSERT_TRUE(waitFor([&] { return !autosave().copyPath().empty(); }));
  ASSERT_EQ(shell->scene().version(), version);
  std::ofstream((shared + "/done").toStdString()) << "copied";
  QTest::qWait(60000); // killed long before
}

} // namespace
