#include "core/mesh.h"
#include "paint/layers/paint_layers.h"

#include <gtest/gtest.h>

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

} // namespace
