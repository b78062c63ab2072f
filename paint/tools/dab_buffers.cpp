#include "paint/tools/dab_buffers.h"

#include "image/image_buffer.h"

#include <cmath>

bool DabBuffers::fit(int32_t w, int32_t h) {
  w = std::max(w, 1);
  h = std::max(h, 1);
  spacing = std::max(1, w / 6);
  if (w == width && h == height)
    return false;
  width = w;
  height = h;
  const size_t n = size_t(w) * size_t(h);
  mask.assign(n, 0);
  colour.assign(n, 0);
  display.assign(n, 0);
  return true;
}

void buildBrushMask(DabBuffers &dab, float hardness, int32_t opacity) {
  const double a = dab.width / 2.0, d = a * double(hardness), g = 1.0 / (a - d + 0.1);
  for (int32_t i = 0; i < dab.height; ++i)
    for (int32_t j = 0; j < dab.width; ++j) {
      const double x = j + 0.5 - a, y = i + 0.5 - a, r2 = x * x + y * y;
      double m = 0;
      if (r2 <= d * d)
        m = opacity;
      else if (r2 <= a * a)
        m = std::trunc((std::cos((std::sqrt(r2) - d) * g * M_PI) + 1.2) * opacity * 0.454545);
      dab.mask[size_t(i) * size_t(dab.width) + size_t(j)] = uint8_t(std::clamp(m, 0.0, 255.0));
    }
}

uint32_t blendColour(uint32_t v, uint32_t c, int64_t num, int64_t den, uint8_t alpha) {
  // 32-bit arithmetic suffices (255 x den stays below 2^32 for den <= 2^24) and divides faster.
  const uint32_t n = uint32_t(num), d = uint32_t(den);
  const auto mix = [n, d](uint8_t a, uint8_t b) { return uint8_t((a * (d - n) + b * n) / d); };
  return packRgba(mix(redOf(v), redOf(c)), mix(greenOf(v), greenOf(c)), mix(blueOf(v), blueOf(c)),
                  alpha);
}
