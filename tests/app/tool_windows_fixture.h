// The main window with a recording user interface, for the tests of the tool bars and the
// floating tool windows.
#pragma once

#include "app/model_window.h"
#include "app/top_shell.h"
#include "scene/recording_ui.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <gtest/gtest.h>

class ToolWindowsTest : public testing::Test {
protected:
  void SetUp() override {
    shell = std::make_unique<TopShell>(&ui);
    shell->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(shell.get()));
  }
  // Rests the pointer on a control: the tool-tip request the window system sends.
  void restOn(QWidget *control) {
    const QPoint at(2, 2);
    QHelpEvent tip(QEvent::ToolTip, at, control->mapToGlobal(at));
    QApplication::sendEvent(control, &tip);
  }
  void addCubes(int count) {
    for (int i = 0; i < count; ++i)
      shell->runCommand(9733);
  }

  RecordingUi ui;
  std::unique_ptr<TopShell> shell;
};

// Whether a grabbed picture shows something: several colours, and no single colour covering
// nearly all of it.
bool showsSomething(const QImage &image);
