// The --size WxH and --view NAME values of the morvo-cli commands that draw the scene.
#pragma once

#include <cstdint>
#include <string>

// Reads text as WxH into width and height. Returns an empty string for a size a picture can
// have, else the reason it is refused (width and height then hold no size to use).
std::string parseViewSize(const std::string &text, int32_t &width, int32_t &height);

// Reads a view name into the axis View::ViewAlong takes: +x 0, +y 1, +z 2, -x 7, -y 8, -z 9, and
// reset -1 (the camera as reset). Returns an empty string, or the reason it is refused (axis
// then unchanged).
std::string parseViewName(const std::string &text, int32_t &axis);
