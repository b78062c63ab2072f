#include "interchange/text_buffer.h"

#include <gtest/gtest.h>

#include <cstdio>

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

} // namespace
