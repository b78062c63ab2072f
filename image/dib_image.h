// DibImage: a Windows or OS/2 device-independent bitmap as stored in a BMP file — the 40-byte
// information header, the colour table and the pixel rows exactly as stored.
#pragma once

#include "image/image_buffer.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

struct moBMP_INFOHEADER {
  uint32_t size = 0;
  int32_t width = 0;
  int32_t height = 0; // negative: rows stored top-down
  uint16_t planes = 0;
  uint16_t bitCount = 0;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t clrUsed = 0;
  uint32_t clrImportant = 0;
};

class DibImage {
public:
  // Parses a whole BMP file held in memory: uncompressed 1, 4, 8, 16, 24 and 32 bits per pixel,
  // and 16 or 32 with bit-field masks. On failure (including run-length and other encodings)
  // prints the reason on std::cerr and returns false. Sizes are checked against the image limits
  // and against the bytes actually present before anything is allocated.
  bool read(const uint8_t *data, size_t size);

  // Converts a bitmap that read() accepted into `image` (row 0 at the bottom, alpha 255). Palette
  // indices outside the colour table give black pixels. False, with a message, when the pixel
  // array cannot be allocated.
  bool toImage(ImageBuffer &image) const;

  const moBMP_INFOHEADER &header() const { return header_; }

private:
  uint32_t colorAt(const uint8_t *storedRow, int32_t x) const;

  moBMP_INFOHEADER header_;
  std::vector<uint32_t> colors_;    // the colour table as RGBA pixels
  std::array<uint32_t, 3> masks_{}; // red, green, blue of 16- and 32-bit pixels
  const uint8_t *bits_ = nullptr;   // the pixel rows, pointing into the caller's bytes
  size_t bitsSize_ = 0;
  size_t stride_ = 0; // bytes per stored row
};
