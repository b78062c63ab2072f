#include "interchange/gx_string.h"

#include <charconv>
#include <cstring>
#include <ostream>

GxString::GxString(const char *text) : text_(text != nullptr ? text : "") {}

GxString::GxString(float value) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 9);
  text_.assign(buffer, result.ptr);
  if (text_.find('.') == std::string::npos)
    text_ += ".0";
}

GxString::GxString(int32_t value) : text_(std::to_string(value)) {}

GxString GxString::fromFloats(const float *values, int32_t count) {
  GxString s;
  for (int32_t i = 0; i < count; ++i) {
    s.append(GxString(values[i]));
    s.text_ += ' ';
  }
  return s;
}

GxString &GxString::assign(const GxString &other) {
  text_ = other.text_;
  return *this;
}

GxString &GxString::append(const GxString &other) {
  text_ += other.text_;
  return *this;
}

bool GxString::operator==(const char *text) const { return text_ == (text != nullptr ? text : ""); }

char GxString::at(int32_t position) const {
  return position >= 0 && size_t(position) < text_.size() ? text_[size_t(position)] : '\0';
}

std::ostream &operator<<(std::ostream &out, const GxString &s) { return out << s.str(); }
