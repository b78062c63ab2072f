#include "ops/operation_ids.h"
#include "tests/support/mesh_fixtures.h"
#include "tests/view/render_fixture.h"
#include "view/interaction_controller.h"

namespace {

class ControllerTest : public RenderTest {
protected:
  InteractionController controller{scene, view, ui};

  void SetUp() override {
    RenderTest::SetUp();
    scene.mode = moFREE;
    cube = scene.createPrimitive(PrimitiveType::Cube);
    SceneRenderer::InitGlState(view.camera);
    view.camera.ApplyProjection();
    view.renderer.RebuildLists(scene, true);
  }
  Reaction press(Button b, int32_t x, int32_t y, Modifiers mods = {}) {
    return controller.pointer({PointerInput::Press, x, y, b, mods});
  }
  Reaction release(Button b, int32_t x, int32_t y, Modifiers mods = {}) {
    return controller.pointer({PointerInput::Release, x, y, b, mods});
  }
  Reaction move(int32_t x, int32_t y, bool left = false) {
    PointerInput in;
    in.x = x;
    in.y = y;
    in.leftHeld = left;
    return controller.pointer(in);
  }
  void click(Button b, int32_t x, int32_t y) {
    press(b, x, y);
    release(b, x, y);
  }
  // Hovers the middle of the cube's left front face and clicks it (the window's centre is on the
  // edge between the two front faces).
  void clickCubeFace() {
    move(kFaceX - 1, kCentreY); // the first motion only records the position
    move(kFaceX, kCentreY);
    click(Button::Left, kFaceX, kCentreY);
  }
  static constexpr int32_t kFaceX = kWidth / 2 - 52;
  static constexpr int32_t kCentreX = kWidth / 2, kCentreY = kHeight / 2;
  int32_t cube = -1;
};

TEST_F(ControllerTest, ClickSelectsTheFaceAndMoveNormalDragMovesItUntilTheLeftClick) {
  clickCubeFace();
  ASSERT_EQ(1, scene.selection.Count());
  EXPECT_EQ(moFACES, scene.mode);
  EXPECT_EQ(moFACES, view.renderer.pickKind());
  const int32_t face = scene.selection.Get(0).element;
  const moVec3 before = scene.object(cube)->faceCentroid(face);
  const moVec3 normal = scene.object(cube)->faceNormal(face, true);

  press(Button::Right, kCentreX, kCentreY);
  EXPECT_EQ(MenuKind::Faces, release(Button::Right, kCentreX, kCentreY).menu);
  controller.startOperation(kOpMoveNormal, 0);
  ASSERT_EQ(InteractionController::DragMode, controller.mode());
  move(kCentreX, kCentreY); // the first motion only records the position
  move(kCentreX + 50, kCentreY);
  EXPECT_EQ("Move normal: 5.000", ui.status); // the amount so far
  click(Button::Left, kCentreX + 50, kCentreY);
  EXPECT_EQ(InteractionController::SelectMode, controller.mode());
  const moVec3 after = scene.object(cube)->faceCentroid(face);
  EXPECT_NEAR(5.0f, dot(subtract(after, before), normal), 1e-3f);
  EXPECT_EQ(kOpMoveNormal, controller.operationId);
}

TEST_F(ControllerTest, RightClickDuringADragRestoresTheMeshBitForBit) {
  clickCubeFace();
  const moObject before = *scene.object(cube);
  for (int32_t op : {int32_t(kOpMoveNormal), int32_t(kOpRotateAxis), int32_t(kOpScaleUniform)}) {
    controller.startOperation(op, 1);
    move(kCentreX, kCentreY);
    move(kCentreX + 37, kCentreY - 11);
    move(kCentreX - 80, kCentreY + 5);
    ASSERT_NE("", meshDifference(before, *scene.object(cube)));
    const Reaction r = press(Button::Right, kCentreX, kCentreY);
    EXPECT_EQ(InteractionController::SelectMode, controller.mode());
    EXPECT_TRUE(r.releaseCapture);
    EXPECT_EQ("", meshDifference(before, *scene.object(cube))) << operationName(op);
    EXPECT_EQ(1, scene.selection.Count());
    release(Button::Right, kCentreX, kCentreY);
  }
}

// The right click that cancels a drag ends there: its release opens no menu (the next right
// click does), and the drag's readout leaves the status line with the drag, committed or not:
// the selection's measurement (or else the select prompt) comes back.
TEST_F(ControllerTest, EndingADragOpensNoMenuAndPutsTheSelectPromptBack) {
  const std::string selectPrompt = "(CLICK-L) to select an element; (CLICK-M) or (CLICK-R+Ctrl) "
                                   "to start the camera; (CLICK-R) to see a menu of operations";
  clickCubeFace();
  const std::string measurement = ui.status;
  EXPECT_EQ("Face area 400.000, normal (0.000, 0.000, 1.000)", measurement);
  for (bool commit : {true, false}) {
    controller.startOperation(kOpMoveNormal, 0);
    move(kCentreX, kCentreY);
    move(kCentreX + 20, kCentreY);
    ASSERT_EQ("Move normal: 2.000", ui.status);
    const Button ending = commit ? Button::Left : Button::Right;
    press(ending, kCentreX + 20, kCentreY);
    EXPECT_EQ(MenuKind::None, release(ending, kCentreX + 20, kCentreY).menu);
    EXPECT_EQ(InteractionController::SelectMode, controller.mode());
    EXPECT_EQ(measurement, ui.status); // the face moved along its normal: the same area
  }
  press(Button::Right, kCentreX, kCentreY);
  EXPECT_EQ(MenuKind::Faces, release(Button::Right, kCentreX, kCentreY).menu);
  scene.clearSelection();
  move(kCentreX + 3, kCentreY + 40);
  EXPECT_EQ(selectPrompt, ui.status);
}

// Each notch redraws at once and takes the same share of the way on objects of any size.
// Without a button held only the hover highlight follows the pointer: motions within one face or
// over the background ask for no frame, a motion onto another face or with the left held does.
TEST_F(ControllerTest, HoverMotionsRedrawOnlyWhenTheHoveredElementChanges) {
  move(kFaceX - 1, kCentreY);                 // the first motion only records the position
  EXPECT_TRUE(move(kFaceX, kCentreY).redraw); // onto the face
  const int32_t face = view.renderer.hoverElement();
  EXPECT_NE(-1, face);
  EXPECT_FALSE(move(kFaceX + 3, kCentreY + 2).redraw);
  EXPECT_TRUE(move(kFaceX, kCentreY, true).redraw);
  EXPECT_TRUE(move(2 * kCentreX - kFaceX, kCentreY).redraw); // the other front face
  EXPECT_NE(face, view.renderer.hoverElement());
  EXPECT_TRUE(move(5, 5).redraw); // off the cube
  EXPECT_EQ(-1, view.renderer.hoverElement());
  EXPECT_FALSE(move(8, 5).redraw);
}

TEST_F(ControllerTest, WheelZoomsByAShareOfTheDistanceAndRedraws) {
  const float before = view.camera.distance;
  const Reaction r = controller.wheel(120);
  EXPECT_TRUE(r.redraw);
  EXPECT_EQ("(CLICK-L) to exit camera mode; (HOLD-M) or (HOLD-R) to zoom", ui.status);
  EXPECT_NEAR(view.camera.distance, 0.9f * before, 1e-3f);
  controller.wheel(-120);
  EXPECT_NEAR(view.camera.distance, before, 1e-3f);
}

TEST_F(ControllerTest, ShiftSnapsTheRunningMoveWithoutMotion) {
  clickCubeFace();
  const moVec3 start = scene.object(cube)->objectCentroid();
  controller.startOperation(kOpMoveAxis, 0);
  move(kCentreX, kCentreY);
  move(kCentreX + 35, kCentreY); // 3.5 along X
  controller.key({KeyInput::Shift, true});
  const auto shifted = [&] { return scene.object(cube)->objectCentroid().x - start.x; };
  EXPECT_NEAR(0.0f, shifted(), 1e-3f);          // back onto the grid line toward zero
  move(kCentreX + 135, kCentreY);               // 13.5: crosses one grid line
  EXPECT_NEAR(10.0f * 4 / 8, shifted(), 1e-3f); // the face's 4 of 8 vertices moved by 10
  controller.key({KeyInput::Shift, false});
  EXPECT_NEAR(13.5f * 4 / 8, shifted(), 1e-3f); // the remainder back
  controller.key({KeyInput::Shift, false});     // already up: nothing
  EXPECT_NEAR(13.5f * 4 / 8, shifted(), 1e-3f);
}

TEST_F(ControllerTest, RepeatRunsTheLastOperationOnTheNewSelectionWithItsAxis) {
  clickCubeFace();
  controller.startOperation(kOpRotateAxis, 1);
  click(Button::Left, kCentreX, kCentreY);
  scene.SetMode(moOBJECTS);
  scene.selection.Append({cube, cube});
  const moObject before = *scene.object(cube);
  controller.key({KeyInput::RepeatLast, true});
  ASSERT_EQ(InteractionController::DragMode, controller.mode());
  EXPECT_EQ(kDragRotateAxis, controller.dragKind);
  EXPECT_TRUE(equals(controller.axis, {0, 1, 0}));
  move(kCentreX, kCentreY);
  move(kCentreX + 100, kCentreY);
  // About Y: every y stays, the object turns.
  const moObject &after = *scene.object(cube);
  for (int32_t v = 0; v < after.vertices.count(); ++v)
    EXPECT_NEAR(before.vertices[v].Coordinates.y, after.vertices[v].Coordinates.y, 1e-4f);
  EXPECT_NE("", meshDifference(before, after));
}

TEST_F(ControllerTest, RefusedOperationsStayInSelectMode) {
  scene.SetMode(moVERTICES);
  scene.selection.Append({0, cube});
  controller.startOperation(kOpRotateAxis, 0);
  EXPECT_EQ(InteractionController::SelectMode, controller.mode());
  ASSERT_EQ(1u, ui.messages.size());
  EXPECT_EQ("Rotate requires at least 2 vertices", ui.messages[0]);
  controller.startOperation(25, 0); // a number without an operation: nothing at all
  EXPECT_EQ(InteractionController::SelectMode, controller.mode());
}

TEST_F(ControllerTest, MiddleClickDuringADragVisitsTheCameraAndComesBack) {
  clickCubeFace();
  controller.startOperation(kOpMoveNormal, 0);
  click(Button::Middle, kCentreX, kCentreY);
  EXPECT_EQ(InteractionController::CameraMode, controller.mode());
  const float azimuth = view.camera.azimuth;
  move(kCentreX, kCentreY);
  move(kCentreX + 20, kCentreY);
  EXPECT_NE(azimuth, view.camera.azimuth); // orbiting
  click(Button::Left, kCentreX, kCentreY);
  EXPECT_EQ(InteractionController::DragMode, controller.mode());
}

TEST_F(ControllerTest, RubberBandOnTheBackgroundSelectsWhatItEncloses) {
  scene.SetMode(moVERTICES);
  view.renderer.setPickKind(moVERTICES);
  move(4, 4);
  move(5, 5);
  press(Button::Left, 5, 5);
  move(kWidth - 5, kHeight - 5, true);
  int32_t band[4];
  ASSERT_TRUE(controller.rubberBand(band));
  release(Button::Left, kWidth - 5, kHeight - 5);
  EXPECT_EQ(8, scene.selection.Count()); // every corner of the cube, the far ones too
  EXPECT_FALSE(controller.rubberBand(band));
}

TEST_F(ControllerTest, EventsInImpossibleOrdersChangeNothing) {
  const moObject before = *scene.object(cube);
  release(Button::Left, 10, 10);
  release(Button::Right, 10, 10);
  controller.key({KeyInput::Shift, false});
  controller.tick();
  EXPECT_TRUE(scene.selection.Empty());
  // A drag whose object disappears: keys and motion must not reach it.
  clickCubeFace();
  controller.startOperation(kOpMoveAxis, 0);
  scene.objects.remove(cube);
  move(kCentreX, kCentreY);
  move(kCentreX + 30, kCentreY);
  controller.key({KeyInput::Shift, true});
  controller.key({KeyInput::Ctrl, true});
  click(Button::Left, kCentreX, kCentreY);
  EXPECT_EQ(InteractionController::SelectMode, controller.mode());
  EXPECT_EQ(nullptr, scene.object(cube));
  EXPECT_EQ("", meshDifference(before, *scene.backup.get(cube)));
}

TEST(DroppedFiles, OnlySceneFilesAreOpened) {
  const std::string longName = std::string(300, 'a') + ".mvo";
  EXPECT_EQ((std::vector<std::string>{"/tmp/a.mvo", "B.MVO"}),
            InteractionController::droppedScenes(
                {"/tmp/a.mvo", "b.obj", "B.MVO", ".mvo", "c.Mvo", longName, "d.mvo.png"}));
}

} // namespace

