// The tokens of a DirectX file body, from the text form or from the 2-byte token codes of the
// binary form, behind one interface: structure (names, braces, references) and data values
// (integers, reals, strings), with the separators between values skipped. Every read is
// bounds-checked; a token cut short or of the wrong kind is a failure, never a read past the
// bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class XTokens {
public:
  enum Kind { kEnd, kName, kOpen, kClose, kOther };

  // bytes: the file after its 16-byte header; binary for the "bin" form; doubles when binary
  // reals are 64 bits wide.
  XTokens(std::string_view bytes, bool binary, bool doubles)
      : bytes_(bytes), binary_(binary), doubles_(doubles) {}

  // The next structural token, skipping separators, GUIDs and any data values left over;
  // name() holds the text of a kName.
  Kind next();
  const std::string &name() const { return name_; }
  // The next data value; false when the next token is not one (or is cut short).
  bool integer(uint32_t &value);
  bool real(float &value);
  bool string(std::string &value);
  // Where reading stands, for messages: a line in text, a byte offset in binary.
  std::string position() const;

private:
  bool binaryNext(uint16_t &code);
  bool binaryWord(uint32_t &value);
  bool binaryList(uint16_t code);
  Kind skipBinaryValue(uint16_t code);
  // A token cut short at the end of the bytes: the rest is dropped.
  Kind cutShort();
  Kind textNext();
  void skipTextSpace();
  std::string_view textNumber();

  std::string_view bytes_;
  bool binary_, doubles_;
  size_t pos_ = 0;
  int64_t line_ = 1;
  std::string name_;
  // The binary integer or real list being read: values left and whether they are reals.
  uint32_t listLeft_ = 0;
  bool listReals_ = false;
};
