#include "script_fixture.h"

#include "script/command_table.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(CommandTable, NumbersAndNamesAreUnique) {
  std::set<int32_t> numbers;
  std::set<std::string> names;
  for (const CommandEntry &entry : allCommands()) {
    EXPECT_TRUE(numbers.insert(entry.number).second) << entry.number;
    EXPECT_TRUE(names.insert(entry.name).second) << entry.name;
  }
}

TEST(CommandTable, TypedKeysReachTheirCommands) {
  RecordingUi ui;
  Scene scene(ui);
  scene.createPrimitive(PrimitiveType::Cube);
  const struct {
    const char *keys;
    int32_t command;
  } plain[] = {{"\b", 8706},
               {"\t", 9221},
               {" ", 9995},
               {"+=k", 9985},
               {"-_m", 9986},
               {"aA", 8964},
               {"bB", 8197},
               {"cC", 9222},
               {"gG", 8962},
               {"hH", 9485},
               {"oO", 8972},
               {"rR", 8965},
               {"S", 9220},
               {"s", 9219},
               {"W", 9218},
               {"w", 9217},
               {"tT", 9223},
               {"x", 8966},
               {"Y", 8970},
               {"`~", 8963},
               {"eE", 8195},
               {"fF", 8196},
               {"vV", 8194},
               {"dD", kCommandRepeatLast},
               {"/?", kCommandObjectStatistics},
               {"{", kCommandStartRecording},
               {"}", kCommandEndRecording},
               {"lLjq1", 0}};
  for (const auto &row : plain)
    for (const char *k = row.keys; *k; ++k)
      EXPECT_EQ(typedKeyCommand(uint8_t(*k), scene, true, false), row.command) << *k;
  EXPECT_EQ(typedKeyCommand('a', scene, true, true), 0);   // Ctrl held
  EXPECT_EQ(typedKeyCommand('+', scene, false, false), 0); // not waiting for a selection

  scene.SelectAll(moOBJECTS);
  EXPECT_EQ(typedKeyCommand('e', scene, true, false), 9991); // objects: select all edges
  scene.SetMode(moEDGES);
  scene.selection.Append({0, 0});
  EXPECT_EQ(typedKeyCommand('f', scene, true, false), 9989); // elements: adjacent faces
  EXPECT_EQ(typedKeyCommand('L', scene, true, false), 9999);
  scene.mode = moVERTICES;
  EXPECT_EQ(typedKeyCommand('l', scene, true, false), 0);

  EXPECT_EQ(pressedKeyCommand(PressedKey::Left, 0, false), kCommandPanLeft);
  EXPECT_EQ(pressedKeyCommand(PressedKey::Delete, 0, false), 8706);
  EXPECT_EQ(pressedKeyCommand(PressedKey::Letter, 'S', true), 8452);
  EXPECT_EQ(pressedKeyCommand(PressedKey::Letter, 'S', false), 0);
}

TEST(CommandTable, RefusalsShowTheirMessages) {
  ScriptWorld world;
  for (const char *name : {"aim", "grow-selection", "shrink-selection", "select-edge-loop",
                           "select-adjacent-faces", "select-all-edges"})
    EXPECT_TRUE(world.layer.run(name));
  EXPECT_EQ(world.ui.messages,
            std::vector<std::string>(6, "You must have elements or objects selected"));
  world.ui.messages.clear();
  world.layer.run("select-all-objects");
  EXPECT_EQ(world.ui.messages, std::vector<std::string>{"no objects in scene"});
  world.layer.run("add-cube");
  world.layer.run("delete");
  EXPECT_EQ(world.ui.messages.back(), "You must have objects selected");
  world.layer.run("delete-all"); // the question is answered No
  EXPECT_EQ(world.ui.questions.back(), "This will delete your current objects");
  EXPECT_EQ(world.scene.objects.objectCount(), 1);
  world.ui.queueAnswer(true);
  world.layer.run("delete-all");
  EXPECT_EQ(world.scene.objects.objectCount(), 0);
}

TEST(CommandTable, ShellCommandsRunOnlyOnceAttached) {
  ScriptWorld world;
  EXPECT_FALSE(world.layer.available(8452));
  EXPECT_FALSE(world.layer.run("save"));
  int saves = 0;
  world.layer.attach(8452, [&] { ++saves; });
  EXPECT_TRUE(world.layer.run(8452));
  EXPECT_EQ(saves, 1);
  // A fault that escapes a command is shown and stops there.
  world.layer.attach(8461, [] { throw std::runtime_error("invalid topology"); });
  EXPECT_FALSE(world.layer.run("quit"));
  EXPECT_EQ(world.ui.messages.back(), "invalid topology");
}

TEST(CommandTable, DisplayTogglesAndModesFollowTheView) {
  ScriptWorld world;
  SceneRenderer &r = world.view.renderer;
  world.layer.run("workmode");
  EXPECT_EQ(r.smooth(), 1);
  EXPECT_EQ(r.outlines(), 0);
  world.layer.run("ortho-camera");
  EXPECT_EQ(world.view.camera.perspective, 0);
  world.layer.run("axes");
  EXPECT_EQ(world.view.groundAndAxes, 3);
  world.layer.run("select-faces");
  EXPECT_EQ(world.scene.mode, moFACES);
  EXPECT_EQ(r.pickKind(), moFACES);
  LoggingInput input;
  input.selectMode = false; // a drag runs: the Add menu waits
  world.layer.setInput(&input);
  world.layer.run("add-cube");
  EXPECT_EQ(world.scene.objects.objectCount(), 0);
}

} // namespace
