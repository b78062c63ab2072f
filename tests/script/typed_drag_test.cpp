// Amounts typed during a drag, the drag's readout and snapping a free move onto a vertex, on
// the real controller behind the script layer: what the keys make is checked bit for bit against
// the drag arithmetic applied directly, and the recording plays back into the same mesh.
#include "drawing_world.h"

#include "offscreen/offscreen_context.h"
#include "ops/drag.h"
#include "ops/operation_table.h"
#include "tests/support/mesh_fixtures.h"
#include "view/projection.h"
#include "view/transforms.h"
#include "view/typed_amount.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

// The first vertex whose coordinates differ in their bits, or empty when none does.
std::string coordinateDifference(const Scene &a, const Scene &b) {
  if (a.objects.count() != b.objects.count())
    return "object count";
  for (int32_t slot = 0; slot < a.objects.count(); ++slot) {
    const moObject *oa = a.object(slot), *ob = b.object(slot);
    if (!oa != !ob || (oa && oa->vertices.count() != ob->vertices.count()))
      return "slot " + std::to_string(slot);
    for (int32_t v = 0; oa && v < oa->vertices.count(); ++v)
      if (std::memcmp(&oa->vertices[v].Coordinates, &ob->vertices[v].Coordinates, sizeof(moVec3)) !=
          0)
        return "vertex " + std::to_string(v) + " of slot " + std::to_string(slot);
  }
  return "";
}

bool sameBits(const moVec3 &a, const moVec3 &b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void type(ScriptedController &c, const std::string &text) {
  for (const char ch : text)
    c.key({KeyInput::Character, true, char32_t(uint8_t(ch))});
}
void press(ScriptedController &c, KeyInput::Key key) { c.key({key, true}); }

// A selection of the new cube that an operation may accept.
struct Selection {
  SelectionMode mode;
  std::vector<int32_t> elements;
};
const Selection kSelections[] = {
    {moFACES, {0}}, {moOBJECTS, {0}}, {moVERTICES, {0, 6}}, {moEDGES, {0}}};

// The toggles as clicks make them, recorded as the controller records a click's.
void select(DrawingWorld &w, const Selection &s) {
  w.layer.execute(kScriptSetMode, {s.mode});
  for (const int32_t e : s.elements) {
    w.layer.recorder().toggle(0, e);
    w.layer.execute(kScriptToggle, {0, e});
  }
}

// A new cube, the selection, and the row's operation started (about Y when axis-bound).
bool start(DrawingWorld &w, const OperationRow &row, const Selection &s) {
  w.layer.run("add-cube");
  w.rebuild();
  select(w, s);
  w.layer.execute(row.scriptCode, {row.axisBound() ? 1 : 0});
  return w.controller.mode() == InteractionController::DragMode;
}

// What the amount typed for a kind reads, per unit.
std::string typedFor(int32_t kind) {
  const std::string unit = dragUnit(kind);
  return unit == "units"     ? "2*0.75"
         : unit == "degrees" ? "90/3"
         : unit == "factor"  ? "1.2"
                             : "0.1+0.05";
}

class TypedDragTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    context_ = std::make_unique<OffscreenContext>();
    std::string error;
    if (!context_->create(kWidth, kHeight, error))
      FAIL() << error;
  }
  static void TearDownTestSuite() { context_.reset(); }
  void TearDown() override { std::filesystem::remove(path); }

  static void playAll(DrawingWorld &world, const std::string &script) {
    ASSERT_TRUE(world.player.Load(script));
    world.rebuild();
    while (world.player.Step() == ScriptPlayer::StepResult::Stepped)
      world.rebuild();
  }
  // The mouse moves the running drag a little, the amount is typed and entered; the mesh is
  // then the drag arithmetic's for the amount from the start, and the recording plays back
  // into it. `name` says which case failed.
  void expectTypedEqualsArithmetic(DrawingWorld &live, DrawingWorld &direct,
                                   const std::string &text, const std::string &name) {
    ScriptedController &c = live.input;
    c.pointer(at(PointerInput::Move, kCentreX, kCentreY));
    c.pointer(at(PointerInput::Move, kCentreX + 37, kCentreY - 5));
    type(c, text);
    EXPECT_EQ(live.ui.status, live.controller.dragStatus()) << name;
    EXPECT_EQ(live.ui.status.substr(live.ui.status.size() - text.size() - 4), " = " + text + "_")
        << name;
    const int32_t kind = live.controller.dragKind;
    press(c, KeyInput::Enter);
    ASSERT_EQ(live.controller.mode(), InteractionController::SelectMode) << name << live.ui.status;
    live.layer.endRecording();

    float amount = 0;
    ASSERT_EQ(evaluateAmount(text, amount), AmountError::None);
    DragMotion context;
    context.axis = direct.controller.axis;
    context.viewDirection = UnprojectRay(direct.view.camera, kWidth / 2, kHeight / 2);
    ASSERT_TRUE(applyDragAmount(direct.scene, kind, amount, context)) << name;
    EXPECT_EQ(coordinateDifference(live.scene, direct.scene), "") << name;

    DrawingWorld played;
    playAll(played, path);
    EXPECT_EQ(coordinateDifference(played.scene, live.scene), "") << name << " played back";
  }

  std::string path = (std::filesystem::temp_directory_path() /
                      (std::string("morvo_typed_") +
                       testing::UnitTest::GetInstance()->current_test_info()->name() + ".mvs"))
                         .string();
  static std::unique_ptr<OffscreenContext> context_;
};
std::unique_ptr<OffscreenContext> TypedDragTest::context_;

