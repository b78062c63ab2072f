#include "image/dib_image.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <new>

namespace {

uint16_t le16(const uint8_t *p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t le32(const uint8_t *p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kCoreHeaderSize = 12;
constexpr uint32_t kUncompressed = 0;
constexpr uint32_t kBitFields = 3;

// Standard colour table length for palette bit counts, 0 for the others.
uint32_t standardColors(uint16_t bitCount) {
  switch (bitCount) {
  case 1:
    return 2;
  case 4:
    return 16;
  case 8:
    return 256;
  default:
    return 0;
  }
}

bool decodable(const moBMP_INFOHEADER &h) {
  const uint16_t b = h.bitCount;
  if (h.compression == kBitFields)
    return b == 16 || b == 32;
  return h.compression == kUncompressed &&
         (b == 1 || b == 4 || b == 8 || b == 16 || b == 24 || b == 32);
}

// One channel of a 16- or 32-bit pixel under its mask, scaled to 0..255.
uint8_t channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0)
    return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0)
    ++shift;
  const uint64_t top = mask >> shift;
  return uint8_t(uint64_t((pixel & mask) >> shift) * 255 / top);
}

} // namespace

bool DibImage::read(const uint8_t *data, size_t size) {
  if (size < kFileHeaderSize) {
    std::cerr << "Failed to read BMP.\n";
    return false;
  }
  if (le16(data) != 0x4D42) {
    std::cerr << "Not a bitmap file\n";
    return false;
  }
  const uint32_t fileSize = le32(data + 2);
  const uint32_t dataOffset = le32(data + 10);
  const uint8_t *h = data + kFileHeaderSize;
  const size_t afterFileHeader = size - kFileHeaderSize;
  const bool core = afterFileHeader >= 4 && le32(h) == kCoreHeaderSize;
  header_ = moBMP_INFOHEADER();
  if (core) {
    if (afterFileHeader < kCoreHeaderSize) {
      std::cerr << "Failed to read moBMP_COREHEADER\n";
      return false;
    }
    header_.size = kCoreHeaderSize;
    header_.width = le16(h + 4);
    header_.height = le16(h + 6);
    header_.planes = le16(h + 8);
    header_.bitCount = le16(h + 10);
  } else {
    if (afterFileHeader < kInfoHeaderSize) {
      std::cerr << "Failed to read moBMP_INFOHEADER\n";
      return false;
    }
    header_.size = le32(h);
    if (header_.size != kInfoHeaderSize) {
      std::cerr << "File is not Windows or PM DIB format\n";
      return false;
    }
    header_.width = int32_t(le32(h + 4));
    header_.height = int32_t(le32(h + 8));
    header_.planes = le16(h + 12);
    header_.bitCount = le16(h + 14);
    header_.compression = le32(h + 16);
    header_.sizeImage = le32(h + 20);
    header_.xPelsPerMeter = int32_t(le32(h + 24));
    header_.yPelsPerMeter = int32_t(le32(h + 28));
    header_.clrUsed = le32(h + 32);
    header_.clrImportant = le32(h + 36);
  }
  const int64_t height = std::llabs(int64_t(header_.height));
  if (!imageSizeSupported(header_.width, height)) {
    std::cerr << "Unsupported bitmap size " << header_.width << " x " << height << "\n";
    return false;
  }
  // Run-length and other encodings are refused rather than loaded as a black picture.
  if (!decodable(header_)) {
    std::cerr << "Unsupported bitmap encoding: compression " << header_.compression << ", "
              << header_.bitCount << " bits per pixel\n";
    return false;
  }

  // Colour table: the standard length for palette images; a non-zero colours-used field of a
  // Windows header replaces it, limited to the standard length for palette images.
  uint32_t colorCount = standardColors(header_.bitCount);
  if (!core && header_.clrUsed != 0)
    colorCount = colorCount != 0 && header_.clrUsed > colorCount ? colorCount : header_.clrUsed;
  const size_t entrySize = core ? 3 : 4;
  const size_t tableStart = kFileHeaderSize + header_.size;
  if (uint64_t(colorCount) * entrySize > size - tableStart) {
    std::cerr << (core ? "Failed to read moRGBTRIPLE\n" : "Failed to read color table\n");
    return false;
  }
  try {
    colors_.assign(colorCount, 0);
  } catch (const std::bad_alloc &) {
    std::cerr << "Out of memory for DIB header\n";
    return false;
  }
  for (uint32_t i = 0; i < colorCount; ++i) {
    const uint8_t *e = data + tableStart + i * entrySize;
    colors_[i] = packRgba(e[2], e[1], e[0]);
  }
  // Channel masks of 16- and 32-bit pixels: given after the header for bit fields, otherwise
  // 5-5-5 and 8-8-8.
  if (header_.compression == kBitFields) {
    if (size - tableStart < 12) {
      std::cerr << "Failed to read color masks\n";
      return false;
    }
    for (int i = 0; i < 3; ++i)
      masks_[i] = le32(data + tableStart + 4 * i);
  } else if (header_.bitCount == 16) {
    masks_ = {0x7c00, 0x03e0, 0x001f};
  } else {
    masks_ = {0xff0000, 0x00ff00, 0x0000ff};
  }

  // The pixel data runs from the data offset to the file size given in the file header.
  const int64_t wanted = int64_t(fileSize) - int64_t(dataOffset);
  const int64_t present = dataOffset <= size ? int64_t(size - dataOffset) : 0;
  if (wanted < 0 || present < wanted) {
    std::cerr << "Failed to read bits, read = " << (wanted < 0 ? 0 : std::min(present, wanted))
              << ", wanted = " << wanted << "\n";
    return false;
  }
  bits_ = data + dataOffset;
  bitsSize_ = size_t(wanted);
  stride_ = ((size_t(header_.width) * header_.bitCount + 31) / 32) * 4;
  if (bitsSize_ / stride_ < size_t(height)) {
    std::cerr << "Bitmap rows need " << stride_ * size_t(height) << " bytes, the file has "
              << bitsSize_ << "\n";
    return false;
  }
  return true;
}

