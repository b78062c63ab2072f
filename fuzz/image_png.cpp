// Fuzz target: untrusted bytes through the PNG reader.
#include "image_fuzz_load.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  return fuzzImageLoad(kImagePng, data, size);
}