// Every operation whose drag takes an amount, on the first selection of the cube it accepts.
TEST_F(TypedDragTest, EveryOperationsTypedAmountIsItsDragArithmeticBitForBit) {
  int32_t tried = 0;
  for (const OperationRow &row : operationRows()) {
    if (!dragUnit(row.dragKind))
      continue;
    bool started = false;
    for (const Selection &s : kSelections) {
      DrawingWorld live, direct;
      ASSERT_TRUE(live.layer.beginRecording(path));
      if (!start(live, row, s)) {
        live.layer.endRecording();
        continue;
      }
      ASSERT_TRUE(start(direct, row, s)) << row.name;
      started = true;
      expectTypedEqualsArithmetic(live, direct, typedFor(row.dragKind), row.name);
      break;
    }
    EXPECT_TRUE(started) << row.name << " took none of the selections";
    ++tried;
  }
  EXPECT_GE(tried, 20);
}

// The drag kinds only a script's drag-kind record sets, after a move of a face has set up.
TEST_F(TypedDragTest, TheScriptOnlyDragKindsTakeTypedAmountsToo) {
  const OperationRow &moveNormal = *operationRow(kOpMoveNormal);
  for (const int32_t kind :
       {int32_t(kDragExtrudeAxis), int32_t(kDragExtrudeNormal), int32_t(kDragNoiseVectors),
        int32_t(kDragNoiseAxis), int32_t(kDragNoiseRandom)}) {
    DrawingWorld live, direct;
    ASSERT_TRUE(live.layer.beginRecording(path));
    ASSERT_TRUE(start(live, moveNormal, kSelections[0]));
    ASSERT_TRUE(start(direct, moveNormal, kSelections[0]));
    live.layer.recorder().dragKind(kind);
    live.input.setDragKind(kind);
    direct.controller.dragKind = kind;
    expectTypedEqualsArithmetic(live, direct, "0.5*3", dragKindName(kind));
  }
}

TEST_F(TypedDragTest, KindsWithoutAMeasureSayTheyTakeNoTypedAmount) {
  DrawingWorld w;
  ASSERT_TRUE(start(w, *operationRow(kOpMoveFree), kSelections[0]));
  const moObject before = *w.scene.object(0);
  type(w.input, "2");
  EXPECT_EQ(w.ui.status, "Move free takes no typed amount");
  EXPECT_FALSE(w.controller.typing());
  press(w.input, KeyInput::Enter);
  EXPECT_EQ(w.controller.mode(), InteractionController::DragMode);
  EXPECT_EQ(meshDifference(before, *w.scene.object(0)), "");
}

