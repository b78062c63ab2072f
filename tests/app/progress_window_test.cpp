// The progress dialog of long work under a display: it stays hidden for work that ends quickly,
// shows once work has gone on for half a second, and its Cancel button stops the work.
#include "app/progress_window.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QProgressDialog *dialogOf(QWidget &parent) { return parent.findChild<QProgressDialog *>(); }

TEST(ProgressWindowTest, ShowsAfterHalfASecondAndCancelStopsTheWork) {
  QWidget parent;
  parent.show();
  ProgressWindow progress(&parent);
  progress.begin("Quick", 10);
  for (int i = 1; i <= 10; ++i)
    EXPECT_TRUE(progress.step(i));
  EXPECT_FALSE(dialogOf(parent)->isVisible());
  progress.end();
  EXPECT_EQ(dialogOf(parent), nullptr);

  progress.begin("Slow", 10);
  EXPECT_TRUE(progress.step(1));
  QTest::qWait(600);
  EXPECT_TRUE(progress.step(2));
  QProgressDialog *dialog = dialogOf(parent);
  ASSERT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->labelText(), QStringLiteral("Slow"));
  QPushButton *cancel = dialog->findChild<QPushButton *>();
  ASSERT_NE(cancel, nullptr);
  QTest::mouseClick(cancel, Qt::LeftButton);
  EXPECT_FALSE(progress.step(3));
  progress.end();
}

} // namespace

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  if (testing::GTEST_FLAG(list_tests))
    return RUN_ALL_TESTS(); // listing needs no display
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
