#include "core/mesh.h"
#include "layers/paint_layers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(PaintLayers, SizesRoundToTheNearestPowerOfTwoTiesUp) {
  EXPECT_EQ(roundToPowerOfTwo(-3), 0);
  EXPECT_EQ(roundToPowerOfTwo(1), 0);
  EXPECT_EQ(roundToPowerOfTwo(2), 2);
  EXPECT_EQ(roundToPowerOfTwo(3), 4);
  EXPECT_EQ(roundToPowerOfTwo(5), 4);
  EXPECT_EQ(roundToPowerOfTwo(6), 8);
  EXPECT_EQ(roundToPowerOfTwo(512), 512);
  EXPECT_EQ(roundToPowerOfTwo(700), 512);
  EXPECT_EQ(roundToPowerOfTwo(768), 1024);
}

TEST(PaintLayers, NewLayersStartWhiteOrResampleTheirPixels) {
  auto blank = makePaintLayer(PaintLayer::kAtlas, 500, 300, 10);
  ASSERT_NE(blank, nullptr);
  EXPECT_EQ(blank->image.width(), 512);
  EXPECT_EQ(blank->image.height(), 256);
  EXPECT_EQ(blank->image.at(511, 255), packRgba(255, 255, 255, 255));
  EXPECT_TRUE(blank->coordinates.empty());

  ImageBuffer source(2, 2);
  source.at(0, 0) = packRgba(1, 0, 0);
  source.at(1, 0) = packRgba(2, 0, 0);
  source.at(0, 1) = packRgba(3, 0, 0);
  source.at(1, 1) = packRgba(4, 0, 0);
  auto scaled = makePaintLayer(PaintLayer::kPerCorner, 3, 3, 6, &source);
  ASSERT_EQ(scaled->image.width(), 4);
  EXPECT_EQ(scaled->image.at(0, 0), packRgba(1, 0, 0));
  EXPECT_EQ(scaled->image.at(3, 0), packRgba(2, 0, 0));
  EXPECT_EQ(scaled->image.at(3, 3), packRgba(4, 0, 0));
  EXPECT_EQ(scaled->coordinates.size(), 12u);

  auto none = makePaintLayer(PaintLayer::kPerVertex, 0, 0, 4);
  EXPECT_TRUE(none->image.empty());
  EXPECT_EQ(makePaintLayer(PaintLayer::kAtlas, 30000, 30000, 2), nullptr);
}

TEST(PaintLayers, CloneCopiesImageAndCoordinates) {
  auto layer = makePaintLayer(PaintLayer::kPerVertex, 4, 4, 3);
  layer->coordinates[5] = 0.25f;
  layer->image.at(2, 1) = packRgba(9, 8, 7);
  auto copy = layer->clone();
  layer->image.at(2, 1) = 0;
  EXPECT_EQ(copy->kind(), PaintLayer::kPerVertex);
  EXPECT_EQ(copy->coordinates[5], 0.25f);
  EXPECT_EQ(copy->image.at(2, 1), packRgba(9, 8, 7));
}

TEST(PaintLayers, AtlasCellsHoldTwoTrianglesInset) {
  const AtlasLayout layout = atlasLayout(512, 512, 4); // two cells
  EXPECT_EQ(layout.cellSize, 256);
  EXPECT_EQ(layout.columns, 2);
  EXPECT_EQ(atlasLayout(512, 512, 100000).cellSize, 2);
  EXPECT_EQ(atlasLayout(512, 512, 100).cellSize, 64); // 72 shrinks until 50 cells fit
  // More cells than texels: the layout stops at one texel instead of dividing by zero.
  EXPECT_EQ(atlasLayout(512, 512, 600000).cellSize, 1);
  EXPECT_EQ(atlasLayout(0, 0, 2).columns, 0);

  auto atlas = makePaintLayer(PaintLayer::kAtlas, 512, 512, 4);
  const moObject obj;
  float uv[6];
  atlas->cornerTexCoords(obj, 0, uv);
  EXPECT_FLOAT_EQ(uv[0], 1.625f / 512);
  EXPECT_FLOAT_EQ(uv[2], (256 - 3.725f) / 512);
  EXPECT_FLOAT_EQ(uv[5], (256 - 3.725f) / 512);
  atlas->cornerTexCoords(obj, 3, uv); // second cell, upper-right half
  EXPECT_FLOAT_EQ(uv[0], (256 + 256 - 1.625f) / 512);
  EXPECT_FLOAT_EQ(uv[3], (256 - 1.625f) / 512);
}

TEST(PaintLayers, CornerColoursComeFromTheImageAtTheCorners) {
  moObject obj;
  for (int32_t v : {0, 1, 2})
    obj.triangleVertices.append(v);
  obj.triangleFaces.append(0);
  auto layer = makePaintLayer(PaintLayer::kPerVertex, 2, 2, 3);
  layer->image.at(1, 1) = packRgba(200, 100, 50);
  layer->coordinates = {0.1f, 0.1f, 0.9f, 0.9f, 0.9f, 0.1f};
  moColor colors[3];
  layer->triangleCornerColors(obj, 0, colors);
  EXPECT_EQ(colors[0], kWhite);
  EXPECT_EQ(colors[1], (moColor{200, 100, 50, 255}));
  EXPECT_EQ(colors[2], kWhite);
}

