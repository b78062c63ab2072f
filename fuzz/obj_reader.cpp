// OBJ files from untrusted bytes, the same bytes standing for the material library the file
// names (see model_format_fuzz.h).
#include "fuzz/model_format_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  return model_format_fuzz::run(".obj", data, size, model_format_fuzz::Oracle::SameObjects, true);
}
