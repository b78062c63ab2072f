// Sessions of commands and picks through the real controller on an offscreen context, recorded
// and played back into fresh scenes.
#include "drawing_world.h"

#include "offscreen/offscreen_context.h"
#include "scene/scene_file.h"
#include "script/scripted_controller.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

// Extrude > Normal on the selection, dragged 30 pixels.
void dragExtrude(ScriptedController &c) {
  c.choose({MenuCommand::Kind::Operation, kOpExtrudeNormal, 0});
  c.pointer(at(PointerInput::Move, kCentreX, kCentreY));
  c.pointer(at(PointerInput::Move, kCentreX + 30, kCentreY));
}

class ScriptedControllerTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    context_ = std::make_unique<OffscreenContext>();
    std::string error;
    if (!context_->create(1440, kHeight, error))
      FAIL() << error;
  }
  static void TearDownTestSuite() { context_.reset(); }

  // Plays a recorded script to its end in a fresh world of the given width.
  static void playAll(DrawingWorld &world, const std::string &path) {
    ASSERT_TRUE(world.player.Load(path));
    world.rebuild();
    while (world.player.Step() == ScriptPlayer::StepResult::Stepped)
      world.rebuild();
  }
  // Starts recording into path and adds a cube.
  bool recordNewCube(DrawingWorld &live) {
    if (!live.layer.beginRecording(path))
      return false;
    live.layer.run("add-cube");
    live.rebuild();
    return true;
  }
  static std::string sceneBytes(Scene &scene) {
    std::string bytes;
    writeScene(scene, bytes, false);
    return bytes;
  }
  // One file per test: CTest runs the cases of this program side by side.
  std::string path = (std::filesystem::temp_directory_path() /
                      (std::string("morvo_session_") +
                       testing::UnitTest::GetInstance()->current_test_info()->name() + ".mvs"))
                         .string();
  static std::unique_ptr<OffscreenContext> context_;
};
std::unique_ptr<OffscreenContext> ScriptedControllerTest::context_;

// Click a face of a new cube, choose Move > Normal, drag 50 pixels with Shift held for the
// second half, and commit: the played scene is the recorded one, selection included.
TEST_F(ScriptedControllerTest, ClickAndDragSessionPlaysBackIntoTheSameScene) {
  DrawingWorld live;
  ASSERT_TRUE(recordNewCube(live));
  ScriptedController &c = live.input;
  clickCubeFace(c);
  ASSERT_EQ(live.scene.selection.Count(), 1);
  c.choose({MenuCommand::Kind::Operation, kOpMoveNormal, 0});
  ASSERT_EQ(live.controller.mode(), InteractionController::DragMode);
  c.pointer(at(PointerInput::Move, kCentreX, kCentreY));
  c.pointer(at(PointerInput::Move, kCentreX + 23, kCentreY));
  c.key({KeyInput::Shift, true});
  c.pointer(at(PointerInput::Move, kCentreX + 47, kCentreY));
  c.key({KeyInput::Shift, false});
  leftClick(c, kCentreX + 47, kCentreY);
  ASSERT_EQ(live.controller.mode(), InteractionController::SelectMode);
  live.layer.endRecording();

  DrawingWorld played;
  playAll(played, path);
  EXPECT_EQ(played.host.messages.back(), "Finished\r\n");
  ASSERT_EQ(played.scene.selection.Count(), 1);
  EXPECT_EQ(played.scene.selection.Get(0), live.scene.selection.Get(0));
  EXPECT_EQ(played.scene.mode, moFACES);
  EXPECT_EQ(played.controller.operationId, kOpMoveNormal);
  EXPECT_EQ(sceneBytes(played.scene), sceneBytes(live.scene));

  // Played in a view twice as wide the clicks land at doubled x, the drag is the same.
  DrawingWorld wide(2 * kWidth);
  playAll(wide, path);
  EXPECT_EQ(sceneBytes(wide.scene), sceneBytes(live.scene));
  std::filesystem::remove(path);
}

