#include "view/window_drawing.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Sets the raster position to a fractional window point, even outside the window: a 2 x 2
// viewport around the point with identity matrices places it exactly.
void rasterAt(float x, float y) {
  glPushAttrib(GL_VIEWPORT_BIT | GL_TRANSFORM_BIT);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glDepthRange(0, 0);
  const float fx = std::floor(x), fy = std::floor(y);
  glViewport(int32_t(fx) - 1, int32_t(fy) - 1, 2, 2);
  glRasterPos4f(x - fx, y - fy, 0, 1);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glPopAttrib();
  glDepthRange(0, 1);
}

void drawPixels(float x, float y, int32_t width, int32_t height, const uint8_t *rgba,
                int32_t skipPixels, int32_t skipRows, int32_t rowLength, bool blend) {
  glDisable(GL_DEPTH_TEST);
  if (blend) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  }
  glPixelStorei(GL_UNPACK_ROW_LENGTH, rowLength);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, skipRows);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, skipPixels);
  rasterAt(x, y);
  glDrawPixels(width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glDisable(GL_BLEND);
}

// Window-pixel projection with exclusive-or drawing of outlines, restored by endXor.
void beginXor(int32_t viewportWidth, int32_t viewportHeight) {
  glPushAttrib(GL_LIGHTING_BIT | GL_ENABLE_BIT); // the figure is plain white, unlit
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_COLOR_LOGIC_OP);
  glLogicOp(GL_XOR);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glPolygonMode(GL_FRONT, GL_LINE);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, viewportWidth, 0, viewportHeight, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glColor4f(1, 1, 1, 1);
}

void endXor() {
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_DEPTH_TEST);
  glPolygonMode(GL_FRONT, GL_FILL);
  glLogicOp(GL_COPY);
  glDisable(GL_COLOR_LOGIC_OP);
  glDisable(GL_BLEND);
  glPopAttrib();
}

} // namespace

void DrawPixelsAt(float x, float y, int32_t width, int32_t height, const uint8_t *rgba,
                  int32_t skipPixels, int32_t skipRows, int32_t rowLength, bool blend) {
  drawPixels(x, y, width, height, rgba, skipPixels, skipRows, rowLength, blend);
}

void DrawPixelsMasked(float x, float y, int32_t width, int32_t height, const uint8_t *rgba,
                      int32_t skipPixels, int32_t skipRows, int32_t rowLength, bool blend) {
  glEnable(GL_STENCIL_TEST);
  glStencilFunc(GL_EQUAL, 1, 1);
  glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
  drawPixels(x, y, width, height, rgba, skipPixels, skipRows, rowLength, blend);
  glDisable(GL_STENCIL_TEST);
}

void ReadPixelsRGBA(int32_t x, int32_t y, int32_t width, int32_t height, uint8_t *out,
                    int32_t skipPixels, int32_t skipRows, int32_t rowLength) {
  glPixelStorei(GL_PACK_ROW_LENGTH, rowLength);
  glPixelStorei(GL_PACK_SKIP_ROWS, skipRows);
  glPixelStorei(GL_PACK_SKIP_PIXELS, skipPixels);
  const char *renderer = reinterpret_cast<const char *>(glGetString(GL_RENDERER));
  if (renderer && std::strcmp(renderer, "PERMEDIA2") == 0) {
    // That renderer reads RGBA wrongly: read RGB and make every pixel opaque.
    std::vector<uint8_t> rgb(size_t(width) * size_t(height) * 3);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    const int32_t stride = rowLength > 0 ? rowLength : width;
    for (int32_t row = 0; row < height; ++row)
      for (int32_t col = 0; col < width; ++col) {
        uint8_t *p = out + 4 * (size_t(row + skipRows) * size_t(stride) + size_t(col + skipPixels));
        const uint8_t *q = rgb.data() + 3 * (size_t(row) * size_t(width) + size_t(col));
        p[0] = q[0];
        p[1] = q[1];
        p[2] = q[2];
        p[3] = 255;
      }
  } else {
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, out);
  }
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  glPixelStorei(GL_PACK_SKIP_ROWS, 0);
  glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
}

bool ReadFrame(ImageBuffer &image, int32_t width, int32_t height) {
  if (!image.reshape(width, height))
    return false;
  ReadPixelsRGBA(0, 0, width, height, reinterpret_cast<uint8_t *>(image.pixels()), 0, 0, 0);
  return true;
}

void DrawBitmapAt(float x, float y, int32_t width, int32_t height, const uint8_t *bits,
                  uint32_t argb) {
  glDisable(GL_LIGHTING);
  glColor4ub(uint8_t(argb >> 16), uint8_t(argb >> 8), uint8_t(argb), uint8_t(argb >> 24));
  rasterAt(x, y);
  glPixelStorei(GL_UNPACK_LSB_FIRST, GL_TRUE);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glBitmap(width, height, 0, 0, 0, 0, bits);
  glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
}

void XorRectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t viewportWidth,
                  int32_t viewportHeight) {
  beginXor(viewportWidth, viewportHeight);
  glRecti(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1));
  endXor();
}

void XorLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, float lineWidth, int32_t viewportWidth,
             int32_t viewportHeight) {
  beginXor(viewportWidth, viewportHeight);
  glLineWidth(lineWidth);
  glBegin(GL_LINES);
  glVertex2i(x0, y0);
  glVertex2i(x1, y1);
  glEnd();
  glLineWidth(1);
  endXor();
}

void XorEllipse(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t viewportWidth,
                int32_t viewportHeight) {
  beginXor(viewportWidth, viewportHeight);
  const float cx = 0.5f * float(x0 + x1), cy = 0.5f * float(y0 + y1);
  const float rx = 0.5f * float(std::abs(x1 - x0)), ry = 0.5f * float(std::abs(y1 - y0));
  glBegin(GL_POLYGON);
  float angle = 0;
  for (int k = 0; k < 20; ++k, angle += 0.31415927f)
    glVertex2f(cx + rx * std::cos(angle), cy + ry * std::sin(angle));
  glEnd();
  endXor();
}
