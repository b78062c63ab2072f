// The per-format readers and encoders behind image_file.h. Each reader decodes bytes held in
// memory (`name` labels its messages); each encoder turns an image into the bytes of a file and
// prints nothing: on failure it returns false with a one-line reason in `error`. Files are
// written by image_file.cpp, so that every format is saved the same safe way.
#pragma once

#include "image/image_buffer.h"
#include "image/image_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads the whole file at `path` into `bytes`. False when it cannot be opened or read, or is
// larger than kMaxImageFileBytes; prints nothing, so each format can word its own message.
constexpr uint64_t kMaxImageFileBytes = uint64_t(1) << 30;
bool readFileBytes(const std::string &path, std::vector<uint8_t> &bytes);

// The memory row an encoder stores as the file's row i.
inline int32_t storedRow(const ImageBuffer &image, RowOrder order, int32_t i) {
  return order == RowOrder::kTopFirst ? image.height() - 1 - i : i;
}

bool readJpeg(ImageBuffer &image, const uint8_t *data, size_t size, const std::string &name);
bool encodeJpeg(const ImageBuffer &image, std::string &bytes, std::string &error);

bool readPng(ImageBuffer &image, const uint8_t *data, size_t size, bool fileOrder,
             const std::string &name);
bool encodePng(const ImageBuffer &image, RowOrder order, std::string &bytes, std::string &error);

bool readTiff(ImageBuffer &image, const uint8_t *data, size_t size, const std::string &name);
bool encodeTiff(const ImageBuffer &image, RowOrder order, std::string &bytes, std::string &error);

bool readPpm(ImageBuffer &image, const uint8_t *data, size_t size, bool firstRowLast,
             const std::string &name);
bool encodePpm(const ImageBuffer &image, RowOrder order, std::string &bytes);

bool readBmp(ImageBuffer &image, const uint8_t *data, size_t size, const std::string &name);
bool encodeBmp(const ImageBuffer &image, std::string &bytes);

// Prints "<name>: unsupported image size W x H" when width x height is outside the limits and
// returns false; true otherwise.
bool checkImageSize(int64_t width, int64_t height, const std::string &name);
