#include "image_test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include <gtest/gtest.h>

ImageBuffer testPicture(int32_t width, int32_t height) {
  ImageBuffer image(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      image.at(x, y) =
          packRgba(uint8_t(x * 5 + y), uint8_t(y * 5 + x * 3), uint8_t(11 + x + y * 2));
  return image;
}

std::string tempPath(const std::string &name) {
  return ::testing::TempDir() + "morvo_" + std::to_string(::getpid()) + "_" + name;
}

std::vector<uint8_t> fileBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string &path, const std::vector<uint8_t> &bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
}

bool fileExists(const std::string &path) { return std::filesystem::exists(path); }

bool samePixels(const ImageBuffer &a, const ImageBuffer &b, int tolerance) {
  if (a.width() != b.width() || a.height() != b.height())
    return false;
  for (int32_t i = 0; i < a.pixelCount(); ++i) {
    const uint32_t p = a.pixels()[i], q = b.pixels()[i];
    if (std::abs(redOf(p) - redOf(q)) > tolerance ||
        std::abs(greenOf(p) - greenOf(q)) > tolerance ||
        std::abs(blueOf(p) - blueOf(q)) > tolerance || alphaOf(p) != alphaOf(q))
      return false;
  }
  return true;
}

bool flippedPixels(const ImageBuffer &a, const ImageBuffer &b) {
  if (a.width() != b.width() || a.height() != b.height())
    return false;
  for (int32_t y = 0; y < a.height(); ++y)
    for (int32_t x = 0; x < a.width(); ++x)
      if (a.at(x, y) != b.at(x, a.height() - 1 - y))
        return false;
  return true;
}
