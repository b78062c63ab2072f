#include "core/paint_layer.h"

#include "core/mesh.h"

#include <algorithm>
#include <cmath>
#include <cstring>

void PaintLayer::copyFrom(const PaintLayer &other) {
  elementCount = other.elementCount;
  coordinates = other.coordinates;
  if (!other.image.empty() && image.reshape(other.image.width(), other.image.height()))
    std::memcpy(image.pixels(), other.image.pixels(),
                size_t(other.image.pixelCount()) * sizeof(uint32_t));
}

void PaintLayer::triangleCornerColors(const moObject &obj, int32_t t, moColor out[3]) const {
  float uv[6];
  cornerTexCoords(obj, t, uv);
  for (int k = 0; k < 3; ++k) {
    if (image.empty()) {
      out[k] = kWhite;
      continue;
    }
    const auto texel = [](float c, int32_t size) {
      const float scaled = std::isfinite(c) ? std::floor(c * float(size)) : 0.0f;
      return std::clamp(int32_t(std::clamp(scaled, -1.0f, float(size))), 0, size - 1);
    };
    const uint32_t p =
        image.at(texel(uv[2 * k], image.width()), texel(uv[2 * k + 1], image.height()));
    out[k] = {redOf(p), greenOf(p), blueOf(p), alphaOf(p)};
  }
}

void convertPaintToCornerColors(moObject &obj) {
  if (!obj.paintLayer)
    return;
  const int32_t triangles = obj.triangleFaces.count();
  for (int32_t t = 0; t < triangles && 3 * t + 2 < obj.triangleVertices.count(); ++t) {
    moColor colors[3];
    obj.paintLayer->triangleCornerColors(obj, t, colors);
    for (int32_t k = 0; k < 3; ++k)
      obj.setCornerColor(obj.triangleVertices[3 * t + k], obj.triangleFaces[t], colors[k]);
  }
}
