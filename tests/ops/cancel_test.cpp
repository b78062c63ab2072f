// Long work reports its progress and can be stopped: Smooth, Plane Cut, imports and exports then
// leave the scene exactly as it was, and write nothing.
#include "interchange/model_exchange.h"
#include "ops/plane_cut.h"
#include "ops/smooth.h"
#include "scene/progress_task.h"
#include "tests/ops/ops_fixture.h"

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

TEST(ProgressTaskTest, TellsTheInterfaceEveryThousandthAndThrowsWhenStopped) {
  RecordingUi ui;
  {
    ProgressTask task(ui, "Work", 100000);
    for (int i = 0; i < 100000; ++i)
      task.advance();
    EXPECT_EQ(ui.progressReports, 1001); // the first step reports 0, then each thousandth
    EXPECT_EQ(ui.openProgressTasks, 1);
  }
  EXPECT_EQ(ui.openProgressTasks, 0);
  ui.cancelProgressAfter(2);
  ProgressTask task(ui, "Stopped", 3);
  task.advance();
  task.advance();
  EXPECT_THROW(task.advance(), moCancelledException);
  EXPECT_EQ(ui.progressLabels, (std::vector<std::string>{"Work", "Stopped"}));
}

class Cancel : public OpsTest {
protected:
  void SetUp() override {
    for (int i = 0; i < 3; ++i)
      scene.createPrimitive(i == 1 ? PrimitiveType::Sphere : PrimitiveType::Cube);
    selectObjects({0, 1, 2});
    before = snapshot();
  }
  std::vector<std::shared_ptr<moObject>> before;
};

TEST_F(Cancel, SmoothAndPlaneCutStoppedLeaveTheSceneAndSelectionAsTheyWere) {
  for (const auto &run : {std::function<bool()>([&] { return smooth(scene); }),
                          std::function<bool()>([&] { return planeCut(scene, 0); })}) {
    ui.cancelProgressAfter(1); // after the first object
    EXPECT_FALSE(run());
    EXPECT_EQ(differenceFrom(before), "");
    EXPECT_EQ(scene.selection.Count(), 3);
    EXPECT_TRUE(ui.messages.empty()); // stopping is no failure
    EXPECT_EQ(ui.openProgressTasks, 0);
  }
  EXPECT_EQ(ui.progressLabels, (std::vector<std::string>{"Smoothing", "Cutting"}));
  ASSERT_TRUE(smooth(scene)); // left alone, it runs through
  EXPECT_NE(differenceFrom(before), "");
}

TEST_F(Cancel, StoppedImportsAddNothingAndStoppedExportsWriteNothing) {
  const fs::path dir = fs::temp_directory_path() / "morvo_cancel_test";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const FormatRegistry registry;
  std::ostringstream diag;
  for (const char *name : {"model.glb", "model.obj"}) {
    const std::string path = (dir / name).string();
    ui.cancelProgressAfter(1);
    EXPECT_FALSE(exportModel(scene, registry, path, true, diag));
    EXPECT_EQ(ui.status, "Export cancelled");
    EXPECT_FALSE(fs::exists(path)) << name;
    ASSERT_TRUE(exportModel(scene, registry, path, true, diag)) << name;
    for (int reports : {0, 2}) { // while reading, and after the first object is made
      ui.cancelProgressAfter(reports);
      EXPECT_FALSE(importModel(scene, registry, path, false, diag)) << name;
      EXPECT_EQ(ui.status, "Import cancelled");
      EXPECT_EQ(differenceFrom(before), "") << name;
    }
  }
  EXPECT_EQ(ui.openProgressTasks, 0);
  fs::remove_all(dir);
}

} // namespace
