// BMP: read through DibImage; written as an uncompressed 24-bit Windows bitmap.
#include "image/dib_image.h"
#include "image/image_codecs.h"

#include <cstdio>
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

int writeBmp(const ImageBuffer &image, const std::string &path) {
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

  FILE *file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    std::cerr << "Cannot open file " << path << "\n";
    return 0;
  }
  std::fwrite(header, 1, sizeof header, file);
  // Stored rows run bottom-up, like memory rows: row 0 first.
  std::vector<uint8_t> stored(stride, 0);
  for (int32_t y = 0; y < image.height(); ++y) {
    const uint32_t *row = image.row(y);
    for (int32_t x = 0; x < image.width(); ++x) {
      stored[3 * size_t(x)] = blueOf(row[x]);
      stored[3 * size_t(x) + 1] = greenOf(row[x]);
      stored[3 * size_t(x) + 2] = redOf(row[x]);
    }
    if (std::fwrite(stored.data(), 1, stride, file) != stride)
      break;
  }
  return finishWrite(file, true, path);
}
