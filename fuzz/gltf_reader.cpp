// glTF files (JSON or binary) from untrusted bytes, the same bytes standing for every buffer and
// image file they name (see model_format_fuzz.h). What is read is written back as ".glb".
#include "fuzz/model_format_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  return model_format_fuzz::run(".glb", data, size, model_format_fuzz::Oracle::OneBodyPerObject,
                                true);
}
