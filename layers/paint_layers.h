// The three kinds of paint layer. Each holds one image whose sides are powers of two and maps
// paint triangles into it: the atlas cuts the image into square cells of two triangles each, the
// per-vertex kind gives every vertex a coordinate pair, the per-corner kind every triangle
// corner.
#pragma once

#include "core/paint_layer.h"

#include <memory>

// The nearest power of two (of the two around n, the larger on a tie); 1 or less gives 0.
int32_t roundToPowerOfTwo(int32_t n);

// A new layer of the kind for elementCount triangles (atlas), vertices (per-vertex) or triangle
// corners (per-corner), its coordinates zero. The size is rounded to powers of two; with pixels
// the image is a copy of them, resampled to the rounded size, otherwise white and opaque. Null
// when the rounded size is larger than an image may be.
std::unique_ptr<PaintLayer> makePaintLayer(PaintLayer::Kind kind, int32_t width, int32_t height,
                                           int32_t elementCount,
                                           const ImageBuffer *pixels = nullptr);

// Resizes the layer's image to the powers of two nearest width and height, resampling its
// pixels; the atlas's cells follow the new size. Returns false, leaving the layer as it was, for
// a layer without an image or a size that rounds to nothing or is larger than an image may be.
bool resizePaintLayer(PaintLayer &layer, int32_t width, int32_t height);

// Cell layout of the atlas for its image and triangle count: cells of cellSize texels, columns
// cells per row; triangles 2m and 2m + 1 share cell m.
struct AtlasLayout {
  int32_t cellSize = 0;
  int32_t columns = 0;
};
AtlasLayout atlasLayout(int32_t width, int32_t height, int32_t triangles);
