// Text that a writer builds by appending, for files of many megabytes: the string grows by
// doubling (or once, to the size the writer expects) and numbers are formatted straight into it.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstdint>
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
    used_ += size_t(
        std::to_chars(at, at + kNumberRoom, value, std::chars_format::general, precision).ptr - at);
  }
  void appendInt(int64_t value) {
    room(kNumberRoom);
    char *at = &out_[used_];
    used_ += size_t(std::to_chars(at, at + kNumberRoom, value).ptr - at);
  }

private:
  static constexpr size_t kNumberRoom = 48;
  void room(size_t n) {
    if (out_.size() - used_ < n)
      out_.resize(std::max({out_.size() * 2, used_ + n, size_t(4096)}));
  }

  std::string &out_; // its first used_ characters are the text so far
  size_t used_;
};