// The status line says what the drag has applied so far, in its kind's measure, with the
// snapping state; the scale kinds multiply their factors.
TEST_F(TypedDragTest, TheReadoutShowsTheAmountSoFarInItsOwnMeasure) {
  DrawingWorld w;
  ASSERT_TRUE(start(w, *operationRow(kOpRotateAxis), kSelections[1]));
  ScriptedController &c = w.input;
  c.pointer(at(PointerInput::Move, kCentreX, kCentreY));
  c.pointer(at(PointerInput::Move, kCentreX + 100, kCentreY));
  c.pointer(at(PointerInput::Move, kCentreX + 150, kCentreY));
  EXPECT_EQ(w.ui.status, "Rotate axis y: 15.0\u00b0");
  c.key({KeyInput::Shift, true}); // back onto the 15 degree grid line: the same
  EXPECT_EQ(w.ui.status, "Rotate axis y: 15.0\u00b0 (Shift: steps of 15\u00b0)");
  c.key({KeyInput::Shift, false});
  c.pointer(at(PointerInput::Move, kCentreX + 40, kCentreY));
  EXPECT_EQ(w.ui.status, "Rotate axis y: 4.0\u00b0");
  leftClick(c, kCentreX + 40, kCentreY);

  ASSERT_TRUE(start(w, *operationRow(kOpScaleUniform), kSelections[1]));
  EXPECT_EQ(w.ui.status, "Move the mouse to scale the element, then (CLICK-L)");
  EXPECT_EQ(w.controller.dragStatus(), "Scale uniform: \u00d71.000");
  c.pointer(at(PointerInput::Move, kCentreX, kCentreY));
  c.pointer(at(PointerInput::Move, kCentreX + 60, kCentreY));
  c.pointer(at(PointerInput::Move, kCentreX + 100, kCentreY));
  EXPECT_FLOAT_EQ(w.controller.dragProgress().amount,
                  float(std::pow(1.001, 60)) * float(std::pow(1.001, 40)));
  EXPECT_EQ(w.ui.status, "Scale uniform: \u00d71.105");
  ASSERT_TRUE(w.controller.setDragAmount(1.2f));
  EXPECT_EQ(w.ui.status, "Scale uniform: \u00d71.200");
  leftClick(c, kCentreX, kCentreY);

  ASSERT_TRUE(start(w, *operationRow(kOpTwist), kSelections[1]));
  ASSERT_TRUE(w.controller.setDragAmount(45));
  EXPECT_EQ(w.ui.status, "Twist y: 45.0\u00b0 per unit");
  leftClick(c, kCentreX, kCentreY);

  ASSERT_TRUE(start(w, *operationRow(kOpBevel), kSelections[0]));
  ASSERT_TRUE(w.controller.setDragAmount(0.15f));
  EXPECT_EQ(w.ui.status, "Bevel: 0.150");
  leftClick(c, kCentreX, kCentreY);

  ASSERT_TRUE(start(w, *operationRow(kOpMoveFree), kSelections[1]));
  EXPECT_EQ(w.controller.dragStatus(), "Move free: (0.000, 0.000, 0.000)");
  c.pointer(at(PointerInput::Move, kCentreX, kCentreY));
  c.pointer(at(PointerInput::Move, kCentreX + 30, kCentreY));
  EXPECT_EQ(w.ui.status.rfind("Move free: (", 0), 0u);
  EXPECT_NE(w.ui.status, "Move free: (0.000, 0.000, 0.000)");
}

