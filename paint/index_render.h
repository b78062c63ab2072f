// The renders that tie canvas pixels to paint triangles: the index render draws every paint
// triangle in a colour that encodes its global paint index, the shade render the lighting of
// every pixel. Both draw into the current context's frame buffer, with the view's camera, and
// read the result into the canvas.
#pragma once

#include "paint/canvas.h"
#include "scene/scene.h"
#include "view/view.h"

#include <cstdint>
#include <vector>

// Colour channel depths of a frame buffer (each at most 8 bits is used).
struct ColourDepths {
  int32_t red = 8, green = 8, blue = 8;
};
// The depths of the current context's frame buffer.
ColourDepths currentColourDepths();

// The colour of global paint index k: k + 1 split into the low red bits, the next green bits and
// the next blue bits, each at the top of its byte.
void encodePaintIndex(uint32_t k, const ColourDepths &depths, uint8_t rgb[3]);
// The index a colour encodes; black (the background) gives kNoPaintIndex.
uint32_t decodePaintIndex(const uint8_t rgb[3], const ColourDepths &depths);
// How many indices the depths can encode (black and white excluded).
uint32_t encodableIndices(const ColourDepths &depths);

// Global paint index of the first triangle of each slot, -1 for slots whose object is missing,
// hidden or insensitive; total receives the number of paint triangles of all the others.
std::vector<int64_t> paintIndexBases(const Scene &scene, uint32_t &total);

// Index render into the canvas's index image: black background, each paint triangle of a
// visible, sensitive object flat in its encoded colour, white for triangles the face mask
// excludes (and for those beyond what the frame buffer can encode), insensitive objects black.
// Needs a current context whose frame buffer is at least the canvas's size; the OpenGL state
// it changes is restored.
void IndexRender(const Scene &scene, const View &view, PaintCanvas &canvas);
// Shade render into the canvas's shade image: every shaded, visible object lit in the white
// material, without texture or corner colours. Needs the object's lists built.
void ShadeRender(const Scene &scene, const View &view, PaintCanvas &canvas);
