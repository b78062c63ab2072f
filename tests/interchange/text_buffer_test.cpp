#include "interchange/text_buffer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

TEST(TextBuffer, AppendsAfterExistingTextAndKeepsOnlyWhatWasWritten) {
  std::string out = "head;";
  std::string expected = out;
  {
    TextBuffer text(out);
    text.reserve(3); // less than is written: growing later must keep the text
    for (int i = 0; i < 2000; ++i) {
      text += "v ";
      text.appendFloat(0.1f * float(i), 6);
      text += ' ';
      text.appendInt(-int64_t(i) * 100000007);
      text += '\n';
      char number[32];
      std::snprintf(number, sizeof number, "%g", double(0.1f * float(i)));
      expected += "v " + std::string(number) + ' ' + std::to_string(-int64_t(i) * 100000007) + '\n';
    }
  }
  EXPECT_EQ(out, expected);
}

// Every float written with six significant digits reads exactly as C's "%g" writes it: across
// the exponent range, at the switches between fixed and exponent form, and for numbers whose
// shortest form is longer than six digits.
TEST(TextBuffer, FloatsAreWrittenAsPrintfWritesThem) {
  std::vector<float> values = {0.0f,          -0.0f,     1.0f,         -1.0f,      0.5f,
                               0.1f,          1e-4f,     9.99999e-5f,  1e-5f,      123456.0f,
                               999999.0f,     999999.5f, 1e6f,         1234567.0f, 100000.0f,
                               3.4028235e38f, 1.4e-45f,  0.333333343f, 2.5e-7f};
  uint32_t bits = 12345;
  for (int i = 0; i < 200000; ++i) {
    bits = bits * 1664525u + 1013904223u; // every bit pattern is a candidate
    float f;
    std::memcpy(&f, &bits, sizeof f);
    if (std::isfinite(f))
      values.push_back(f);
    values.push_back(float(int32_t(bits % 2000001) - 1000000) / 1000.0f); // model-like numbers
  }
  std::string out, expected;
  {
    TextBuffer text(out);
    for (float f : values) {
      text.appendFloat(f, 6);
      text += ' ';
      char number[64];
      std::snprintf(number, sizeof number, "%g", double(f));
      expected += std::string(number) + ' ';
    }
  }
  EXPECT_EQ(out, expected);
}

} // namespace
