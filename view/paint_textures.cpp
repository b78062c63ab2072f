#include "view/paint_textures.h"

#include <GL/gl.h>
#include <algorithm>

namespace {

// Rectangles on the same texel rows closer than this are loaded as one.
constexpr int32_t kMergeGap = 64;

} // namespace

bool showsPaintTexture(const moObject &obj, bool texturesOn) {
  return texturesOn && obj.shaded && obj.showTexture && obj.paintLayer &&
         !obj.paintLayer->image.empty() && obj.triangleFaces.count() > 0;
}

bool UploadTexture(const moObject &obj, int32_t slot) {
  if (!obj.paintLayer || obj.paintLayer->image.empty())
    return false;
  const ImageBuffer &image = obj.paintLayer->image;
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  if (image.width() > maxSize || image.height() > maxSize)
    return false;
  const GLuint name = paintTextureName(slot);
  const GLclampf priority = 1;
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glPrioritizeTextures(1, &name, &priority);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width(), image.height(), 0, GL_RGBA,
               GL_UNSIGNED_BYTE, image.pixels());
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  return true;
}

void UpdateTextureRect(const moObject &obj, int32_t slot, const TexelRect &rect) {
  if (!obj.paintLayer || obj.paintLayer->image.empty())
    return;
  const ImageBuffer &image = obj.paintLayer->image;
  const int32_t x0 = std::max(rect.x, 0), y0 = std::max(rect.y, 0);
  const int32_t x1 = std::min(rect.x + rect.width, image.width());
  const int32_t y1 = std::min(rect.y + rect.height, image.height());
  if (x1 <= x0 || y1 <= y0)
    return;
  glBindTexture(GL_TEXTURE_2D, paintTextureName(slot));
  glPixelStorei(GL_UNPACK_ROW_LENGTH, image.width());
  glPixelStorei(GL_UNPACK_SKIP_ROWS, y0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, x0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glTexSubImage2D(GL_TEXTURE_2D, 0, x0, y0, x1 - x0, y1 - y0, GL_RGBA, GL_UNSIGNED_BYTE,
                  image.pixels());
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
}

void UpdateTextureRects(const moObject &obj, int32_t slot, std::vector<TexelRect> rects) {
  std::sort(rects.begin(), rects.end(), [](const TexelRect &a, const TexelRect &b) {
    return a.y != b.y ? a.y < b.y : a.height != b.height ? a.height < b.height : a.x < b.x;
  });
  TexelRect run;
  for (const TexelRect &r : rects) {
    if (r.empty())
      continue;
    if (!run.empty() && r.y == run.y && r.height == run.height &&
        r.x <= run.x + run.width + kMergeGap) {
      run.width = std::max(run.width, r.x + r.width - run.x);
      continue;
    }
    UpdateTextureRect(obj, slot, run);
    run = r;
  }
  UpdateTextureRect(obj, slot, run);
}

void DeleteTexture(int32_t slot) {
  const GLuint name = paintTextureName(slot);
  glBindTexture(GL_TEXTURE_2D, name);
  glDeleteTextures(1, &name);
}
