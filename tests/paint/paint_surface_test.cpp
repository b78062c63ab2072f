#include "paint/layer_commands.h"
#include "scene/scene_file.h"
#include "tests/paint/paint_fixture.h"

#include <array>
#include <cmath>

namespace {

// Where a pixel centre lies against a projected triangle: its signed distance in pixels to the
// nearest edge (positive inside) and its depth there.
struct Hit {
  float inside = -1e9f;
  float depth = 0;
};

Hit hitTest(const moVec3 w[3], float x, float y) {
  Hit hit;
  const float area = (w[1].x - w[0].x) * (w[2].y - w[0].y) - (w[2].x - w[0].x) * (w[1].y - w[0].y);
  if (area <= 0)
    return hit; // turned away: culled
  float b[3];
  hit.inside = 1e9f;
  for (int k = 0; k < 3; ++k) {
    const moVec3 &p = w[(k + 1) % 3], &q = w[(k + 2) % 3];
    const float edge = (q.x - p.x) * (y - p.y) - (q.y - p.y) * (x - p.x);
    b[k] = edge / area;
    hit.inside = std::min(hit.inside, edge / std::hypot(q.x - p.x, q.y - p.y));
  }
  hit.depth = b[0] * w[0].z + b[1] * w[1].z + b[2] * w[2].z;
  return hit;
}

TEST_F(PaintTest, IndexRenderOfTwoCubesNamesTheTriangleOfEveryPixel) {
  scene.createPrimitive(PrimitiveType::Cube);
  scene.createPrimitive(PrimitiveType::Cube);
  scene.object(1)->transform(translation(12, 8, -15)); // partly behind the first
  view.cameraMode.orbit(view.camera, 30, 20, 0, 0);
  prepare();
  ASSERT_EQ(canvas.triangleTotal, 24u);
  // Every paint triangle of both cubes in window coordinates, in global index order.
  std::vector<std::array<moVec3, 3>> projected;
  for (int32_t slot : {0, 1}) {
    const moObject &obj = *scene.object(slot);
    for (int32_t t = 0; t < paintTriangleCount(obj); ++t) {
      std::array<moVec3, 3> w;
      for (int k = 0; k < 3; ++k)
        w[size_t(k)] = onScreen(obj.vertices[obj.triangleVertices[3 * t + k]].Coordinates);
      projected.push_back(w);
    }
  }
  int32_t checked = 0, covered = 0;
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < kWidth; ++x) {
      uint32_t nearest = kNoPaintIndex;
      float nearestDepth = 2, margin = -1e9f;
      for (size_t k = 0; k < projected.size(); ++k) {
        const Hit hit = hitTest(projected[k].data(), float(x) + 0.5f, float(y) + 0.5f);
        margin = std::max(margin, hit.inside);
        if (hit.inside > 0 && hit.depth < nearestDepth) {
          nearest = uint32_t(k);
          nearestDepth = hit.depth;
        }
      }
      const uint32_t shown = canvas.index[canvas.offset(x, y)];
      if (margin < -0.75f) { // clearly off every triangle
        EXPECT_EQ(shown, kNoPaintIndex) << x << ", " << y;
        ++checked;
        continue;
      }
      bool clear = true; // no other front triangle's edge within reach of the pixel
      for (size_t k = 0; k < projected.size(); ++k) {
        const Hit hit = hitTest(projected[k].data(), float(x) + 0.5f, float(y) + 0.5f);
        clear = clear && (hit.inside < -0.75f || hit.inside > 0.75f);
      }
      if (!clear || nearest == kNoPaintIndex)
        continue;
      ASSERT_EQ(shown, nearest) << x << ", " << y;
      ++checked;
      ++covered;
    }
  EXPECT_GT(covered, 10000);
  EXPECT_GT(checked, kWidth * kHeight * 9 / 10);
}

TEST_F(PaintTest, IndicesBeyondOneChannelDecodeFromAllThree) {
  uint8_t rgb[3];
  for (const ColourDepths depths : {ColourDepths{8, 8, 8}, ColourDepths{5, 6, 5}})
    for (uint32_t k : {0u, 30u, 254u, 255u, 65535u, 65536u})
      if (k < encodableIndices(depths)) {
        encodePaintIndex(k, depths, rgb);
        EXPECT_EQ(decodePaintIndex(rgb, depths), k);
      }
  scene.createPrimitive(PrimitiveType::Sphere);
  prepare();
  const moObject &sphere = *scene.object(0);
  ASSERT_GT(canvas.triangleTotal, 300u); // past what the red channel holds
  int32_t shown = 0;
  for (int32_t y = 0; y < kHeight; y += 3)
    for (int32_t x = 0; x < kWidth; x += 3) {
      const uint32_t k = canvas.index[canvas.offset(x, y)];
      if (k == kNoPaintIndex)
        continue;
      ASSERT_LT(k, canvas.triangleTotal);
      moVec3 w[3];
      for (int c = 0; c < 3; ++c)
        w[c] = onScreen(sphere.vertices[sphere.triangleVertices[3 * int32_t(k) + c]].Coordinates);
      EXPECT_GT(hitTest(w, float(x) + 0.5f, float(y) + 0.5f).inside, -1.0f) << x << ", " << y;
      ++shown;
    }
  EXPECT_GT(shown, 1000);
}

