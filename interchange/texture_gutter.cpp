#include "interchange/texture_gutter.h"

#include <vector>

namespace {

// The texels the paint triangles use, by index; false when none is used.
bool usedTexels(const moObject &obj, int32_t width, int32_t height, std::vector<uint8_t> &used) {
  used.assign(size_t(width) * size_t(height), 0);
  bool any = false;
  for (int32_t t = 0; t < obj.triangleFaces.count(); ++t) {
    const TexelRect r = obj.paintLayer->texelRect(obj, t);
    for (int32_t y = std::max(r.y, 0); y < std::min(r.y + r.height, height); ++y)
      for (int32_t x = std::max(r.x, 0); x < std::min(r.x + r.width, width); ++x) {
        used[size_t(y) * size_t(width) + size_t(x)] = 1;
        any = true;
      }
  }
  return any;
}

} // namespace

void fillTextureGutter(const moObject &obj, ImageBuffer &image) {
  const int32_t width = image.width(), height = image.height();
  std::vector<uint8_t> done;
  if (!obj.paintLayer || obj.paintLayer->kind() != PaintLayer::kAtlas ||
      obj.paintLayer->image.width() != width || obj.paintLayer->image.height() != height ||
      !usedTexels(obj, width, height, done))
    return;
  // Breadth first from every used texel at once: each texel is reached first from a nearest
  // one, whose colour it takes.
  std::vector<int32_t> front;
  for (int32_t i = 0; i < width * height; ++i)
    if (done[size_t(i)])
      front.push_back(i);
  uint32_t *pixels = image.pixels();
  for (size_t next = 0; next < front.size(); ++next) {
    const int32_t x = front[next] % width, y = front[next] / width;
    for (int32_t dy = -1; dy <= 1; ++dy)
      for (int32_t dx = -1; dx <= 1; ++dx) {
        const int32_t nx = x + dx, ny = y + dy;
        if (nx < 0 || ny < 0 || nx >= width || ny >= height || done[size_t(ny * width + nx)])
          continue;
        done[size_t(ny * width + nx)] = 1;
        pixels[ny * width + nx] = pixels[front[next]];
        front.push_back(ny * width + nx);
      }
  }
}
