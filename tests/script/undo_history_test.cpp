// The undo history through the command layer, as the window's Undo and Redo run it: random
// sessions of operations, Undo and Redo, checked against the saved bytes of every state.
#include "script_fixture.h"

#include "offscreen/offscreen_context.h"
#include "ops/operation_table.h"
#include "scene/scene_file.h"
#include "scene/undo_history.h"
#include "script/scripted_controller.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr int32_t kWidth = 320, kHeight = 240;

int32_t facesIn(const Scene &scene) {
  int32_t faces = 0;
  for (int32_t i = 0; i < scene.objects.count(); ++i)
    if (const moObject *obj = scene.objects.get(i))
      faces += obj->faces.count();
  return faces;
}

class UndoHistoryTest : public testing::Test {
protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(context.create(kWidth, kHeight, error)) << error;
    world.layer.setInput(&input);
  }
  std::string bytes() {
    std::string out;
    EXPECT_TRUE(writeScene(world.scene, out, false));
    return out;
  }
  // An operation as the operations menu starts it, moved by `amount` when it drags, then
  // committed with a left click.
  void operation(const char *name, float amount) {
    const NamedOperation op = operationByName(name);
    ASSERT_NE(op.row, nullptr) << name;
    world.layer.execute(op.row->scriptCode, {op.row->axisBound() ? op.axis : 0});
    if (controller.mode() != InteractionController::DragMode)
      return;
    controller.dragBy(amount);
    world.layer.execute(kScriptPress, {1, kWidth / 2, kHeight / 2});
    world.layer.execute(kScriptRelease, {1, kWidth / 2, kHeight / 2});
  }

  OffscreenContext context;
  ScriptWorld world{kWidth, kHeight};
  InteractionController controller{world.scene, world.view, world.ui};
  ScriptedController input{controller, world.layer};
};

// Every Undo and Redo of a long random session gives the scene of that point byte for byte,
// and a new step after Undos drops the steps ahead.
TEST_F(UndoHistoryTest, RandomSessionsStepThroughTheSavedStates) {
  const struct {
    const char *name;
    float amount;
  } operations[] = {{"extrude-normal", 2}, {"bevel", 0.5f},       {"inset", 0.3f},
                    {"move-axis-y", 3},    {"rotate-axis-z", 30}, {"scale-uniform", 1.5f},
                    {"plane-cut-x", 0},    {"smooth", 0},         {"tighten", 0.2f}};
  const char *const primitives[] = {"add-cube", "add-cylinder", "add-tetrahedron"};
  std::mt19937 random(33);
  std::vector<std::string> states{bytes()};
  size_t at = 0;
  for (int step = 0; step < 500; ++step) {
    const uint32_t pick = random() % 10;
    Scene &scene = world.scene;
    const size_t stepsBefore = scene.undoStepCount();
    if (pick < 3) {
      world.layer.run(pick == 0 ? "undo" : "redo");
      at = pick == 0 ? (at > 0 ? at - 1 : 0) : std::min(at + 1, states.size() - 1);
      ASSERT_EQ(bytes(), states[at]) << "step " << step;
      continue;
    }
    if (pick == 3 || scene.objects.objectCount() == 0) {
      world.layer.run(primitives[random() % 3]);
    } else if (pick == 4 && scene.object(0)) {
      if (random() % 2)
        world.layer.execute(kScriptSetVisible, {0, scene.object(0)->visible ? 0 : 1});
      else
        world.layer.execute({kScriptRename, {0}, {"renamed " + std::to_string(step)}, true});
    } else {
      const auto &op = operations[random() % (sizeof operations / sizeof operations[0])];
      world.layer.run("select-all-objects");
      if (random() % 2)
        world.layer.run("select-all-faces");
      const bool grows = op.amount == 0 || std::string(op.name) == "extrude-normal" ||
                         std::string(op.name) == "bevel" || std::string(op.name) == "inset";
      if (grows && facesIn(scene) > 400)
        continue; // keeps the session quick: the growing operations on small meshes only
      operation(op.name, op.amount);
    }
    if (scene.undoStepCount() == stepsBefore + 1 || bytes() != states[at]) {
      states.resize(at + 1);
      states.push_back(bytes());
      ++at;
    }
  }
  while (world.scene.canUndoStep())
    world.layer.run("undo");
  EXPECT_EQ(bytes(), states.front());
  for (size_t i = 1; i < states.size(); ++i) {
    world.layer.run("redo");
    ASSERT_EQ(bytes(), states[i]) << "redo " << i;
  }
  world.layer.run("redo");
  EXPECT_EQ(world.ui.messages.back(), "No further redo available");
}

// A small budget forgets the oldest steps; Undo then stops at the oldest step it kept.
TEST_F(UndoHistoryTest, TheBudgetDropsTheOldestSteps) {
  world.layer.run("add-cube");
  world.layer.run("select-all-objects");
  world.scene.setHistoryBudget(3 * objectBytes(*world.scene.object(0)));
  for (int i = 0; i < 8; ++i) {
    world.layer.run("select-all-objects");
    operation("move-axis-x", 1);
  }
  EXPECT_LE(world.scene.historyBytes(), 3 * objectBytes(*world.scene.object(0)));
  int undone = 0;
  while (world.scene.canUndoStep() && undone < 20) {
    world.layer.run("undo");
    ++undone;
  }
  EXPECT_GE(undone, 2);
  EXPECT_LT(undone, 9);
  world.layer.run("undo");
  EXPECT_EQ(world.ui.messages.back(), "No further undo available");
  EXPECT_EQ(world.ui.status, "Undo: Move axis");
}

} // namespace