// The face of the first cube that looks most directly at the eye.
int32_t frontFace(const moObject &obj, const moVec3 &toEye) {
  int32_t best = -1;
  float bestDot = -2;
  for (int32_t f = 0; f < obj.faces.count(); ++f) {
    const float d = dot(obj.faceNormal(f, true), toEye);
    if (d > bestDot) {
      bestDot = d;
      best = f;
    }
  }
  return best;
}

class StrokeTest : public PaintTest {
protected:
  void SetUp() override {
    PaintTest::SetUp();
    scene.createPrimitive(PrimitiveType::Cube);
    view.ViewAlong(2); // +Z faces the eye
    prepare();
    face = frontFace(*scene.object(0), {0, 0, 1});
  }
  // Paints every canvas pixel that shows a triangle of `face` red.
  int32_t paintFace() {
    const moObject &obj = *scene.object(0);
    int32_t painted = 0;
    for (int32_t y = 0; y < kHeight; ++y)
      for (int32_t x = 0; x < kWidth; ++x) {
        const uint32_t k = canvas.index[canvas.offset(x, y)];
        if (k < canvas.triangleTotal && obj.triangleFaces[int32_t(k)] == face)
          painted += canvas.setPixel(x, y, packRgba(255, 0, 0)) ? 1 : 0;
      }
    return painted;
  }
  int32_t face = -1;
};

TEST_F(StrokeTest, CommitChangesExactlyTheTexelsOfThePaintedFace) {
  const moObject &obj = *scene.object(0);
  const std::vector<uint32_t> before = pixelsOf(obj.paintLayer->image);
  ASSERT_GT(paintFace(), 1000);
  ASSERT_TRUE(CommitStroke(scene, view, canvas));
  const ImageBuffer &image = obj.paintLayer->image;
  std::vector<uint8_t> faceTexel(before.size(), 0);
  for (int32_t t = 0; t < paintTriangleCount(obj); ++t) {
    if (obj.triangleFaces[t] != face)
      continue;
    const TexelRect r = obj.paintLayer->texelRect(obj, t);
    for (int32_t y = r.y; y < r.y + r.height; ++y)
      for (int32_t x = r.x; x < r.x + r.width; ++x)
        faceTexel[size_t(y) * size_t(image.width()) + size_t(x)] = 1;
  }
  int32_t red = 0, inFace = 0;
  for (size_t i = 0; i < before.size(); ++i) {
    if (!faceTexel[i]) {
      ASSERT_EQ(image.pixels()[i], before[i]) << "texel " << i << " outside the face changed";
      continue;
    }
    ++inFace;
    red += image.pixels()[i] == packRgba(255, 0, 0) ? 1 : 0;
  }
  // The face's two triangles fill one cell, margins included.
  EXPECT_EQ(inFace, 170 * 170);
  EXPECT_GT(red, inFace * 99 / 100);
  EXPECT_EQ(texture(0), pixelsOf(image)); // the sub-image loads reached the texture
  EXPECT_TRUE(canvas.dirtyRect.empty());
}

TEST_F(StrokeTest, StrokeOnTheBackgroundChangesNoTexel) {
  const std::vector<uint32_t> before = pixelsOf(scene.object(0)->paintLayer->image);
  ASSERT_EQ(canvas.index[0], kNoPaintIndex);
  canvas.colour.at(0, 0) = packRgba(255, 0, 0);
  canvas.markDirty(0, 0);
  EXPECT_FALSE(CommitStroke(scene, view, canvas));
  EXPECT_EQ(pixelsOf(scene.object(0)->paintLayer->image), before);
}

