// What a headless run shows the user: message boxes and the script message pane go to standard
// output, and playback runs on a loop of ticks instead of a timer; and the headless model window
// play and run drive.
#pragma once

#include "cli/convert_command.h"
#include "scene/recording_ui.h"
#include "script/command_layer.h"
#include "script/script_host.h"
#include "script/scripted_controller.h"
#include "view/view.h"

#include <iostream>

class PrintingUi : public RecordingUi {
public:
  void messageBox(const std::string &text) override {
    RecordingUi::messageBox(text);
    std::cout << "[message] " << text << "\n";
  }
};

class PrintingHost : public ScriptHost {
public:
  PrintingHost(const Scene &scene, View &view) : scene_(scene), view_(view) {}
  void showScriptMessage(const std::string &text) override {
    std::string shown;
    for (char c : text)
      if (c != '\r')
        shown += c;
    std::cout << shown << (shown.empty() || shown.back() != '\n' ? "\n" : "");
  }
  bool startPlaybackTimer() override { return running = true; }
  void stopPlaybackTimer() override { running = false; }
  void refreshModelView(bool sceneChanged) override {
    if (sceneChanged)
      view_.renderer.RebuildLists(scene_, true);
  }
  bool running = false;

private:
  const Scene &scene_;
  View &view_;
};

// The model window without a window, for play and run: the program's scene with its file
// session, a view of width x height on the current (offscreen) context, the controller and the
// command layer, wired as the window wires them.
struct HeadlessWindow {
  PrintingUi ui;
  CliScene target{ui};
  Scene &scene = target.scene;
  View view;
  PrintingHost host{scene, view};
  CommandLayer layer{scene, view, ui, host};
  InteractionController controller{scene, view, ui};
  ScriptedController input{controller, layer};

  HeadlessWindow(int32_t width, int32_t height) {
    view.resize(width, height);
    view.ResetCamera();
    SceneRenderer::InitGlState(view.camera);
    view.camera.ApplyProjection();
    layer.setInput(&input);
    layer.setFiles(&target.files);
  }
};
