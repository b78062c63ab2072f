#include "script/script_format.h"

#include <gtest/gtest.h>

namespace {

// A command of the code with arguments 1, 2, 3... cut to each field's width, and a text line
// where the layout has one.
ScriptCommand sample(uint8_t code) {
  ScriptCommand c;
  c.code = code;
  int32_t value = 1;
  for (const char *f = scriptLayout(code); *f; ++f) {
    if (*f == 'T') {
      c.lines.push_back("cube0 renamed");
    } else if (*f == 'N') {
      c.lines = {"first line", "", "third"};
      c.args.push_back(3);
    } else {
      c.args.push_back(*f == 'd' ? int32_t(0x80000000u | uint32_t(value)) : value * 37 % 256);
      ++value;
    }
  }
  return c;
}

std::vector<ScriptCommand> decodeAll(const std::string &bytes, std::string *error = nullptr) {
  ScriptReader reader(bytes);
  std::vector<ScriptCommand> out;
  ScriptCommand c;
  ScriptReader::Status s;
  while ((s = reader.next(c)) == ScriptReader::Status::Command)
    out.push_back(c);
  if (error)
    *error = s == ScriptReader::Status::Error ? reader.error() : "";
  return out;
}

TEST(ScriptFormat, EveryKnownCodeDecodesAsEncoded) {
  std::string bytes;
  std::vector<ScriptCommand> written;
  for (int code = 0; code < 256; ++code) {
    if (!scriptLayout(uint8_t(code)))
      continue;
    written.push_back(sample(uint8_t(code)));
    encodeScriptCommand(bytes, written.back());
  }
  EXPECT_EQ(written.size(), 92u); // every code of the format
  std::string error;
  EXPECT_EQ(decodeAll(bytes, &error), written);
  EXPECT_EQ(error, "");
}

TEST(ScriptFormat, LittleEndianHeaderAndArguments) {
  std::string bytes;
  encodeScriptHeader(bytes, 720, 486);
  ScriptCommand crease;
  crease.code = 123;
  crease.args = {60};
  encodeScriptCommand(bytes, crease);
  EXPECT_EQ(bytes, std::string("\xD0\x02\xE6\x01\x7B\x3C\x00\x00\x00", 9));
  ScriptReader reader(bytes);
  int32_t w = 0, h = 0;
  ASSERT_TRUE(reader.readHeader(w, h));
  EXPECT_EQ(w, 720);
  EXPECT_EQ(h, 486);
  ScriptCommand c;
  ASSERT_EQ(reader.next(c), ScriptReader::Status::Command);
  EXPECT_EQ(c, crease);
}

TEST(ScriptFormat, EveryTruncationEndsWithAnErrorAndNothingPastTheEnd) {
  std::string bytes;
  for (uint8_t code : {1, 12, 113, 120, 125, 131, 132})
    encodeScriptCommand(bytes, sample(code));
  const size_t whole = decodeAll(bytes).size();
  for (size_t n = 0; n < bytes.size(); ++n) {
    std::string error;
    // A copy of exactly n bytes, so that a read past the end is one past the buffer.
    const std::vector<ScriptCommand> got = decodeAll(bytes.substr(0, n), &error);
    EXPECT_LT(got.size(), whole) << n;
    if (!error.empty()) {
      EXPECT_TRUE(error == "the script ends inside a command" ||
                  error == "the script ends inside a text line")
          << error;
    }
  }
}

TEST(ScriptFormat, UnknownCodesTakeOnlyTheirOwnByte) {
  const std::vector<ScriptCommand> got = decodeAll(std::string("\x04\xFF\x1C", 3));
  ASSERT_EQ(got.size(), 3u);
  EXPECT_FALSE(got[0].known);
  EXPECT_FALSE(got[1].known);
  EXPECT_TRUE(got[2].known);
  EXPECT_EQ(got[2].code, 28);
}

TEST(ScriptFormat, LongLinesAndMessagesAreCut) {
  ScriptCommand message;
  message.code = 113;
  message.lines.assign(8, std::string(300, 'a'));
  std::string bytes;
  encodeScriptCommand(bytes, message);
  // A line the recorder would never write: 400 bytes, then the next command.
  bytes += std::string("\x83\x00\x00", 3) + std::string(400, 'n') + "\n\x1C";
  const std::vector<ScriptCommand> got = decodeAll(bytes);
  ASSERT_EQ(got.size(), 3u);
  ASSERT_EQ(got[0].lines.size(), 8u);
  EXPECT_EQ(got[0].lines[0].size(), kScriptLineLimit);
  EXPECT_EQ(joinScriptMessage(got[0].lines).size(), kScriptMessageLimit);
  EXPECT_EQ(got[1].lines.at(0), std::string(255, 'n'));
  EXPECT_EQ(got[2].code, 28);
  EXPECT_EQ(joinScriptMessage({"a", "b"}), "a\r\nb\r\n");
}

TEST(ScriptFormat, HugeLineCountRunsOnlyToTheEnd) {
  const std::string bytes = std::string("\x71\xFF\xFF", 3) + "one\ntwo\n";
  std::string error;
  EXPECT_TRUE(decodeAll(bytes, &error).empty());
  EXPECT_EQ(error, "the script ends inside a text line");
  ScriptReader shortHeader(std::string("\x01\x02\x03", 3));
  int32_t w, h;
  EXPECT_FALSE(shortHeader.readHeader(w, h));
  EXPECT_EQ(shortHeader.error(), "the script is too short for its header");
}

} // namespace