// Text that is no amount keeps the entry open with the reason; Escape, or erasing the whole
// text, gives the drag back to the mouse, and an Enter then commits nothing; the text stops
// growing at 63 characters; outside a drag the typing keys do nothing.
TEST_F(TypedDragTest, BadTextIsRefusedAndTheEntryCanGiveTheDragBack) {
  DrawingWorld w;
  ScriptedController &c = w.input;
  ASSERT_TRUE(start(w, *operationRow(kOpMoveNormal), kSelections[0]));
  c.pointer(at(PointerInput::Move, kCentreX, kCentreY));
  c.pointer(at(PointerInput::Move, kCentreX + 20, kCentreY));
  const moObject moved = *w.scene.object(0);
  type(w.input, "2.5.3");
  EXPECT_EQ(w.ui.status, "Move normal = 2.5.3_");
  press(c, KeyInput::Enter);
  EXPECT_EQ(w.ui.status, "not a number: 2.5.3");
  EXPECT_TRUE(w.controller.typing());
  EXPECT_EQ(w.controller.mode(), InteractionController::DragMode);
  for (int i = 0; i < 5; ++i)
    press(c, KeyInput::Backspace);
  EXPECT_FALSE(w.controller.typing()); // erased to nothing: back to the mouse
  EXPECT_EQ(w.ui.status, "Move normal: 2.000");
  press(c, KeyInput::Enter); // nothing to enter
  EXPECT_EQ(w.controller.mode(), InteractionController::DragMode);

  type(w.input, "1e39");
  press(c, KeyInput::Enter);
  EXPECT_EQ(w.ui.status, "not a number: 1e39 (too large)");
  press(c, KeyInput::Escape);
  EXPECT_FALSE(w.controller.typing());
  EXPECT_EQ(w.ui.status, "Move normal: 2.000");
  type(w.input, "1/0");
  press(c, KeyInput::Enter);
  EXPECT_EQ(w.ui.status, "not a number: 1/0 (division by zero)");
  press(c, KeyInput::Escape);
  type(w.input, "-" + std::string(200, '1'));
  EXPECT_EQ(w.controller.typedText().size(), AmountEntry::kMaxCharacters);
  press(c, KeyInput::Escape);
  type(w.input, "x"); // a letter opens no entry
  EXPECT_FALSE(w.controller.typing());
  EXPECT_EQ(meshDifference(moved, *w.scene.object(0)), "");
  c.pointer(at(PointerInput::Move, kCentreX + 30, kCentreY)); // the mouse has the drag again
  EXPECT_EQ(w.ui.status, "Move normal: 3.000");
  leftClick(c, kCentreX + 30, kCentreY);

  const moObject committed = *w.scene.object(0);
  const std::string status = w.ui.status;
  type(w.input, "25");
  press(c, KeyInput::Enter);
  press(c, KeyInput::Escape);
  EXPECT_FALSE(w.controller.typing());
  EXPECT_EQ(w.ui.status, status);
  EXPECT_EQ(meshDifference(committed, *w.scene.object(0)), "");
}

// The window position (y downward) of a vertex of the cube.
struct Spot {
  int32_t x = 0, y = 0;
  float depth = 0;
};
Spot spotOf(const DrawingWorld &w, int32_t vertex) {
  const Camera &camera = w.view.camera;
  moVec3 win;
  project(w.scene.object(0)->vertices[vertex].Coordinates, camera.viewMatrix(),
          camera.projectionMatrix(), camera.viewport(), win);
  return {int32_t(std::lround(win.x)), camera.height - int32_t(std::lround(win.y)), win.z};
}

// Of the cube's vertices not in `skip`, the nearest to the camera that lies farthest right.
int32_t targetVertex(const DrawingWorld &w, const std::vector<int32_t> &skip) {
  int32_t best = -1;
  for (int32_t v = 0; v < 8; ++v) {
    if (std::find(skip.begin(), skip.end(), v) != skip.end())
      continue;
    if (best == -1 || spotOf(w, v).x > spotOf(w, best).x)
      best = v;
  }
  return best;
}

