// Where the tools take their paint from: the solid colour, or, in the reveal mode, the reveal
// image as placed over the window, or, in the pattern mode, the pattern image tiled over it.
#pragma once

#include "paint/canvas.h"

#include <cstdint>

// Whether the reveal mode (with an image) or the pattern mode (with an image) supplies the paint.
bool imageSourceOn(const PaintCanvas &canvas);

// Whether the reveal image (tiled, or at the reveal position) covers window pixel (x, y); its
// pixel there goes to out.
bool revealPixel(const PaintCanvas &canvas, int32_t x, int32_t y, uint32_t &out);

// The paint for window pixel (x, y): the reveal image (tiled, or placed at the reveal position;
// outside it the canvas pixel itself, so nothing changes there), else the tiled pattern, else
// solid. Image colours come with the alpha they carry.
uint32_t sourceColour(const PaintCanvas &canvas, int32_t x, int32_t y, uint32_t solid);