TEST_F(StrokeTest, MaskedFaceKeepsItsTexels) {
  scene.SetMode(moFACES);
  scene.selection.Toggle({face, 0});
  canvas.maskOn = 1;
  RefreshCanvas(scene, view, canvas);
  const std::vector<uint32_t> before = pixelsOf(scene.object(0)->paintLayer->image);
  EXPECT_EQ(paintFace(), 0); // its pixels are not paintable
  EXPECT_FALSE(CommitStroke(scene, view, canvas));
  EXPECT_EQ(pixelsOf(scene.object(0)->paintLayer->image), before);
}

TEST_F(StrokeTest, AStrokeIsOneHistoryStepKeepingOnlyTheTexelsItChanged) {
  const ImageBuffer &image = scene.object(0)->paintLayer->image;
  const std::vector<uint32_t> texelsBefore = pixelsOf(image);
  scene.SetMode(moFACES);
  scene.selection.Toggle({face, 0});
  const size_t bytesBefore = scene.historyBytes();
  paintFace();
  ASSERT_TRUE(CommitStroke(scene, view, canvas));
  const std::vector<uint32_t> texelsAfter = pixelsOf(image);
  size_t changed = 0;
  for (size_t i = 0; i < texelsAfter.size(); ++i)
    changed += texelsAfter[i] != texelsBefore[i] ? 1 : 0;
  ASSERT_GT(changed, 0u);
  EXPECT_EQ(scene.undoStepName(), "paint stroke");
  EXPECT_LE(scene.historyBytes() - bytesBefore, changed * 4 * 3 / 2 + 256);

  // Undo and Redo exchange the texels in place and leave the selection alone.
  ASSERT_TRUE(scene.UndoStep());
  EXPECT_EQ(pixelsOf(image), texelsBefore);
  EXPECT_EQ(ui.status, "Undo: paint stroke");
  EXPECT_EQ(scene.mode, moFACES);
  EXPECT_EQ(scene.selection.Count(), 1);
  ASSERT_TRUE(scene.RedoStep());
  EXPECT_EQ(pixelsOf(image), texelsAfter);
  EXPECT_FALSE(scene.RedoStep());
  EXPECT_EQ(ui.messages.back(), "No further redo available");
  // A step whose paint has gone from under it (the layer dropped outside the history) changes
  // nothing and says so.
  scene.object(0)->paintLayer.reset();
  ASSERT_TRUE(scene.UndoStep());
  EXPECT_EQ(ui.status, "Undo: paint stroke changed nothing: its paint is no longer there");
}

TEST_F(StrokeTest, PaintedSceneSavesAndReopensWithIdenticalTextures) {
  paintFace();
  ASSERT_TRUE(CommitStroke(scene, view, canvas));
  std::string bytes;
  ASSERT_TRUE(writeScene(scene, bytes, false));
  RecordingUi otherUi;
  Scene reopened(otherUi);
  ASSERT_TRUE(readScene(reopened, bytes, true));
  const PaintLayer &saved = *scene.object(0)->paintLayer, &read = *reopened.object(0)->paintLayer;
  EXPECT_EQ(read.kind(), PaintLayer::kAtlas);
  EXPECT_EQ(pixelsOf(read.image), pixelsOf(saved.image));
  // Drawn, the reopened scene shows the same picture.
  render();
  const std::vector<uint8_t> original = pixels;
  scene.objects.swapContents(reopened.objects);
  render();
  EXPECT_EQ(pixels, original);
}

TEST_F(StrokeTest, TextureShowsOnTheObjectAndTheSwitchTurnsItOff) {
  paintFace();
  ASSERT_TRUE(CommitStroke(scene, view, canvas));
  render();
  const Rgb centre = at(kWidth / 2, kHeight / 2);
  EXPECT_GT(centre.r, 100);
  EXPECT_LT(centre.g, 10); // red paint, lit
  view.renderer.setTextures(false);
  render();
  const Rgb plain = at(kWidth / 2, kHeight / 2);
  EXPECT_EQ(plain.r, plain.g); // the white material
  view.renderer.setTextures(true);
  render(InteractionMode::Camera);
  EXPECT_EQ(at(kWidth / 2, kHeight / 2).g, plain.g); // no textures while the camera moves
}

} // namespace

