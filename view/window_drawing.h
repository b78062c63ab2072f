// Drawing in window pixels (origin at the lower left) on the current context: pixel rectangles
// placed anywhere, even partly outside the window, and exclusive-or figures that a second
// drawing erases (rubber bands).
#pragma once

#include "image/image_buffer.h"

#include <cstdint>

// Pixel rectangle of width x height RGBA bytes at window point (x, y); skipPixels, skipRows and
// rowLength select a part of a larger image (0 = the whole row). With blend, alpha blending.
void DrawPixelsAt(float x, float y, int32_t width, int32_t height, const uint8_t *rgba,
                  int32_t skipPixels, int32_t skipRows, int32_t rowLength, bool blend);
// The same where the stencil holds 1.
void DrawPixelsMasked(float x, float y, int32_t width, int32_t height, const uint8_t *rgba,
                      int32_t skipPixels, int32_t skipRows, int32_t rowLength, bool blend);
// Reads a window rectangle as RGBA bytes into out (laid out with the skip and row length given).
void ReadPixelsRGBA(int32_t x, int32_t y, int32_t width, int32_t height, uint8_t *out,
                    int32_t skipPixels, int32_t skipRows, int32_t rowLength);
// The window's current frame, width x height pixels from the lower left, into image (row 0 at
// the bottom, as images are kept). False when the image cannot take that size.
bool ReadFrame(ImageBuffer &image, int32_t width, int32_t height);
// A one-bit bitmap (rows of whole bytes, least significant bit first) in the colour 0xAARRGGBB.
void DrawBitmapAt(float x, float y, int32_t width, int32_t height, const uint8_t *bits,
                  uint32_t argb);
// Exclusive-or figures between two window corners (viewport size given).
void XorRectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t viewportWidth,
                  int32_t viewportHeight);
void XorLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, float lineWidth, int32_t viewportWidth,
             int32_t viewportHeight);
// The ellipse inscribed in the rectangle of the two corners, as a closed polygon of 20 points.
void XorEllipse(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t viewportWidth,
                int32_t viewportHeight);
