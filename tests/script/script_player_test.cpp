#include "script_fixture.h"

#include "scene/scene_file.h"
#include "script/command_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string header(int32_t w = 720, int32_t h = 486) {
  std::string bytes;
  encodeScriptHeader(bytes, w, h);
  return bytes;
}

std::string command(uint8_t code, std::vector<int32_t> args = {},
                    std::vector<std::string> lines = {}) {
  ScriptCommand c;
  c.code = code;
  c.args = std::move(args);
  c.lines = std::move(lines);
  std::string bytes;
  encodeScriptCommand(bytes, c);
  return bytes;
}

std::string tempPath(const char *name) {
  return (std::filesystem::temp_directory_path() / name).string();
}

TEST(ScriptPlayer, PressesScaleToTheViewAndMotionsDoNot) {
  ScriptWorld world(1440, 486);
  LoggingInput input;
  world.layer.setInput(&input);
  ASSERT_TRUE(world.player.LoadBytes(header() + command(1, {1, 100, 50}) + command(3, {110, 60}) +
                                     command(2, {1, 101, 51})));
  EXPECT_FLOAT_EQ(world.player.scaleX(), 2.f);
  EXPECT_FLOAT_EQ(world.player.zoomFactor(), 1.f); // 720 x 486 < 486 x 1440: h0 / h
  input.events.clear();
  EXPECT_EQ(world.player.Step(), ScriptPlayer::StepResult::Finished);
  EXPECT_EQ(input.events, (std::vector<std::string>{"release-snap", "press 1 200 50", "move 110 60",
                                                    "release 1 202 51", "release-snap"}));
}

TEST(ScriptPlayer, ZoomFactorFitsTheRecordedViewAndResetEmptiesTheScene) {
  ScriptWorld world(360, 486);
  world.scene.createPrimitive(PrimitiveType::Cube);
  world.view.SetPerspective(false);
  ASSERT_TRUE(world.player.LoadBytes(header()));
  EXPECT_FLOAT_EQ(world.player.zoomFactor(), 2.f); // 720 x 486 > 486 x 360: w0 / w
  EXPECT_EQ(world.scene.objects.objectCount(), 0);
  EXPECT_EQ(world.scene.mode, moFREE);
  EXPECT_TRUE(world.view.camera.perspective);
  EXPECT_FLOAT_EQ(world.view.camera.distance, -220.f);
  EXPECT_EQ(world.view.groundAndAxes, 0);
  EXPECT_EQ(world.scene.GetCurrentColour().a, 0);
  EXPECT_EQ(world.host.messages.back(), "Press the play button to begin.");
}

TEST(ScriptPlayer, StepRunsFromMarkerToMarkerAndEndsWithFinished) {
  ScriptWorld world;
  const std::string bytes = header() + command(113, {}, {"Add a cube."}) + command(112) +
                            command(35, {4}) + command(80) + command(81) + command(35, {8}) +
                            command(112) + command(113, {}, {"Finished"});
  ASSERT_TRUE(world.player.LoadBytes(bytes));
  EXPECT_EQ(world.player.Step(), ScriptPlayer::StepResult::Stepped);
  EXPECT_EQ(world.host.messages.back(), "Add a cube.\r\n");
  EXPECT_EQ(world.scene.objects.objectCount(), 0);
  EXPECT_EQ(world.player.Step(), ScriptPlayer::StepResult::Stepped);
  EXPECT_EQ(world.scene.objects.objectCount(), 2); // 80 and 81 did not stop the step
  const std::vector<std::string> tail(world.host.messages.end() - 2, world.host.messages.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"set color command is unsupported",
                                            "set hardness command is unsupported"}));
  EXPECT_EQ(world.player.Step(), ScriptPlayer::StepResult::Finished);
  EXPECT_EQ(world.host.messages.back(), "Finished\r\n");
  EXPECT_EQ(world.player.Step(), ScriptPlayer::StepResult::Finished);
  EXPECT_FALSE(world.player.playing());
}

