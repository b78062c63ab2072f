#include "image/image_buffer.h"

#include <new>
#include <utility>

bool imageSizeSupported(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height <= kMaxImagePixels;
}

ImageBuffer::ImageBuffer(int32_t width, int32_t height) {
  if (!reshape(width, height))
    throw std::bad_alloc();
}

ImageBuffer::ImageBuffer(int32_t width, int32_t height, uint32_t *pixels)
    : height_(height), width_(width), pixelCount_(width * height), pixels_(pixels),
      ownsPixels_(false) {}

ImageBuffer::ImageBuffer(ImageBuffer &&other) noexcept { *this = std::move(other); }

ImageBuffer &ImageBuffer::operator=(ImageBuffer &&other) noexcept {
  if (this != &other) {
    release();
    height_ = std::exchange(other.height_, 0);
    width_ = std::exchange(other.width_, 0);
    pixelCount_ = std::exchange(other.pixelCount_, 0);
    pixels_ = std::exchange(other.pixels_, nullptr);
    ownsPixels_ = std::exchange(other.ownsPixels_, false);
  }
  return *this;
}

ImageBuffer::~ImageBuffer() { release(); }

void ImageBuffer::release() {
  if (ownsPixels_)
    delete[] pixels_;
  pixels_ = nullptr;
  ownsPixels_ = false;
}

bool ImageBuffer::reshape(int32_t width, int32_t height) {
  if (!imageSizeSupported(width, height))
    return false;
  if (pixels_ != nullptr && width == width_ && height == height_)
    return true;
  uint32_t *fresh = new (std::nothrow) uint32_t[size_t(width) * size_t(height)]();
  if (fresh == nullptr)
    return false;
  release();
  height_ = height;
  width_ = width;
  pixelCount_ = width * height;
  pixels_ = fresh;
  ownsPixels_ = true;
  return true;
}
