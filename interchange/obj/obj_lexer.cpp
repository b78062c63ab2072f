#include "interchange/obj/obj_lexer.h"

#include <charconv>
#include <cmath>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

// Digits from pos on; returns how many.
size_t digitsAt(std::string_view t, size_t pos) {
  size_t n = 0;
  while (pos + n < t.size() && isDigit(t[pos + n]))
    ++n;
  return n;
}

} // namespace

ObjLexer::Kind ObjLexer::scan() {
  for (;;) {
    while (pos_ < text_.size() && isBlank(text_[pos_]))
      ++pos_;
    if (pos_ >= text_.size()) {
      token_ = {};
      return kEnd;
    }
    const char c = text_[pos_];
    if (c == '\n' || c == '#') {
      const size_t start = pos_;
      skipLine();
      token_ = text_.substr(start, pos_ - start);
      return kLineEnd;
    }
    if (c == '\\') { // joins the next line without counting it
      const size_t end = text_.find('\n', pos_);
      pos_ = end == std::string_view::npos ? text_.size() : end + 1;
      continue;
    }
    const size_t start = pos_;
    while (pos_ < text_.size() && !isBlank(text_[pos_]) && text_[pos_] != '\n')
      ++pos_;
    token_ = text_.substr(start, pos_ - start);
    return token_ == "/" ? kSlash : classify(token_);
  }
}

void ObjLexer::skipLine() {
  const size_t end = text_.find('\n', pos_);
  if (end == std::string_view::npos) {
    pos_ = text_.size();
    return;
  }
  pos_ = end + 1;
  ++line_;
}

ObjLexer::Kind ObjLexer::classify(std::string_view t) const {
  size_t pos = (t[0] == '+' || t[0] == '-') ? 1 : 0;
  const size_t whole = digitsAt(t, pos);
  pos += whole;
  if (whole > 0 && pos == t.size())
    return kInteger;
  if (whole > 0 && t[pos] == '/' && pos + 1 < t.size())
    return kCorner;
  size_t fraction = 0;
  bool real = false;
  if (pos < t.size() && t[pos] == '.') {
    real = true;
    fraction = digitsAt(t, pos + 1);
    pos += 1 + fraction;
  }
  if (whole + fraction == 0)
    return kWord;
  if (pos < t.size() && (t[pos] == 'e' || t[pos] == 'E')) {
    size_t at = pos + 1;
    if (at < t.size() && (t[at] == '+' || t[at] == '-'))
      ++at;
    const size_t exponent = digitsAt(t, at);
    if (exponent == 0)
      return kWord;
    real = true;
    pos = at + exponent;
  }
  return pos == t.size() && real ? kReal : kWord;
}

bool ObjLexer::number(float &value) const {
  std::string_view t = token_;
  if (t.empty() || kind_ < kReal)
    return false;
  if (t[0] == '+')
    t.remove_prefix(1); // from_chars takes no plus sign
  const auto result = std::from_chars(t.data(), t.data() + t.size(), value);
  return result.ec == std::errc() && std::isfinite(value);
}

bool parseObjInteger(std::string_view text, int32_t &value) {
  if (!text.empty() && text[0] == '+')
    text.remove_prefix(1);
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size() && !text.empty();
}