TEST(ScriptPlayer, PlayTicksUntilTheEndOrSaysThereIsNoTimer) {
  ScriptWorld world;
  ASSERT_TRUE(
      world.player.LoadBytes(header() + command(35, {0}) + command(112) + command(35, {1})));
  ASSERT_TRUE(world.player.Play());
  EXPECT_TRUE(world.host.timerRunning);
  int ticks = 0;
  while (world.host.timerRunning && ticks < 10) {
    world.player.tick();
    ++ticks;
  }
  EXPECT_EQ(ticks, 2);
  EXPECT_FALSE(world.player.playing());
  EXPECT_EQ(world.scene.objects.objectCount(), 2);
  world.player.Rewind();
  EXPECT_EQ(world.scene.objects.objectCount(), 0);
  world.host.timerAvailable = false;
  EXPECT_FALSE(world.player.Play());
  EXPECT_EQ(world.host.messages.back(), "No timer available");
  EXPECT_FALSE(world.player.loaded());
}

TEST(ScriptPlayer, UnknownCodesAndBadIndicesAreReportedAndPlaybackGoesOn) {
  ScriptWorld world;
  LoggingInput input;
  world.layer.setInput(&input);
  const std::string bytes = header() + command(35, {4}) + std::string(1, '\x04') + command(61) +
                            command(58) + command(14, {7, 0}) + command(14, {0, 40000}) +
                            command(131, {9}, {"nobody"}) + command(35, {99}) + command(36, {2}) +
                            command(14, {0, 3});
  ASSERT_TRUE(world.player.LoadBytes(bytes));
  world.player.Step();
  const std::vector<std::string> &m = world.host.messages;
  EXPECT_EQ(std::count(m.begin(), m.end(), "unknown command"), 3); // 4, Move free, chip-off 58
  EXPECT_EQ(std::count_if(m.begin(), m.end(),
                          [](const std::string &s) { return s.find("does not exist") != s.npos; }),
            4);
  EXPECT_EQ(world.scene.objects.objectCount(), 1);
  ASSERT_EQ(world.scene.selection.Count(), 1); // only the face that exists
  EXPECT_EQ(world.scene.selection.Get(0), (ElementRef{3, 0}));
  EXPECT_NE(std::find(input.events.begin(), input.events.end(), "operation 0 0"),
            input.events.end());
}

// Code 133 hands the float its 32 bits hold to the controller; bits that are no finite number
// are refused.
TEST(ScriptPlayer, TypedAmountsReachTheControllerAsTheFloatTheirBitsHold) {
  ScriptWorld world;
  LoggingInput input;
  world.layer.setInput(&input);
  const auto bits = [](float f) {
    int32_t b = 0;
    std::memcpy(&b, &f, sizeof b);
    return b;
  };
  ASSERT_TRUE(world.player.LoadBytes(header() + command(133, {bits(2.5f)}) +
                                     command(133, {0x7FC00000}) + command(133, {0x7F800000})));
  input.events.clear();
  world.player.Step();
  EXPECT_EQ(std::count(input.events.begin(), input.events.end(), "amount 2.500000"), 1);
  EXPECT_EQ(std::count(world.host.messages.begin(), world.host.messages.end(),
                       "command 133 names something that does not exist"),
            2);
}

TEST(ScriptPlayer, TruncatedAndMissingScriptsEndCleanly) {
  ScriptWorld world;
  ASSERT_TRUE(world.player.LoadBytes(header() + command(35, {4}) + "\x01\x01"));
  EXPECT_EQ(world.player.Step(), ScriptPlayer::StepResult::Finished);
  EXPECT_EQ(world.host.messages.back(), "the script ends inside a command");
  EXPECT_EQ(world.scene.objects.objectCount(), 1);
  EXPECT_FALSE(world.player.LoadBytes("\x01"));
  EXPECT_FALSE(world.player.Load(tempPath("no_such_dir/none.mvs")));
  EXPECT_EQ(world.player.Step(), ScriptPlayer::StepResult::NotLoaded);
}

