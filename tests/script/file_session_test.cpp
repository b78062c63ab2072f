// The file and paint commands run by name through the command layer, with no window: the file
// dialogs answered by the recording user interface, the paint on an offscreen context.
#include "script_fixture.h"

#include "offscreen/offscreen_context.h"
#include "paint/tools/paint_window_input.h"
#include "script/command_numbers.h"
#include "script/file_session.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

constexpr int32_t kWidth = 320, kHeight = 240;

PointerInput left(PointerInput::Kind kind, int32_t x, int32_t y) {
  PointerInput in;
  in.kind = kind;
  in.x = x;
  in.y = y;
  in.button = kind == PointerInput::Move ? Button::None : Button::Left;
  in.leftHeld = kind == PointerInput::Move;
  return in;
}

// The objects a scene or model file holds; -1 when it cannot be read.
int32_t objectsIn(const std::string &path) {
  RecordingUi ui;
  Scene scene(ui);
  FileSession files(scene, ui);
  std::string reason;
  const bool read = fs::path(path).extension() == ".mvo" ? files.openScene(path)
                                                         : files.readModel(path, false, reason);
  return read ? scene.objects.objectCount() : -1;
}

class FileSessionTest : public testing::Test {
protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(context.create(kWidth, kHeight, error)) << error;
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string path(const char *name) const { return (dir / name).string(); }
  std::vector<uint32_t> texels(int32_t slot) const {
    const ImageBuffer &image = world.scene.object(slot)->paintLayer->image;
    return {image.pixels(), image.pixels() + image.pixelCount()};
  }

  OffscreenContext context;
  // One folder per test: CTest runs the cases of this program side by side.
  fs::path dir =
      fs::temp_directory_path() /
      (std::string("morvo_files_") + testing::UnitTest::GetInstance()->current_test_info()->name());
  ScriptWorld world{kWidth, kHeight};
  FileSession files{world.scene, world.ui};
};

TEST_F(FileSessionTest, SaveAsAndExportWriteTheFilesTheDialogsName) {
  EXPECT_FALSE(world.layer.available(kCommandSaveAs)); // the file commands need a session
  EXPECT_FALSE(world.layer.run("save-as"));
  world.layer.setFiles(&files);
  world.layer.run("save-as");
  EXPECT_EQ(world.ui.messages.back(), "You have no objects to save");

  world.layer.run("add-cube");
  world.layer.run("add-torus");
  world.ui.queueFile(path("scene")); // the scene extension is added to a name without one
  ASSERT_TRUE(world.layer.run("save-as"));
  EXPECT_EQ(world.ui.fileRequests.back().title, "Select the filename to save");
  EXPECT_EQ(objectsIn(path("scene.mvo")), 2);
  EXPECT_EQ(files.fileName(), path("scene.mvo"));
  EXPECT_FALSE(files.unsaved());

  world.ui.queueFile(path("pair"), 3); // the Wavefront entry adds its extension
  ASSERT_TRUE(world.layer.run("export-all"));
  EXPECT_EQ(world.ui.fileRequests.back().title, "Select the filename for export");
  EXPECT_EQ(objectsIn(path("pair.obj")), 2);
  EXPECT_TRUE(fs::exists(path("pair.mtl")));
  EXPECT_EQ(files.fileName(), path("scene.mvo")); // an export names no scene file
}

TEST_F(FileSessionTest, PaintUndoUndoesTheStrokeOfTheActivePaintSession) {
  world.layer.run("add-cube");
  InteractionController controller(world.scene, world.view, world.ui);
  PaintWindowInput paint(world.scene, world.view, controller, world.ui);
  ASSERT_TRUE(paint.enter(kWidth, kHeight));
  paint.useFirstEntryTool();
  const std::vector<uint32_t> blank = texels(0);
  paint.pointer(left(PointerInput::Press, kWidth / 2 - 30, kHeight / 2));
  for (int32_t dx = -25; dx <= 30; dx += 5)
    paint.pointer(left(PointerInput::Move, kWidth / 2 + dx, kHeight / 2));
  paint.pointer(left(PointerInput::Release, kWidth / 2 + 30, kHeight / 2));
  const std::vector<uint32_t> painted = texels(0);
  ASSERT_NE(painted, blank);

  world.layer.run("paint-undo"); // Model work mode: no paint session, nothing happens
  EXPECT_EQ(texels(0), painted);
  world.layer.setPaint(&paint);
  EXPECT_TRUE(world.layer.run("paint-undo"));
  EXPECT_EQ(texels(0), blank);
  world.layer.run("paint-redo");
  EXPECT_EQ(texels(0), painted);
  world.layer.run("undo"); // in the paint work mode Undo undoes the paint, not the cube
  EXPECT_EQ(texels(0), blank);
  EXPECT_EQ(world.scene.objects.objectCount(), 1);
}

} // namespace
