// VRML files from untrusted bytes (see model_format_fuzz.h).
#include "fuzz/model_format_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  return model_format_fuzz::run(".wrl", data, size, model_format_fuzz::Oracle::SameObjects);
}