// A click right after a jump of the pointer acts on the face under it (the first motion after
// a click only records its position, so no hover pick saw the new face), and Escape cancels a
// drag as a right click does; the script plays back into the same scene and selection.
TEST_F(ScriptedControllerTest, PressesPickWhereTheyAreAndEscapeCancelsADrag) {
  DrawingWorld live;
  ASSERT_TRUE(recordNewCube(live));
  ScriptedController &c = live.input;
  const int32_t otherFaceX = kCentreX + 52;
  clickCubeFace(c);
  c.pointer(at(PointerInput::Move, otherFaceX, kCentreY)); // one jump
  leftClick(c, otherFaceX, kCentreY);
  ASSERT_EQ(live.scene.selection.Count(), 2);
  EXPECT_NE(live.scene.selection.Get(0), live.scene.selection.Get(1));
  const moObject before = *live.scene.object(0);

  dragExtrude(c);
  ASSERT_EQ(live.controller.mode(), InteractionController::DragMode);
  EXPECT_EQ(c.cancelDrag().menu, MenuKind::None);
  EXPECT_EQ(live.controller.mode(), InteractionController::SelectMode);
  EXPECT_EQ(meshDifference(before, *live.scene.object(0)), "");
  live.layer.endRecording();

  DrawingWorld played;
  playAll(played, path);
  ASSERT_EQ(played.scene.selection.Count(), 2);
  EXPECT_EQ(played.scene.selection.Get(0), live.scene.selection.Get(0));
  EXPECT_EQ(played.scene.selection.Get(1), live.scene.selection.Get(1));
  EXPECT_EQ(sceneBytes(played.scene), sceneBytes(live.scene));
  std::filesystem::remove(path);
}

// The user's Undo keeps the element mode and the selected elements that exist after it (the
// faces an extrude made are gone); the Undo script command still resets both. A recording of
// the user's Undo plays back into the same selection.
TEST_F(ScriptedControllerTest, UndoKeepsTheModeAndTheElementsThatStillExist) {
  DrawingWorld live;
  ASSERT_TRUE(recordNewCube(live));
  ScriptedController &c = live.input;
  clickCubeFace(c);
  dragExtrude(c);
  leftClick(c, kCentreX + 30, kCentreY);
  ASSERT_EQ(live.scene.selection.Count(), 1);
  const ElementRef extruded = live.scene.selection.Get(0);
  live.layer.run("grow-selection"); // the extruded face and the four new sides
  ASSERT_EQ(live.scene.selection.Count(), 5);
  live.layer.run("undo");
  EXPECT_EQ(live.scene.mode, moFACES);
  EXPECT_EQ(live.view.renderer.pickKind(), moFACES);
  ASSERT_EQ(live.scene.selection.Count(), 1);
  EXPECT_EQ(live.scene.selection.Get(0), extruded);
  live.layer.endRecording();

  DrawingWorld played;
  playAll(played, path);
  EXPECT_EQ(played.scene.mode, moFACES);
  ASSERT_EQ(played.scene.selection.Count(), 1);
  EXPECT_EQ(played.scene.selection.Get(0), extruded);
  EXPECT_EQ(sceneBytes(played.scene), sceneBytes(live.scene));
  std::filesystem::remove(path);

  played.layer.execute(33);
  EXPECT_EQ(played.scene.mode, moFREE);
  EXPECT_TRUE(played.scene.selection.Empty());
}

TEST_F(ScriptedControllerTest, RecordsStepMarkersTitlesAndDragKinds) {
  DrawingWorld live;
  ASSERT_TRUE(live.layer.beginRecording(path));
  live.layer.run("add-cube");
  live.layer.run("select-all-objects");
  live.input.choose({MenuCommand::Kind::Operation, kOpMoveAxis, 1});
  live.input.pointer(at(PointerInput::Press, kCentreX, kCentreY, Button::Right)); // cancel
  live.input.key({KeyInput::RepeatLast, true});                                   // Move Y again
  live.layer.endRecording();
  std::string bytes, error;
  ASSERT_TRUE(readScriptFile(path, bytes, error));
  ScriptReader reader(bytes);
  int32_t w, h;
  reader.readHeader(w, h);
  std::vector<std::string> seen;
  ScriptCommand command;
  while (reader.next(command) == ScriptReader::Status::Command)
    seen.push_back(std::to_string(command.code) +
                   (command.lines.empty() ? "" : " " + command.lines.front()));
  EXPECT_EQ(seen, (std::vector<std::string>{"35", "37", "63", "10", "113 Move axis", "1", "112",
                                            "63", "10", "113 Move axis", "113 Finished"}));
  std::filesystem::remove(path);
}

