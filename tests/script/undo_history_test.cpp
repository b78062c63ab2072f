// The undo history through the command layer, as the window's Undo and Redo run it: random
// sessions of operations, paint strokes, Undo and Redo, checked against the saved bytes of every
// state.
#include "operation_session.h"

#include "core/mesh_validation.h"
#include "paint/paint_surface.h"
#include "paint/stroke_commit.h"
#include "scene/undo_history.h"

#include <gtest/gtest.h>

#include <random>

namespace {

int32_t facesIn(const Scene &scene) {
  int32_t faces = 0;
  for (int32_t i = 0; i < scene.objects.count(); ++i)
    if (const moObject *obj = scene.objects.get(i))
      faces += obj->faces.count();
  return faces;
}

// Whether a selected object has paint.
bool painted(const Scene &scene) {
  for (int32_t i = 0; i < scene.selection.Count(); ++i)
    if (const moObject *obj = scene.objectOf(scene.selection.Get(i), true))
      if (obj->paintLayer)
        return true;
  return false;
}

class UndoHistoryTest : public OperationSession {
protected:
  // Prepares the paint surfaces and the canvas as entering the paint window does, which adds
  // no step, then paints a random rectangle of the canvas in a random colour and commits it.
  // Returns the bytes of the scene before the stroke.
  std::string stroke(std::mt19937 &random) {
    Scene &scene = world.scene;
    world.view.renderer.RebuildLists(scene, true);
    EXPECT_TRUE(PrepareCanvas(scene, world.view, canvas, kWidth, kHeight));
    const std::string prepared = bytes();
    const int32_t x0 = int32_t(random() % kWidth), y0 = int32_t(random() % kHeight);
    const int32_t w = 1 + int32_t(random() % 60), h = 1 + int32_t(random() % 60);
    const uint32_t colour = packRgba(uint8_t(random()), uint8_t(random()), uint8_t(random()));
    for (int32_t y = y0; y < std::min(y0 + h, kHeight); ++y)
      for (int32_t x = x0; x < std::min(x0 + w, kWidth); ++x)
        canvas.setPixel(x, y, colour);
    CommitStroke(scene, world.view, canvas);
    return prepared;
  }
};

// Every Undo and Redo of a long random session gives the scene of that point byte for byte, a
// new step after Undos drops the steps ahead, and the steps the budget keeps lead back and forth
// between the states they started from.
TEST_F(UndoHistoryTest, RandomSessionsStepThroughTheSavedStates) {
  const struct {
    const char *name;
    float amount;
  } operations[] = {{"extrude-normal", 2}, {"bevel", 0.5f},       {"inset", 0.3f},
                    {"move-axis-y", 3},    {"rotate-axis-z", 30}, {"scale-uniform", 1.5f},
                    {"plane-cut-x", 0},    {"smooth", 0},         {"tighten", 0.2f}};
  const char *const primitives[] = {"add-cube", "add-cylinder", "add-tetrahedron"};
  world.scene.setHistoryBudget(size_t(64) << 20); // long enough to forget the oldest steps
  std::mt19937 random(33);
  std::vector<std::string> states{bytes()};
  int strokes = 0, carried = 0;
  size_t at = 0;
  for (int step = 0; step < 500; ++step) {
    const uint32_t pick = random() % 10;
    Scene &scene = world.scene;
    size_t stepsBefore = scene.undoStepCount();
    if (pick < 3) {
      world.layer.run(pick == 0 ? "undo" : "redo");
      at = pick == 0 ? (at > 0 ? at - 1 : 0) : std::min(at + 1, states.size() - 1);
      ASSERT_TRUE(bytes() == states[at]) << "step " << step;
      continue;
    }
    if ((pick == 3 && scene.objects.objectCount() < 3) || scene.objects.objectCount() == 0) {
      world.layer.run(primitives[random() % 3]);
    } else if (pick == 5) {
      states[at] = stroke(random); // the surfaces were made outside the history
      if (world.scene.undoStepCount() == stepsBefore + 1) {
        EXPECT_EQ(world.scene.undoStepName(), "paint stroke");
        ++strokes;
      }
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
      const bool wasPainted = painted(scene);
      operation(op.name, op.amount);
      carried += wasPainted && painted(scene); // the operation kept the paint
    }
    if (scene.undoStepCount() == stepsBefore + 1 || bytes() != states[at]) {
      states.resize(at + 1);
      states.push_back(bytes());
      ++at;
    }
  }
  EXPECT_GT(strokes, 20);
  EXPECT_GT(carried, 20);
  // Back through every step the budget kept, then forward again.
  const size_t kept = world.scene.undoStepCount();
  ASSERT_LE(kept, at);
  while (world.scene.canUndoStep())
    world.layer.run("undo");
  EXPECT_TRUE(bytes() == states[at - kept]);
  for (size_t i = at - kept + 1; i <= at; ++i) {
    world.layer.run("redo");
    ASSERT_TRUE(bytes() == states[i])
        << "redo to " << i << " " << world.ui.status << " kept " << kept << " at " << at;
  }
  world.layer.run("redo");
  EXPECT_EQ(world.ui.messages.back(), "No further redo available");
}

// Old scripts' toggling Undo (code 33) interleaved at random with the history's Undo and Redo
// and with operations: every object stays a valid mesh and the history can still be walked
// back to its start.
TEST_F(UndoHistoryTest, ToggleUndoAndHistoryStepsInterleavedPlayWithoutFault) {
  std::mt19937 random(34);
  const uint8_t undoCodes[] = {kScriptUndo, kScriptUndoStep, kScriptRedoStep};
  for (int step = 0; step < 300; ++step) {
    const uint32_t pick = random() % 6;
    if (pick < 3) {
      world.layer.execute(undoCodes[pick]);
    } else if ((pick == 3 && world.scene.objects.objectCount() < 3) ||
               world.scene.objects.objectCount() == 0) {
      world.layer.run("add-tetrahedron");
    } else {
      world.layer.run("select-all-objects");
      world.layer.run("select-all-faces");
      // Extrusions on small meshes only, which keeps the session quick.
      operation(random() % 2 && facesIn(world.scene) < 300 ? "extrude-normal" : "move-axis-x",
                0.5f);
    }
    for (int32_t i = 0; i < world.scene.objects.count(); ++i) {
      const moObject *obj = world.scene.object(i);
      ASSERT_TRUE(!obj || objectLocallyValid(*obj, false)) << "step " << step;
    }
  }
  while (world.scene.canUndoStep())
    world.layer.run("undo");
  world.layer.run("undo");
  EXPECT_EQ(world.ui.messages.back(), "No further undo available");
}

// A step once followed by another keeps only the elements it changed; if its object was changed
// outside the history since, its Undo changes nothing and says so.
TEST_F(UndoHistoryTest, FollowedStepsKeepDeltasThatCheckTheirObject) {
  world.layer.run("add-sphere");
  const size_t whole = objectBytes(*world.scene.object(0));
  for (int i = 0; i < 10; ++i) {
    world.layer.run("select-all-objects");
    operation("move-axis-x", 1);
  }
  // The newest step's copy and nine deltas of the vertices alone, not ten copies.
  EXPECT_LT(world.scene.historyBytes(), 4 * whole);
  world.layer.run("undo");
  world.scene.object(0)->vertices[0].Coordinates.x += 1; // not through any command
  world.layer.run("undo");
  EXPECT_EQ(world.ui.status,
            "Undo: Move axis changed nothing: the object is no longer as the step left it");
  EXPECT_FALSE(world.scene.canUndoStep());
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
