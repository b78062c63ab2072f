// GxString: the owned text values of the interchange tree, with the number forms every format
// writer shares.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class GxString {
public:
  GxString() = default;
  // From text; a null pointer gives the empty string.
  GxString(const char *text);
  GxString(const std::string &text) : text_(text) {}
  // The float form: printf "%-.9g", with ".0" appended when the result has no decimal point (1
  // gives "1.0", 1e10 gives "1e+10.0"). Always uses '.', whatever the C locale says.
  explicit GxString(float value);
  // The integer form, printf "%ld".
  explicit GxString(int32_t value);

  // Each value in the float form followed by one blank; empty for no values.
  static GxString fromFloats(const float *values, int32_t count);

  GxString &assign(const GxString &other);
  GxString &append(const GxString &other);
  bool operator==(const GxString &other) const { return text_ == other.text_; }
  bool operator==(const char *text) const;
  bool operator!=(const GxString &other) const { return !(*this == other); }
  bool operator!=(const char *text) const { return !(*this == text); }
  // The character at `position`, or 0 when the position is outside the text.
  char at(int32_t position) const;
  int32_t length() const { return int32_t(text_.size()); }
  bool empty() const { return text_.empty(); }
  const char *c_str() const { return text_.c_str(); }
  const std::string &str() const { return text_; }

private:
  std::string text_;
};

std::ostream &operator<<(std::ostream &out, const GxString &s);
