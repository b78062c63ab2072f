// A script host for programs that record sessions offscreen: no message pane and no timer, and
// a scene change rebuilds the lists as the model window's refresh does.
#pragma once

#include "script/script_host.h"
#include "view/view.h"

struct ListHost : ScriptHost {
  ListHost(Scene &s, View &v) : scene(s), view(v) {}
  void showScriptMessage(const std::string &) override {}
  bool startPlaybackTimer() override { return false; }
  void stopPlaybackTimer() override {}
  void refreshModelView(bool sceneChanged) override {
    if (sceneChanged)
      view.renderer.RebuildLists(scene, true);
  }
  Scene &scene;
  View &view;
};
