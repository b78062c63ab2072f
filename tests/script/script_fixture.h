// A scene, a view and the command layer wired to hosts that keep what they are told, for the
// script tests.
#pragma once

#include "scene/recording_ui.h"
#include "script/command_layer.h"
#include "script/script_player.h"

#include <string>
#include <vector>

struct TestHost : ScriptHost {
  void showScriptMessage(const std::string &text) override { messages.push_back(text); }
  bool startPlaybackTimer() override { return timerRunning = timerAvailable; }
  void stopPlaybackTimer() override { timerRunning = false; }
  void refreshModelView(bool) override { ++refreshes; }

  std::vector<std::string> messages;
  bool timerAvailable = true;
  bool timerRunning = false;
  int refreshes = 0;
};

// Keeps the pointer events the script layer sends, one line each.
struct LoggingInput : ScriptInput {
  void press(int32_t b, int32_t x, int32_t y) override { log("press", b, x, y); }
  void release(int32_t b, int32_t x, int32_t y) override { log("release", b, x, y); }
  void move(int32_t x, int32_t y) override { log("move", x, y); }
  void setButtons(int32_t word) override { log("buttons", word); }
  void setLastPosition(int32_t x, int32_t y) override { log("last", x, y); }
  void setDragKind(int32_t kind) override { log("drag", kind); }
  void keyDown(int32_t key) override { log("down", key); }
  void keyUp(int32_t key) override { log("up", key); }
  void regionSelect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t kind,
                    int32_t capacity) override {
    log("region", x, y, w, h, kind, capacity);
  }
  bool inSelectMode() const override { return selectMode; }
  bool startOperation(int32_t id, int32_t argument) override {
    log("operation", id, argument);
    return knowsOperations;
  }
  bool runCommand(int32_t command, int32_t argument) override {
    log("command", command, argument);
    return knowsOperations;
  }
  void setPlaying(bool value) override { playing = value; }
  void releaseSnap() override { log("release-snap"); }
  void setDragAmount(float amount) override { log("amount", amount); }

  template <class... T> void log(const char *what, T... values) {
    std::string line = what;
    ((line += " " + std::to_string(values)), ...);
    events.push_back(line);
  }

  std::vector<std::string> events;
  bool selectMode = true;
  bool knowsOperations = false;
  bool playing = false;
};

struct ScriptWorld {
  explicit ScriptWorld(int32_t width = 720, int32_t height = 486) {
    view.resize(width, height);
    view.ResetCamera();
    scene.mode = moFREE;
  }
  RecordingUi ui;
  Scene scene{ui};
  View view;
  TestHost host;
  CommandLayer layer{scene, view, ui, host};
  ScriptPlayer player{layer};
};
