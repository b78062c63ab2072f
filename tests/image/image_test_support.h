// Helpers shared by the image tests: small pictures built in code, temporary paths, file bytes.
#pragma once

#include "image/image_buffer.h"

#include <cstdint>
#include <string>
#include <vector>

// A smooth width x height picture whose every pixel differs (for sizes up to 40 x 40), alpha
// 255.
ImageBuffer testPicture(int32_t width, int32_t height);
// A path under the test temp folder, unique per name.
std::string tempPath(const std::string &name);
std::vector<uint8_t> fileBytes(const std::string &path);
void writeBytes(const std::string &path, const std::vector<uint8_t> &bytes);
bool fileExists(const std::string &path);
// True when both images have the same size and every pixel matches; with a tolerance, each
// colour channel may differ by that much.
bool samePixels(const ImageBuffer &a, const ImageBuffer &b, int tolerance = 0);
// b is a with its rows in reverse order.
bool flippedPixels(const ImageBuffer &a, const ImageBuffer &b);