// A session of user commands recorded through the command layer plays back into a fresh scene
// as the same scene.
TEST(ScriptRecording, PlaybackRebuildsTheRecordedScene) {
  const std::string path = tempPath("morvo_recording_test.mvs");
  ScriptWorld live;
  ASSERT_TRUE(live.layer.beginRecording(path));
  EXPECT_EQ(live.view.groundAndAxes, 3);
  for (const char *name :
       {"add-cube", "add-torus", "select-all-objects", "deselect-reselect", "deselect-reselect",
        "wireframe-all", "shade-all", "workmode", "view-along--y", "select-faces"})
    EXPECT_TRUE(live.layer.run(name)) << name;
  // A click on face 2 of the cube, as the controller records and makes it.
  live.layer.recorder().toggle(0, 2);
  live.layer.execute(14, {0, 2});
  ScriptCommand rename;
  rename.code = 131;
  rename.args = {1};
  rename.lines = {"ring"};
  live.layer.execute(rename);
  live.layer.endRecording();
  EXPECT_EQ(live.ui.messages.back(), "Script recording finished");
  EXPECT_EQ(live.ui.status, "End recording script");

  ScriptWorld played;
  ASSERT_TRUE(played.player.Load(path));
  while (played.player.Step() == ScriptPlayer::StepResult::Stepped) {
  }
  EXPECT_EQ(played.host.messages.back(), "Finished\r\n");
  EXPECT_EQ(played.scene.mode, live.scene.mode);
  ASSERT_EQ(played.scene.selection.Count(), 1);
  EXPECT_EQ(played.scene.selection.Get(0), live.scene.selection.Get(0));
  EXPECT_EQ(played.scene.object(1)->name, "ring");
  std::string a, b;
  writeScene(live.scene, a, false);
  writeScene(played.scene, b, false);
  EXPECT_EQ(a, b);
  EXPECT_EQ(played.view.renderer.smooth(), live.view.renderer.smooth());
  EXPECT_EQ(played.view.camera.elevation, live.view.camera.elevation);
  std::filesystem::remove(path);
}

// The planes are recorded as the state each toggle leaves, the first as the state the recording
// starts with; playback starts with every plane off and ends with the recording's.
TEST(ScriptRecording, PlaybackHasTheSymmetryPlanesTheRecordingHad) {
  const std::string path = tempPath("morvo_symmetry_recording_test.mvs");
  ScriptWorld live;
  live.scene.symmetry.toggle(0); // X on before the recording starts
  ASSERT_TRUE(live.layer.beginRecording(path));
  EXPECT_EQ(live.scene.symmetry.axes, 1);
  for (const char *name : {"symmetry-y", "add-cube", "symmetry-z", "symmetry-x"})
    ASSERT_TRUE(live.layer.run(name)) << name;
  live.layer.endRecording();
  ASSERT_EQ(live.scene.symmetry.axes, 6);

  std::ifstream file(path, std::ios::binary);
  ScriptReader reader(std::string(std::istreambuf_iterator<char>(file), {}));
  int32_t width = 0, height = 0;
  ASSERT_TRUE(reader.readHeader(width, height));
  std::vector<int32_t> planes;
  ScriptCommand c;
  while (reader.next(c) == ScriptReader::Status::Command)
    if (c.code == kScriptSymmetry)
      planes.push_back(c.args.at(0));
  EXPECT_EQ(planes, (std::vector<int32_t>{1, 3, 7, 6}));

  ScriptWorld played;
  played.scene.symmetry.toggle(2);
  played.layer.resetForScript(1.0f);
  EXPECT_EQ(played.scene.symmetry.axes, 0);
  ASSERT_TRUE(played.player.Load(path));
  while (played.player.Step() == ScriptPlayer::StepResult::Stepped) {
  }
  EXPECT_EQ(played.scene.symmetry.axes, 6);
  std::filesystem::remove(path);
}

} // namespace
