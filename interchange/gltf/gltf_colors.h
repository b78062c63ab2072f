// glTF keeps base colours and vertex colours in linear light; the program's colours are the
// display (sRGB) values it draws. Both directions of that conversion, for values in 0..1.
#pragma once

#include <cmath>

inline float srgbToLinear(float c) {
  return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

inline float linearToSrgb(float c) {
  c = c < 0.0f ? 0.0f : c > 1.0f ? 1.0f : c;
  return c <= 0.0031308f ? c * 12.92f : 1.055f * std::pow(c, 1.0f / 2.4f) - 0.055f;
}
