// What a headless run shows the user: message boxes and the script message pane go to standard
// output, and playback runs on a loop of ticks instead of a timer.
#pragma once

#include "scene/recording_ui.h"
#include "script/script_host.h"
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
