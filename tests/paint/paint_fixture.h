// A scene, view and canvas on an offscreen context, for the painting tests.
#pragma once

#include "core/face_triangulation.h"
#include "paint/index_render.h"
#include "paint/paint_surface.h"
#include "paint/stroke_commit.h"
#include "tests/view/render_fixture.h"

#include <GL/gl.h>

class PaintTest : public RenderTest {
protected:
  void SetUp() override {
    RenderTest::SetUp();
    SceneRenderer::InitGlState(view.camera);
  }
  // Prepares the surfaces and the canvas after the lists are built, as the paint window does.
  void prepare() {
    view.renderer.RebuildLists(scene, true);
    ASSERT_TRUE(PrepareCanvas(scene, view, canvas, kWidth, kHeight));
  }
  // The texture of slot as OpenGL holds it.
  std::vector<uint32_t> texture(int32_t slot) {
    const ImageBuffer &image = scene.object(slot)->paintLayer->image;
    std::vector<uint32_t> texels(size_t(image.pixelCount()));
    glBindTexture(GL_TEXTURE_2D, uint32_t(slot) + 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
  }
  static std::vector<uint32_t> pixelsOf(const ImageBuffer &image) {
    return {image.pixels(), image.pixels() + image.pixelCount()};
  }

  PaintCanvas canvas;
};
