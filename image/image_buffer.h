// The in-memory image used for textures and captures: 32-bit pixels with red in the lowest byte,
// then green, blue and alpha in the highest byte; rows run from the bottom of the picture (row 0)
// to the top.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// Largest image any reader accepts or any buffer allocates: at most kMaxImageSide pixels on a
// side and kMaxImagePixels pixels in all (8192 x 8192, 256 MiB of pixels). Sizes read from a
// file are checked against these limits before anything is allocated for them.
constexpr int32_t kMaxImageSide = 16384;
constexpr int64_t kMaxImagePixels = int64_t(8192) * 8192;

// True when width x height is a non-empty image within the limits above.
bool imageSizeSupported(int64_t width, int64_t height);

constexpr uint32_t packRgba(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
  return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16 | uint32_t(a) << 24;
}
constexpr uint8_t redOf(uint32_t p) { return uint8_t(p); }
constexpr uint8_t greenOf(uint32_t p) { return uint8_t(p >> 8); }
constexpr uint8_t blueOf(uint32_t p) { return uint8_t(p >> 16); }
constexpr uint8_t alphaOf(uint32_t p) { return uint8_t(p >> 24); }

class ImageBuffer {
public:
  // An empty buffer: no pixels, size 0 x 0.
  ImageBuffer() = default;
  // An owned, zero-filled width x height image. Throws std::bad_alloc when the size is not
  // supported or memory runs out.
  ImageBuffer(int32_t width, int32_t height);
  // Wraps the caller's array of width x height pixels without taking ownership; the array must
  // outlive the buffer or its next size change.
  ImageBuffer(int32_t width, int32_t height, uint32_t *pixels);
  ImageBuffer(const ImageBuffer &) = delete;
  ImageBuffer &operator=(const ImageBuffer &) = delete;
  ImageBuffer(ImageBuffer &&other) noexcept;
  ImageBuffer &operator=(ImageBuffer &&other) noexcept;
  ~ImageBuffer();

  int32_t height() const { return height_; }
  int32_t width() const { return width_; }
  int32_t pixelCount() const { return pixelCount_; }
  bool ownsPixels() const { return ownsPixels_; }
  bool empty() const { return pixels_ == nullptr || pixelCount_ == 0; }
  uint32_t *pixels() { return pixels_; }
  const uint32_t *pixels() const { return pixels_; }
  // Row `y` (0 = bottom) of the picture; needs 0 <= y < height().
  uint32_t *row(int32_t y) { return pixels_ + size_t(y) * size_t(width_); }
  const uint32_t *row(int32_t y) const { return pixels_ + size_t(y) * size_t(width_); }
  uint32_t &at(int32_t x, int32_t y) { return row(y)[x]; }
  uint32_t at(int32_t x, int32_t y) const { return row(y)[x]; }

  // Makes the buffer width x height for a load. The pixel array is kept when the size is
  // unchanged; otherwise an owned array is released and a new owned, zero-filled one allocated.
  // Returns false, leaving the buffer as it was, when the size is not supported or memory runs
  // out.
  bool reshape(int32_t width, int32_t height);

private:
  void release();

  int32_t height_ = 0;
  int32_t width_ = 0;
  int32_t pixelCount_ = 0;
  uint32_t *pixels_ = nullptr;
  bool ownsPixels_ = false;
};
