// The per-format readers and writers behind image_file.h. Each reader decodes bytes held in
// memory (`name` labels its messages); each writer creates the file at `path`. Results and
// messages are as described in image_file.h.
#pragma once

#include "image/image_buffer.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Reads the whole file at `path` into `bytes`. False when it cannot be opened or read, or is
// larger than kMaxImageFileBytes; prints nothing, so each format can word its own message.
constexpr uint64_t kMaxImageFileBytes = uint64_t(1) << 30;
bool readFileBytes(const std::string &path, std::vector<uint8_t> &bytes);

// Ends a writer: 1 when ok, else 0 with "Error writing to file <path>" (and ": detail" when
// there is one) on std::cerr.
int reportWrite(bool ok, const std::string &path, const std::string &detail = {});
// Closes the stdio file a writer filled, then reportWrite: a stream error or a failed close
// also counts as a failed write.
int finishWrite(std::FILE *file, bool ok, const std::string &path, const std::string &detail = {});

bool readJpeg(ImageBuffer &image, const uint8_t *data, size_t size, const std::string &name);
int writeJpeg(const ImageBuffer &image, const std::string &path);

bool readPng(ImageBuffer &image, const uint8_t *data, size_t size, bool fileOrder,
             const std::string &name);
int writePng(const ImageBuffer &image, const std::string &path, bool rowZeroFirst);

bool readTiff(ImageBuffer &image, const uint8_t *data, size_t size, const std::string &name);
int writeTiff(const ImageBuffer &image, const std::string &path, bool rowZeroLast);

bool readPpm(ImageBuffer &image, const uint8_t *data, size_t size, bool firstRowLast,
             const std::string &name);
int writePpm(const ImageBuffer &image, const std::string &path, bool lastRowFirst);

bool readBmp(ImageBuffer &image, const uint8_t *data, size_t size, const std::string &name);
int writeBmp(const ImageBuffer &image, const std::string &path);

// Prints "<name>: unsupported image size W x H" when width x height is outside the limits and
// returns false; true otherwise.
bool checkImageSize(int64_t width, int64_t height, const std::string &name);