// Per-face chip-off drags one new object per face away; crease angle and hardness change the
// edges at once. None of them becomes the operation repeat-last runs, and the session plays
// back into the same scene.
TEST_F(ScriptedControllerTest, PerFaceChipOffAndEdgeHardnessRunAndPlayBack) {
  DrawingWorld live;
  ASSERT_TRUE(live.layer.beginRecording(path));
  live.layer.run("add-cube");
  live.rebuild();
  ASSERT_TRUE(live.layer.execute(37, {moOBJECTS}));
  ASSERT_TRUE(live.layer.execute(37, {moFACES}));
  ASSERT_EQ(live.scene.selection.Count(), 6);
  ASSERT_TRUE(live.layer.execute(59));
  ASSERT_EQ(live.controller.mode(), InteractionController::DragMode);
  EXPECT_EQ(live.controller.dragKind, kDragMoveNormal);
  ScriptedController &c = live.input;
  c.pointer(at(PointerInput::Move, kCentreX, kCentreY));
  c.pointer(at(PointerInput::Move, kCentreX + 30, kCentreY));
  leftClick(c, kCentreX + 30, kCentreY);
  ASSERT_EQ(live.controller.mode(), InteractionController::SelectMode);
  int32_t objects = 0;
  for (int32_t slot = 0; slot < 8; ++slot)
    objects += live.scene.object(slot) != nullptr;
  EXPECT_EQ(objects, 7);
  ASSERT_NE(live.scene.object(1), nullptr);
  EXPECT_EQ(live.scene.object(1)->name, "chipoff1");
  int32_t faces = 0;
  for (const moFace &f : live.scene.object(1)->faces)
    faces += f.active();
  EXPECT_EQ(faces, 2); // the copied face and the one closing its hole
  EXPECT_EQ(live.controller.operationId, kOpNone);

  ASSERT_TRUE(live.layer.execute(37, {moOBJECTS}));
  ASSERT_TRUE(live.layer.execute(123, {60}));
  int32_t hard = 0;
  for (const moEdge &e : live.scene.object(0)->edges)
    hard += e.hard;
  EXPECT_EQ(hard, 12);
  ASSERT_TRUE(live.layer.execute(122, {0}));
  for (const moEdge &e : live.scene.object(0)->edges)
    EXPECT_EQ(e.hard, 0);
  ASSERT_TRUE(live.layer.execute(122, {1}));
  EXPECT_EQ(live.controller.operationId, kOpNone);
  live.layer.endRecording();

  DrawingWorld played;
  playAll(played, path);
  EXPECT_EQ(played.host.messages.back(), "Finished\r\n");
  EXPECT_EQ(sceneBytes(played.scene), sceneBytes(live.scene));
  std::filesystem::remove(path);
}

// The wheel and the spin timer reach the controller through the command layer and leave their
// reactions for the window. A recording keeps the gesture that starts a spin as pointer events,
// which play back into the spin's first turn, and nothing of the wheel or the ticks.
TEST_F(ScriptedControllerTest, WheelTurnsAndSpinTicksGoThroughTheCommandLayer) {
  DrawingWorld live;
  ASSERT_TRUE(live.layer.beginRecording(path));
  ScriptedController &c = live.input;
  const auto middle = [&](PointerInput::Kind kind, int32_t x) {
    PointerInput in = at(kind, x, kCentreY, Button::Middle);
    in.middleHeld = kind == PointerInput::Move;
    return c.pointer(in);
  };
  middle(PointerInput::Press, 300); // a middle click enters the camera mode
  middle(PointerInput::Release, 300);
  middle(PointerInput::Press, 300); // the spin gesture: 20 pixels a move to the right
  middle(PointerInput::Move, 320);
  middle(PointerInput::Move, 340);
  ASSERT_TRUE(middle(PointerInput::Release, 340).startSpinTimer);
  const float turned = live.view.camera.azimuth, distance = live.view.camera.distance;

  live.layer.wheel(120);
  EXPECT_TRUE(c.takeReaction().redraw);
  EXPECT_NEAR(live.view.camera.distance, 0.9f * distance, 1e-3f);
  live.layer.spinTick();
  EXPECT_TRUE(c.takeReaction().redraw);
  EXPECT_EQ(live.view.camera.azimuth, turned - 10); // half the peak a tick
  live.layer.endRecording();

  std::string bytes, error;
  ASSERT_TRUE(readScriptFile(path, bytes, error));
  ScriptReader reader(bytes);
  int32_t width = 0, height = 0;
  ASSERT_TRUE(reader.readHeader(width, height));
  std::vector<int32_t> codes;
  ScriptCommand command;
  while (reader.next(command) == ScriptReader::Status::Command)
    codes.push_back(command.code);
  // The wheel turn is recorded and zooms alike in playback; the spin's ticks are not.
  EXPECT_EQ(codes, (std::vector<int32_t>{1, 2, 1, 7, 3, 3, 2, kScriptWheel, kScriptMessage}));
  DrawingWorld played;
  playAll(played, path);
  EXPECT_EQ(played.view.camera.azimuth, turned);
  EXPECT_EQ(played.view.camera.distance, live.view.camera.distance);
  std::filesystem::remove(path);
}

} // namespace
