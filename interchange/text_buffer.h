// Text that a writer builds by appending, for files of many megabytes: the string grows by
// doubling (or once, to the size the writer expects) and numbers are formatted straight into it.
#pragma once

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

class TextBuffer {
public:
  // Appends to what out holds; out has its final length once the buffer is gone.
  explicit TextBuffer(std::string &out) : out_(out), used_(out.size()) {}
  ~TextBuffer() { out_.resize(used_); }
  TextBuffer(const TextBuffer &) = delete;
  TextBuffer &operator=(const TextBuffer &) = delete;

  // Makes room for n more characters at once.
  void reserve(size_t n) {
    if (out_.size() - used_ < n)
      out_.resize(used_ + n);
  }
  TextBuffer &operator+=(char c) {
    room(1);
    out_[used_++] = c;
    return *this;
  }
  TextBuffer &operator+=(std::string_view text) {
    room(text.size());
    std::memcpy(&out_[used_], text.data(), text.size());
    used_ += text.size();
    return *this;
  }
  // A number as C's "%g" writes it with this many significant digits, whatever the locale.
  void appendFloat(float value, int precision) {
    room(kNumberRoom);
    char *at = &out_[used_];
    char *end = precision <= kShortPrecision ? shortForm(at, value, precision) : nullptr;
    if (!end)
      end = std::to_chars(at, at + kNumberRoom, value, std::chars_format::general, precision).ptr;
    used_ += size_t(end - at);
  }
  void appendInt(int64_t value) {
    room(kNumberRoom);
    char *at = &out_[used_];
    used_ += size_t(std::to_chars(at, at + kNumberRoom, value).ptr - at);
  }

private:
  static constexpr size_t kNumberRoom = 48;
  // A float's shortest decimal digits, when there are no more than six of them, are also its
  // value rounded to six significant digits: the float lies far closer to them than half a
  // step of six digits. Such numbers, most of a model's, are formatted from those digits.
  static constexpr int kShortPrecision = 6;
  // value in the "%.<precision>g" form at out, or null when its shortest form has more digits
  // than precision or it is not a normal number (zero, subnormal, infinite or not a number).
  static char *shortForm(char *out, float value, int precision) {
    if (std::fpclassify(value) != FP_NORMAL)
      return nullptr;
    char scientific[32]; // [-]d[.ddd]e(+|-)dd
    const char *end = std::to_chars(scientific, scientific + sizeof scientific, value,
                                    std::chars_format::scientific)
                          .ptr;
    const char *p = scientific;
    char *o = out;
    if (*p == '-')
      *o++ = *p++;
    char digits[16];
    int n = 0;
    for (; p < end && *p != 'e' && n < 16; ++p)
      if (*p != '.')
        digits[n++] = *p;
    if (n > precision || p + 2 >= end)
      return nullptr;
    int exponent = 0;
    std::from_chars(p + 2, end, exponent);
    if (p[1] == '-')
      exponent = -exponent;
    if (exponent < -4 || exponent >= precision) {
      *o++ = digits[0];
      if (n > 1)
        *o++ = '.';
      o = std::copy(digits + 1, digits + n, o);
      *o++ = 'e';
      *o++ = exponent < 0 ? '-' : '+';
      if (std::abs(exponent) < 10)
        *o++ = '0';
      return std::to_chars(o, o + 4, std::abs(exponent)).ptr;
    }
    if (exponent < 0) {
      *o++ = '0';
      *o++ = '.';
      o = std::fill_n(o, -exponent - 1, '0');
      return std::copy(digits, digits + n, o);
    }
    for (int i = 0; i <= exponent; ++i)
      *o++ = i < n ? digits[i] : '0';
    if (n > exponent + 1)
      *o++ = '.';
    return std::copy(digits + std::min(n, exponent + 1), digits + n, o);
  }
  void room(size_t n) {
    if (out_.size() - used_ < n)
      out_.resize(std::max({out_.size() * 2, used_ + n, size_t(4096)}));
  }

  std::string &out_; // its first used_ characters are the text so far
  size_t used_;
};
