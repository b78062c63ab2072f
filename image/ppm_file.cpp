// PPM ("P6" binary and "P3" text, maximum value below 256), read and written by our own code.
#include "image/image_codecs.h"

#include <cstdio>
#include <iostream>

namespace {

// A cursor over the file's bytes; reads past the end give -1.
class ByteCursor {
public:
  ByteCursor(const uint8_t *data, size_t size) : data_(data), size_(size) {}
  int peek() const { return pos_ < size_ ? data_[pos_] : -1; }
  int get() { return pos_ < size_ ? data_[pos_++] : -1; }
  size_t remaining() const { return size_ - pos_; }
  const uint8_t *here() const { return data_ + pos_; }
  void skip(size_t n) { pos_ += n; }

private:
  const uint8_t *data_;
  size_t size_;
  size_t pos_ = 0;
};

bool isBlank(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

void skipBlanks(ByteCursor &in) {
  while (isBlank(in.peek()))
    in.get();
}

// Skips white space, then every line that starts with '#' (and the white space after it).
void skipBlanksAndComments(ByteCursor &in) {
  skipBlanks(in);
  while (in.peek() == '#') {
    int c;
    do
      c = in.get();
    while (c != '\n' && c != -1);
    skipBlanks(in);
  }
}

// Reads an unsigned decimal number no larger than `limit`; false when there is none or it is
// larger.
bool readNumber(ByteCursor &in, int64_t limit, int64_t &value) {
  if (in.peek() == '+')
    in.get();
  if (in.peek() < '0' || in.peek() > '9')
    return false;
  value = 0;
  while (in.peek() >= '0' && in.peek() <= '9') {
    value = value * 10 + (in.get() - '0');
    if (value > limit)
      return false;
  }
  return true;
}

} // namespace

bool readPpm(ImageBuffer &image, const uint8_t *data, size_t size, bool firstRowLast,
             const std::string &name) {
  ByteCursor in(data, size);
  const int p = in.get();
  const int kind = in.get();
  if ((p != 'P' && p != 'p') || (kind != '6' && kind != '3')) {
    std::cerr << name << " is not PPM\n";
    return false;
  }
  int64_t width = 0, height = 0, maxValue = 0;
  // Sizes beyond the image limits are refused, so larger numbers need not be read exactly.
  constexpr int64_t kNumberLimit = int64_t(1) << 40;
  skipBlanksAndComments(in);
  bool ok = readNumber(in, kNumberLimit, width);
  skipBlanksAndComments(in);
  ok = ok && readNumber(in, kNumberLimit, height);
  skipBlanksAndComments(in);
  ok = ok && readNumber(in, kNumberLimit, maxValue);
  if (!ok) {
    std::cerr << name << ": bad PPM header\n";
    return false;
  }
  if (maxValue >= 256) {
    std::cerr << "Un-supported pixel type\n";
    return false;
  }
  if (!checkImageSize(width, height, name))
    return false;
  if (!isBlank(in.get())) {
    std::cerr << name << ": bad PPM header\n";
    return false;
  }
  // A P6 sample takes one byte and a P3 sample at least a digit and a separator, so a file too
  // short for its size is refused before the pixels are allocated.
  const uint64_t samples = uint64_t(width) * uint64_t(height) * 3;
  if (in.remaining() < (kind == '6' ? samples : 2 * samples - 1)) {
    std::cerr << name << ": PPM pixel data is truncated\n";
    return false;
  }
  if (!image.reshape(int32_t(width), int32_t(height))) {
    std::cerr << "NULL pixel pointer " << name << "\n";
    return false;
  }
  for (int32_t i = 0; i < image.height(); ++i) {
    uint32_t *row = image.row(firstRowLast ? image.height() - 1 - i : i);
    for (int32_t x = 0; x < image.width(); ++x) {
      uint8_t rgb[3];
      if (kind == '6') {
        for (uint8_t &s : rgb)
          s = uint8_t(in.get());
      } else {
        for (uint8_t &s : rgb) {
          int64_t v = 0;
          skipBlanks(in);
          if (!readNumber(in, 255, v)) {
            std::cerr << name << ": bad PPM pixel data\n";
            return false;
          }
          s = uint8_t(v);
        }
      }
      row[x] = packRgba(rgb[0], rgb[1], rgb[2]);
    }
  }
  return true;
}

bool encodePpm(const ImageBuffer &image, RowOrder order, std::string &bytes) {
  bytes = "P6\n# CREATOR: Quillbert by Tervane Graphics\n" + std::to_string(image.width()) + " " +
          std::to_string(image.height()) + "\n255\n";
  bytes.reserve(bytes.size() + size_t(image.pixelCount()) * 3);
  for (int32_t i = 0; i < image.height(); ++i) {
    const uint32_t *row = image.row(storedRow(image, order, i));
    for (int32_t x = 0; x < image.width(); ++x)
      for (uint8_t sample : {redOf(row[x]), greenOf(row[x]), blueOf(row[x])})
        bytes.push_back(char(sample));
  }
  return true;
}