namespace {

const MenuEntry *entryNamed(const std::vector<MenuEntry> &entries, const std::string &text) {
  for (const MenuEntry &e : entries)
    if (e.text == text)
      return &e;
  return nullptr;
}

TEST(OperationsMenu, OperationsWithCommandsAreEnabledAndTheOthersShowDisabled) {
  const std::vector<MenuEntry> &faces = operationsMenu(MenuKind::Faces);
  ASSERT_EQ("Face Operations", faces.front().text);
  const MenuEntry *moveMenu = entryNamed(faces, "Move");
  ASSERT_NE(nullptr, moveMenu);
  std::vector<std::string> texts;
  for (const MenuEntry &e : moveMenu->submenu)
    texts.push_back(e.text);
  EXPECT_EQ((std::vector<std::string>{"Normal", "Free", "X", "Y", "Z"}), texts);
  EXPECT_EQ("Move along the Y axis", moveMenu->submenu[3].help);
  EXPECT_EQ(1, moveMenu->submenu[3].command.argument);
  EXPECT_TRUE(moveMenu->submenu[0].enabled);
  EXPECT_TRUE(entryNamed(faces, "Inset")->enabled);
  EXPECT_TRUE(entryNamed(faces, "Extrude")->submenu[0].enabled);
  EXPECT_TRUE(entryNamed(entryNamed(operationsMenu(MenuKind::Edges), "Hardness")->submenu, "Soft")
                  ->enabled);
  EXPECT_FALSE(entryNamed(entryNamed(operationsMenu(MenuKind::Objects), "Clear Paint")->submenu,
                          "Delete Paint Layer")
                   ->enabled);
  EXPECT_TRUE(entryNamed(operationsMenu(MenuKind::Vertices), "Tighten")->enabled);
  EXPECT_EQ(nullptr,
            entryNamed(entryNamed(operationsMenu(MenuKind::Objects), "Move")->submenu, "Normal"));
  int32_t shapes = 0;
  for (const MenuEntry &e : operationsMenu(MenuKind::Primitives))
    shapes += e.type == MenuEntry::Type::Command && e.command.kind == MenuCommand::Kind::Primitive;
  EXPECT_EQ(10, shapes);
}

int32_t hardEdges(const moObject &obj) {
  int32_t hard = 0;
  for (const moEdge &e : obj.edges)
    hard += e.hard;
  return hard;
}

TEST_F(ControllerTest, HardnessAndCreaseAngleEntriesRunFromTheMenuAndStayInSelectMode) {
  const std::vector<MenuEntry> &hardness =
      entryNamed(operationsMenu(MenuKind::Edges), "Hardness")->submenu;
  scene.mode = moEDGES;
  scene.selection.Append({2, cube});
  scene.selection.Append({5, cube});
  EXPECT_TRUE(controller.choose(entryNamed(hardness, "Hard")->command).redraw);
  EXPECT_EQ(InteractionController::SelectMode, controller.mode());
  EXPECT_EQ(1, scene.object(cube)->edges[2].hard);
  EXPECT_EQ(1, scene.object(cube)->edges[5].hard);
  controller.choose(entryNamed(hardness, "Soft")->command);
  EXPECT_EQ(0, hardEdges(*scene.object(cube)));
  EXPECT_EQ(kOpNone, controller.operationId); // repeat-last does not take these up

  scene.mode = moOBJECTS;
  scene.selection.Clear();
  scene.selection.Append({0, cube});
  const MenuEntry *crease = entryNamed(operationsMenu(MenuKind::Objects), "Set crease angle");
  ASSERT_NE(nullptr, crease);
  EXPECT_EQ(60, crease->command.argument);
  controller.choose(crease->command);
  EXPECT_EQ(12, hardEdges(*scene.object(cube))); // every cube edge meets at 90 degrees
}

} // namespace