// A canvas of one colour whose pixels all show paint index k; dirty where dirty() says.
struct SolidCanvas {
  std::vector<uint32_t> colour, index;
  std::vector<uint8_t> dirty;
  CanvasPixels pixels;
  SolidCanvas(int32_t w, int32_t h, uint32_t rgba, uint32_t k, bool (*isDirty)(int32_t, int32_t))
      : colour(size_t(w * h), rgba), index(size_t(w * h), k), dirty(size_t(w * h)) {
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x)
        dirty[size_t(y * w + x)] = isDirty(x, y) ? 1 : 0;
    pixels = {w, h, colour.data(), index.data(), dirty.data()};
  }
};

TEST(PaintLayers, SevenTrianglesOnA512AtlasGetFourCellsOf256) {
  const AtlasLayout layout = atlasLayout(512, 512, 7);
  EXPECT_EQ(layout.cellSize, 256);
  EXPECT_EQ(layout.columns, 2);
  auto atlas = makePaintLayer(PaintLayer::kAtlas, 512, 512, 7);
  const moObject obj;
  const TexelRect last = atlas->texelRect(obj, 6);
  EXPECT_EQ(last.x, 256); // cell 3, the second of the second row
  EXPECT_EQ(last.y, 256);
  EXPECT_EQ(last.width, 256);
  EXPECT_TRUE(atlas->texelRect(obj, 8).empty()); // beyond the image: no texels, no writes
}

TEST(PaintLayers, AtlasFillKeepsCornerColoursAndFillsTheMargins) {
  moObject obj;
  auto atlas = makePaintLayer(PaintLayer::kAtlas, 64, 64, 2);
  const moColor corners[2][3] = {{{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}},
                                 {{10, 20, 30, 255}, {40, 50, 60, 255}, {70, 80, 90, 255}}};
  for (int32_t t : {0, 1})
    atlas->fillTriangle(obj, t, corners[t]);
  for (int32_t t : {0, 1}) {
    moColor back[3];
    atlas->triangleCornerColors(obj, t, back);
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(back[k], corners[t][k]) << "triangle " << t << " corner " << k;
  }
  // Every texel of the cell belongs to one triangle or the other: no white is left.
  const ImageBuffer &image = atlas->image;
  for (int32_t i = 0; i < image.pixelCount(); ++i)
    ASSERT_NE(image.pixels()[i], packRgba(255, 255, 255)) << "texel " << i;
  EXPECT_EQ(image.at(0, 0), packRgba(255, 0, 0)); // the margin corner copies corner 0
}

TEST(PaintLayers, TransferTakesOnlyTexelsWhoseFootprintIsDirty) {
  moObject obj;
  auto atlas = makePaintLayer(PaintLayer::kAtlas, 64, 64, 2);
  // Triangle 0 covers the canvas's lower-left half; only the left half of the canvas is dirty.
  SolidCanvas canvas(64, 64, packRgba(0, 0, 255), 5, [](int32_t x, int32_t) { return x < 32; });
  const float window[6] = {0, 0, 64, 0, 0, 64};
  ASSERT_TRUE(atlas->transfer(obj, 0, canvas.pixels, window, 5));
  const uint32_t blue = packRgba(0, 0, 255), white = packRgba(255, 255, 255);
  EXPECT_EQ(atlas->image.at(4, 20), blue);
  EXPECT_EQ(atlas->image.at(50, 4), white);                        // clean pixels keep the texel
  EXPECT_FALSE(atlas->transfer(obj, 0, canvas.pixels, window, 6)); // another triangle's pixels
  EXPECT_FALSE(atlas->transfer(obj, 1, canvas.pixels, window, 5) &&
               atlas->image.at(63, 63) != white);
}

TEST(PaintLayers, DamagedCoordinatesNeverWriteOutsideTheImage) {
  moObject obj;
  for (int32_t v : {0, 1, 2, 0, 1, 2})
    obj.triangleVertices.append(v);
  obj.triangleFaces.append(0);
  obj.triangleFaces.append(0);
  auto layer = makePaintLayer(PaintLayer::kPerCorner, 16, 16, 6);
  layer->coordinates = {-50.0f, -50.0f, 70.0f, -3.0f, 0.5f, 1e30f,
                        NAN,    0.0f,   1.0f,  1.0f,  0.0f, 1.0f};
  SolidCanvas canvas(8, 8, packRgba(1, 2, 3), 0, [](int32_t, int32_t) { return true; });
  const float window[6] = {0, 0, 8, 0, 0, 8}, lost[6] = {NAN, 0, 1e30f, -1e30f, 0, 0};
  EXPECT_TRUE(layer->transfer(obj, 0, canvas.pixels, window, 0));  // clipped to the image
  EXPECT_FALSE(layer->transfer(obj, 1, canvas.pixels, window, 0)); // a corner is not a number
  layer->transfer(obj, 0, canvas.pixels, lost, 0);
  const TexelRect r = layer->texelRect(obj, 0);
  EXPECT_GE(r.x, 0);
  EXPECT_LE(r.x + r.width, 16);
  EXPECT_TRUE(layer->texelRect(obj, 1).empty());
  auto blank = makePaintLayer(PaintLayer::kPerVertex, 0, 0, 3);
  EXPECT_FALSE(blank->transfer(obj, 0, canvas.pixels, window, 0));
}

} // namespace
