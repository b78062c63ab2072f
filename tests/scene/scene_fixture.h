// A scene with a recording user interface, for the scene tests.
#pragma once

#include "scene/recording_ui.h"
#include "scene/scene.h"

#include <gtest/gtest.h>

class SceneTest : public testing::Test {
protected:
  RecordingUi ui;
  Scene scene{ui};

  std::vector<ElementRef> selected() {
    std::vector<ElementRef> out;
    for (int32_t i = 0; i < scene.selection.Count(); ++i)
      out.push_back(scene.selection.Get(i));
    return out;
  }
  void select(SelectionMode m, std::initializer_list<ElementRef> refs) {
    scene.SetMode(m);
    for (const ElementRef &r : refs)
      scene.selection.Append(r);
  }
};
