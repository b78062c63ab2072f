// Shared body of the image fuzz targets: one load of the input as the given image type. Messages
// are silenced so the fuzzer is not slowed by them.
#pragma once

#include "image/image_file.h"

#include <cstddef>
#include <cstdint>
#include <iostream>

inline int fuzzImageLoad(int type, const uint8_t *data, size_t size) {
  static const bool silenced = (std::cerr.rdbuf(nullptr), true);
  (void)silenced;
  ImageBuffer image;
  // The low bit of the size picks the row-order flag, so both orders get exercised.
  loadImageFromMemory(image, data, size, type, (size & 1) != 0, "fuzz");
  return 0;
}