uint32_t DibImage::colorAt(const uint8_t *storedRow, int32_t x) const {
  uint32_t index = 0;
  switch (header_.bitCount) {
  case 1:
    index = (storedRow[x / 8] >> (7 - x % 8)) & 1;
    break;
  case 4:
    index = x % 2 == 0 ? storedRow[x / 2] >> 4 : storedRow[x / 2] & 0x0f;
    break;
  case 8:
    index = storedRow[x];
    break;
  case 16:
  case 32: {
    const uint8_t *p = storedRow + header_.bitCount / 8 * size_t(x);
    const uint32_t v = header_.bitCount == 16 ? uint32_t(le16(p)) : le32(p);
    return packRgba(channel(v, masks_[0]), channel(v, masks_[1]), channel(v, masks_[2]));
  }
  default: { // 24 bits: blue, green, red
    const uint8_t *p = storedRow + 3 * size_t(x);
    return packRgba(p[2], p[1], p[0]);
  }
  }
  return index < colors_.size() ? colors_[index] : packRgba(0, 0, 0);
}

bool DibImage::toImage(ImageBuffer &image) const {
  const bool topDown = header_.height < 0;
  const int32_t height = topDown ? -header_.height : header_.height;
  if (!image.reshape(header_.width, height)) {
    std::cerr << "Out of memory for DIB bits\n";
    return false;
  }
  // Stored rows run bottom-up (or top-down for a negative height); memory row 0 is the bottom.
  for (int32_t y = 0; y < height; ++y) {
    uint32_t *row = image.row(y);
    const uint8_t *stored = bits_ + size_t(topDown ? height - 1 - y : y) * stride_;
    for (int32_t x = 0; x < header_.width; ++x)
      row[x] = colorAt(stored, x);
  }
  return true;
}
