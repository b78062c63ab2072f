// BMP: read through DibImage; written as an uncompressed 24-bit Windows bitmap.
#include "image/dib_image.h"
#include "image/image_codecs.h"

#include <iostream>

bool readBmp(ImageBuffer &image, const uint8_t *data, size_t size, const std::string &name) {
  DibImage dib;
  if (!dib.read(data, size) || !dib.toImage(image)) {
    std::cerr << "Trouble loading BMP image " << name << "\n";
    return false;
  }
  return true;
}

namespace {

void putLe16(uint8_t *p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
void putLe32(uint8_t *p, uint32_t v) {
  putLe16(p, v);
  putLe16(p + 2, v >> 16);
}

} // namespace

bool encodeBmp(const ImageBuffer &image, std::string &bytes) {
  const size_t stride = (size_t(image.width()) * 3 + 3) / 4 * 4;
  const size_t bitsSize = stride * size_t(image.height());
  constexpr uint32_t kHeadersSize = 14 + 40;
  uint8_t header[kHeadersSize] = {'B', 'M'};
  putLe32(header + 2, uint32_t(kHeadersSize + bitsSize));
  putLe32(header + 10, kHeadersSize);
  putLe32(header + 14, 40);
  putLe32(header + 18, uint32_t(image.width()));
  putLe32(header + 22, uint32_t(image.height()));
  putLe16(header + 26, 1);  // planes
  putLe16(header + 28, 24); // bits per pixel; compression and the rest stay 0
  putLe32(header + 34, uint32_t(bitsSize));

  bytes.assign(reinterpret_cast<const char *>(header), sizeof header);
  bytes.reserve(sizeof header + bitsSize);
  // Stored rows run bottom-up, like memory rows: row 0 first.
  std::string stored(stride, '\0');
  for (int32_t y = 0; y < image.height(); ++y) {
    const uint32_t *row = image.row(y);
    for (int32_t x = 0; x < image.width(); ++x) {
      stored[3 * size_t(x)] = char(blueOf(row[x]));
      stored[3 * size_t(x) + 1] = char(greenOf(row[x]));
      stored[3 * size_t(x) + 2] = char(redOf(row[x]));
    }
    bytes += stored;
  }
  return true;
}
