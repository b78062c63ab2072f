// What the program remembers between runs, on the real main window with a settings file of the
// test's own.
#include "app/file_commands.h"
#include "app/model_window.h"
#include "app/settings.h"
#include "app/top_shell.h"
#include "scene/recording_ui.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

class SettingsTest : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  // One run of the program: a main window remembering through the settings file.
  std::unique_ptr<TopShell> start() {
    auto shell = std::make_unique<TopShell>(&ui);
    shell->useSettings(std::make_unique<Settings>(conf));
    shell->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(shell.get()));
    return shell;
  }
  QStringList recentMenu(TopShell &shell) {
    emit shell.recentFilesMenu()->aboutToShow();
    QStringList texts;
    for (QAction *action : shell.recentFilesMenu()->actions())
      texts << action->text();
    return texts;
  }
  QString path(const char *name) const { return dir.filePath(name); }
  QTemporaryDir dir;
  QString conf = dir.filePath("config/morvo/morvo.conf");
  RecordingUi ui;
};

// The scenes opened and saved come back newest first in the next run, with the ground plane
// as it was left; a recent file that is gone says so and leaves the list.
TEST_F(SettingsTest, RecentFilesAndTheGroundOutliveTheRun) {
  {
    auto shell = start();
    shell->runCommand(9733);
    for (const char *name : {"a.mvo", "b.mvo", "c.mvo"}) {
      ui.queueFile(path(name).toStdString());
      shell->runCommand(8453);
    }
    ui.queueFile(path("a.mvo").toStdString());
    shell->runCommand(8450); // opened again: first
    shell->runCommand(8962); // the ground plane off
    ASSERT_TRUE(shell->close());
  }
  auto shell = start();
  EXPECT_EQ(recentMenu(*shell), (QStringList{path("a.mvo"), path("c.mvo"), path("b.mvo")}));
  EXPECT_EQ(shell->modelWindow()->view().groundAndAxes & View::kGroundGrid, 0);
  QFile::remove(path("c.mvo"));
  shell->recentFilesMenu()->actions().at(1)->trigger();
  EXPECT_EQ(ui.messages.back(), "The file " + path("c.mvo").toStdString() +
                                    " no longer exists; it is taken off the recent files.");
  EXPECT_EQ(recentMenu(*shell), (QStringList{path("a.mvo"), path("b.mvo")}));
  shell->recentFilesMenu()->actions().at(1)->trigger();
  EXPECT_EQ(shell->fileName(), path("b.mvo"));
}

// A settings file that cannot be read, or a folder where it cannot be written, is one line on
// standard error; the program starts, runs on its defaults and quits.
TEST_F(SettingsTest, BadSettingsFilesNeverStopTheProgram) {
  QDir().mkpath(QFileInfo(conf).absolutePath());
  std::ofstream(conf.toStdString(), std::ios::binary) << "[view]\ngroundAndAxes=0\n\x01\x02[[[\n";
  std::ostringstream said;
  std::streambuf *standardError = std::cerr.rdbuf(said.rdbuf());
  {
    auto shell = start();
    EXPECT_NE(shell->modelWindow()->view().groundAndAxes, 0);
    EXPECT_TRUE(shell->close());
  }
  std::ofstream(path("file").toStdString()) << "a file, not a folder";
  conf = path("file/morvo.conf");
  {
    auto shell = start();
    EXPECT_TRUE(shell->close());
  }
  std::cerr.rdbuf(standardError);
  const std::string lines = said.str();
  EXPECT_NE(lines.find("cannot be read; this session starts from the defaults"), std::string::npos)
      << lines;
  EXPECT_NE(lines.find("the settings could not be written to"), std::string::npos) << lines;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2) << lines;
}

} // namespace
