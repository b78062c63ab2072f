// A scene driven as the window drives it, on an offscreen context: operations started as the
// operations menu starts them, dragged and committed, with a paint canvas beside.
#pragma once

#include "script_fixture.h"

#include "offscreen/offscreen_context.h"
#include "ops/operation_table.h"
#include "paint/canvas.h"
#include "scene/scene_file.h"
#include "script/scripted_controller.h"

#include <gtest/gtest.h>

class OperationSession : public testing::Test {
public:
  static constexpr int32_t kWidth = 320, kHeight = 240;

protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(context.create(kWidth, kHeight, error)) << error;
    world.layer.setInput(&input);
  }
  // The scene file's bytes. Writing clears the selection.
  std::string bytes() {
    std::string out;
    EXPECT_TRUE(writeScene(world.scene, out, false));
    return out;
  }
  // An operation as the operations menu starts it (a numbered one with its repeat number), moved
  // by `amount` when it drags, then committed with a left click.
  void operation(const char *name, float amount = 0) {
    const NamedOperation op = operationByName(name);
    ASSERT_NE(op.row, nullptr) << name;
    const int32_t argument = op.row->axisBound()              ? op.axis
                             : op.row->argument == kArgNumber ? op.row->repeatArgument
                                                              : 0;
    world.layer.execute(op.row->scriptCode, {argument});
    if (controller.mode() != InteractionController::DragMode)
      return;
    controller.dragBy(amount);
    world.layer.execute(kScriptPress, {1, kWidth / 2, kHeight / 2});
    world.layer.execute(kScriptRelease, {1, kWidth / 2, kHeight / 2});
  }

  OffscreenContext context;
  PaintCanvas canvas;
  ScriptWorld world{kWidth, kHeight};
  InteractionController controller{world.scene, world.view, world.ui};
  ScriptedController input{controller, world.layer};
};