namespace {

TEST_F(StrokeTest, PaintLayerToColorKeepsThePaintAsCornerColours) {
  paintFace();
  ASSERT_TRUE(CommitStroke(scene, view, canvas));
  const std::vector<uint32_t> painted = pixelsOf(scene.object(0)->paintLayer->image);
  EXPECT_FALSE(PaintLayerToColor(scene, view.renderer)); // not in objects mode
  EXPECT_NE(scene.object(0)->paintLayer, nullptr);
  scene.SetMode(moOBJECTS);
  scene.selection.Toggle({0, 0});
  ASSERT_TRUE(PaintLayerToColor(scene, view.renderer));
  moObject &obj = *scene.object(0);
  EXPECT_EQ(obj.paintLayer, nullptr);
  EXPECT_EQ(obj.triangleFaces.count(), 0);
  std::vector<int32_t> corners;
  obj.faceVertices(face, corners);
  for (int32_t v : corners)
    EXPECT_EQ(obj.cornerColorAt(v, face), (moColor{255, 0, 0, 255}));
  // Painting again builds the layer from the colours: the same texels come back.
  PreparePaintSurfaces(scene, view, canvas);
  ASSERT_NE(obj.paintLayer, nullptr);
  EXPECT_EQ(obj.paintLayer->image.width(), 512);
  const std::vector<uint32_t> rebuilt = pixelsOf(obj.paintLayer->image);
  for (size_t i = 0; i < painted.size(); ++i)
    for (int b = 0; b < 32; b += 8)
      ASSERT_LE(std::abs(int(painted[i] >> b & 255) - int(rebuilt[i] >> b & 255)), 1) << i;
  // The command is undoable as one step.
  scene.UndoCommand();
  EXPECT_EQ(pixelsOf(scene.object(0)->paintLayer->image), painted);
}

TEST_F(StrokeTest, DeleteAndEraseCommands) {
  paintFace();
  ASSERT_TRUE(CommitStroke(scene, view, canvas));
  const std::vector<uint32_t> painted = pixelsOf(scene.object(0)->paintLayer->image);
  ui.queueAnswer(false);
  EXPECT_FALSE(EraseAllPaint(scene, view, canvas, {0, 0, 255, 255}));
  ui.queueAnswer(true);
  ASSERT_TRUE(EraseAllPaint(scene, view, canvas, {0, 0, 255, 255}));
  const ImageBuffer &image = scene.object(0)->paintLayer->image;
  EXPECT_EQ(std::count(image.pixels(), image.pixels() + image.pixelCount(), packRgba(0, 0, 255)),
            image.pixelCount());
  EXPECT_EQ(texture(0), pixelsOf(image));
  EXPECT_EQ(scene.undoStepName(), "Erase paint");
  EXPECT_TRUE(FillObjectPaint(scene, view, canvas, 0, {0, 255, 0, 255}));
  EXPECT_EQ(image.at(3, 3), packRgba(0, 255, 0));
  EXPECT_FALSE(FillObjectPaint(scene, view, canvas, 5, {0, 255, 0, 255}));
  // Texture size: a size beyond the image limits changes nothing; a valid one resamples.
  EXPECT_FALSE(SetTextureSize(scene, view, 0, 65536, 65536));
  EXPECT_EQ(image.width(), 512);
  ASSERT_TRUE(SetTextureSize(scene, view, 0, 1024, 512));
  EXPECT_EQ(scene.object(0)->paintLayer->image.width(), 1024);
  EXPECT_EQ(scene.object(0)->paintLayer->image.at(1023, 511), packRgba(0, 255, 0));
  EXPECT_EQ(texture(0), pixelsOf(scene.object(0)->paintLayer->image));
  // Each command is one step: back through them to the stroke.
  ASSERT_TRUE(scene.UndoStep());
  EXPECT_EQ(scene.object(0)->paintLayer->image.width(), 512);
  ASSERT_TRUE(scene.UndoStep());
  ASSERT_TRUE(scene.UndoStep());
  EXPECT_EQ(pixelsOf(scene.object(0)->paintLayer->image), painted);
  while (scene.canRedoStep())
    scene.RedoStep();

  scene.SetMode(moOBJECTS);
  scene.selection.Toggle({0, 0});
  const moColor before = scene.object(0)->cornerColorAt(scene.object(0)->triangleVertices[0],
                                                        scene.object(0)->triangleFaces[0]);
  ASSERT_TRUE(DeletePaintLayer(scene, view.renderer));
  EXPECT_EQ(scene.object(0)->paintLayer, nullptr);
  EXPECT_EQ(scene.object(0)->cornerColorAt(0, scene.object(0)->faces.count() - 1).r, before.r);
  EXPECT_EQ(scene.undoStepName(), "Delete Paint Layer");
}

TEST_F(PaintTest, ObjectsWithoutFacesStayUnpainted) {
  scene.objects.insert(std::make_shared<moObject>());
  scene.createPrimitive(PrimitiveType::Cube);
  prepare();
  EXPECT_EQ(scene.object(0)->paintLayer, nullptr);
  EXPECT_NE(scene.object(1)->paintLayer, nullptr);
  EXPECT_EQ(canvas.triangleTotal, 12u);
}

} // namespace
