// Renders scenes offscreen and reads the pixels back, for the rendering tests.
#pragma once

#include "offscreen/offscreen_context.h"
#include "scene/recording_ui.h"
#include "view/frame.h"
#include "view/view.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

struct Rgb {
  int r, g, b;
};

class RenderTest : public testing::Test {
public:
  static constexpr int32_t kWidth = 720, kHeight = 486;

protected:
  static void SetUpTestSuite() {
    context_ = new OffscreenContext;
    std::string error;
    if (!context_->create(kWidth, kHeight, error))
      FAIL() << error;
  }
  static void TearDownTestSuite() {
    delete context_;
    context_ = nullptr;
  }
  void SetUp() override {
    view.resize(kWidth, kHeight);
    view.ResetCamera();
    view.groundAndAxes = 0;
  }

  // One frame as the model window draws it.
  void render(InteractionMode mode = InteractionMode::Select) {
    drawFrame(view, scene, {mode});
    pixels.resize(size_t(kWidth) * kHeight * 4);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  }
  Rgb at(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight)
      return {-1, -1, -1};
    const uint8_t *p = &pixels[(size_t(y) * kWidth + size_t(x)) * 4];
    return {p[0], p[1], p[2]};
  }
  int32_t count(Rgb c, int tolerance = 2) const {
    int32_t n = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
      n += std::abs(pixels[i] - c.r) <= tolerance && std::abs(pixels[i + 1] - c.g) <= tolerance &&
                   std::abs(pixels[i + 2] - c.b) <= tolerance
               ? 1
               : 0;
    return n;
  }
  // Whether a pixel within one of (x, y) has colour c.
  bool nearby(int32_t x, int32_t y, Rgb c, int tolerance = 3) const {
    for (int32_t dy = -1; dy <= 1; ++dy)
      for (int32_t dx = -1; dx <= 1; ++dx) {
        const Rgb p = at(x + dx, y + dy);
        if (std::abs(p.r - c.r) <= tolerance && std::abs(p.g - c.g) <= tolerance &&
            std::abs(p.b - c.b) <= tolerance)
          return true;
      }
    return false;
  }
  // The window position of a world point.
  moVec3 onScreen(const moVec3 &p) const {
    moVec3 w;
    project(p, view.camera.viewMatrix(), view.camera.projectionMatrix(), view.camera.viewport(), w);
    return w;
  }

  RecordingUi ui;
  Scene scene{ui};
  View view;
  std::vector<uint8_t> pixels;
  static inline OffscreenContext *context_ = nullptr;
};