// Ctrl during a free move holds the handle exactly on the vertex under the pointer, the rest of
// the selection by the same offset; Ctrl+left commits there, and the recording plays it back.
TEST_F(TypedDragTest, CtrlSnapsAFreeMoveOfAFaceOntoAVertexBitForBit) {
  DrawingWorld live;
  ASSERT_TRUE(live.layer.beginRecording(path));
  live.layer.run("add-cube");
  live.rebuild();
  ScriptedController &c = live.input;
  clickCubeFace(c);
  ASSERT_EQ(live.scene.mode, moFACES);
  const int32_t face = live.scene.selection.Get(0).element;
  std::vector<int32_t> onFace;
  live.scene.object(0)->forEachEdgeOfFace(
      face, false, [&](int32_t e) { onFace.push_back(live.scene.object(0)->endVertex(e, face)); });
  const int32_t target = targetVertex(live, onFace);
  const moVec3 targetAt = live.scene.object(0)->vertices[target].Coordinates;
  const Spot spot = spotOf(live, target);
  const moObject before = *live.scene.object(0);

  c.choose({MenuCommand::Kind::Operation, kOpMoveFree, 0});
  ASSERT_EQ(live.controller.mode(), InteractionController::DragMode);
  const int32_t handle = live.scene.previousSelection.Get(0).element;
  c.pointer(at(PointerInput::Move, kCentreX, kCentreY));
  c.pointer(at(PointerInput::Move, kCentreX + 10, kCentreY + 4));
  c.key({KeyInput::Ctrl, true});
  c.pointer(at(PointerInput::Move, spot.x + 3, spot.y - 2)); // within 10 pixels
  const moObject &cube = *live.scene.object(0);
  ASSERT_TRUE(sameBits(cube.vertices[handle].Coordinates, targetAt));
  const moVec3 offset = subtract(targetAt, before.vertices[handle].Coordinates);
  for (const int32_t v : onFace)
    EXPECT_TRUE(sameBits(cube.vertices[v].Coordinates,
                         v == handle ? targetAt : add(before.vertices[v].Coordinates, offset)))
        << v;
  SnapTarget held;
  ASSERT_TRUE(live.controller.snapTarget(held));
  EXPECT_EQ(held.vertex, target);
  EXPECT_NE(live.ui.status.find("(Ctrl: on vertex " + std::to_string(target) + " of cube0)"),
            std::string::npos)
      << live.ui.status;

  // Ctrl up: the mouse's move again; Ctrl down and farther than 10 pixels: the mouse too.
  c.key({KeyInput::Ctrl, false});
  EXPECT_FALSE(sameBits(cube.vertices[handle].Coordinates, targetAt));
  EXPECT_FALSE(live.controller.snapTarget(held));
  c.key({KeyInput::Ctrl, true});
  c.pointer(at(PointerInput::Move, spot.x + 12, spot.y + 12));
  EXPECT_FALSE(live.controller.snapTarget(held));
  c.pointer(at(PointerInput::Move, spot.x, spot.y));
  PointerInput click = at(PointerInput::Press, spot.x, spot.y, Button::Left);
  click.mods.ctrl = true;
  c.pointer(click);
  click.kind = PointerInput::Release;
  c.pointer(click);
  c.key({KeyInput::Ctrl, false});
  ASSERT_EQ(live.controller.mode(), InteractionController::SelectMode);
  EXPECT_TRUE(sameBits(live.scene.object(0)->vertices[handle].Coordinates, targetAt));
  live.layer.endRecording();

  DrawingWorld played;
  playAll(played, path);
  EXPECT_EQ(coordinateDifference(played.scene, live.scene), "");
}

// Vertices mode: the first selected vertex is the handle; a selected vertex is never a target.
TEST_F(TypedDragTest, CtrlSnapsTheFirstSelectedVertexAndSkipsTheDraggedOnes) {
  DrawingWorld w;
  ASSERT_TRUE(start(w, *operationRow(kOpMoveFree), kSelections[2])); // vertices 0 and 6
  const int32_t target = targetVertex(w, {0, 6});
  const moVec3 targetAt = w.scene.object(0)->vertices[target].Coordinates;
  const moVec3 other = w.scene.object(0)->vertices[6].Coordinates;
  ScriptedController &c = w.input;
  c.key({KeyInput::Ctrl, true});
  const Spot own = spotOf(w, 6);
  c.pointer(at(PointerInput::Move, own.x, own.y));
  c.pointer(at(PointerInput::Move, own.x + 1, own.y)); // over a dragged vertex: no snap
  SnapTarget held;
  EXPECT_FALSE(w.controller.snapTarget(held) && (held.vertex == 6 || held.vertex == 0));
  const Spot spot = spotOf(w, target);
  c.pointer(at(PointerInput::Move, spot.x, spot.y));
  const moObject &cube = *w.scene.object(0);
  EXPECT_TRUE(sameBits(cube.vertices[0].Coordinates, targetAt));
  EXPECT_TRUE(
      sameBits(cube.vertices[6].Coordinates,
               add(other, subtract(targetAt, w.scene.backup.get(0)->vertices[0].Coordinates))));
}

} // namespace
