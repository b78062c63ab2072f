#include "paint/tools/gl_feedback.h"

#include "paint/paint_surface.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

// Window-pixel drawing for the lifetime of the object: a pixel-exact orthographic projection,
// no depth test, lighting or texturing, and exclusive-or when asked; everything restored after.
class WindowPixels {
public:
  WindowPixels(int32_t width, int32_t height, bool xorMode) {
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_DITHER);
    if (xorMode) {
      glEnable(GL_COLOR_LOGIC_OP);
      glLogicOp(GL_XOR);
      glColor3ub(255, 255, 255);
    }
  }
  ~WindowPixels() {
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    glFlush();
  }
};

} // namespace

void GlToolFeedback::xorRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  const int32_t xy[8] = {x0, y0, x1, y0, x1, y1, x0, y1};
  xorOutline(xy, 4);
}

void GlToolFeedback::xorOutline(const int32_t *xy, int32_t n) {
  WindowPixels pixels(canvas_.width(), canvas_.height(), true);
  glBegin(GL_LINE_LOOP);
  for (int32_t k = 0; k < n; ++k)
    glVertex2f(xy[2 * k] + 0.5f, xy[2 * k + 1] + 0.5f);
  glEnd();
}

// A wide line as one quad, so that no pixel is drawn twice (which would erase it).
void GlToolFeedback::xorLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t width) {
  WindowPixels pixels(canvas_.width(), canvas_.height(), true);
  const float dx = float(x1 - x0), dy = float(y1 - y0);
  const float length = std::max(std::hypot(dx, dy), 1e-3f);
  const float half = std::max(width, 1) / 2.0f, nx = -dy / length * half, ny = dx / length * half;
  glBegin(GL_QUADS);
  glVertex2f(x0 + 0.5f + nx, y0 + 0.5f + ny);
  glVertex2f(x0 + 0.5f - nx, y0 + 0.5f - ny);
  glVertex2f(x1 + 0.5f - nx, y1 + 0.5f - ny);
  glVertex2f(x1 + 0.5f + nx, y1 + 0.5f + ny);
  glEnd();
}

void GlToolFeedback::showPixels(int32_t x, int32_t y, int32_t w, int32_t h,
                                const uint32_t *source) {
  const int32_t x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int32_t x1 = std::min(x + w, canvas_.width()), y1 = std::min(y + h, canvas_.height());
  if (x1 <= x0 || y1 <= y0)
    return;
  WindowPixels pixels(canvas_.width(), canvas_.height(), false);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, w);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, x0 - x);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, y0 - y);
  glRasterPos2i(x0, y0);
  glDrawPixels(x1 - x0, y1 - y0, GL_RGBA, GL_UNSIGNED_BYTE, source);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
}

void GlToolFeedback::redraw() {
  DrawPaintView(scene_, view_, canvas_);
  glFlush();
}
