#include "interchange/obj/obj_lexer.h"

#include <charconv>
#include <cmath>

namespace {

// Digits from pos on; returns how many.
size_t digitsAt(std::string_view t, size_t pos) {
  size_t n = 0;
  while (pos + n < t.size() && objDigit(t[pos + n]))
    ++n;
  return n;
}

// Digits from p on, added to an accumulating decimal value while it stays below 10^18; returns
// how many there were and how many of them did not fit.
struct DigitRun {
  size_t count = 0, dropped = 0;
};
DigitRun accumulate(const char *&p, const char *end, uint64_t &value) {
  DigitRun run;
  for (; p < end && objDigit(*p); ++p, ++run.count) {
    if (value < 100000000000000000u)
      value = value * 10 + uint64_t(*p - '0');
    else
      ++run.dropped;
  }
  return run;
}

// Exact in float: 5^10 < 2^24.
constexpr float kPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                  1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

} // namespace

ObjLexer::Kind ObjLexer::scan() {
  for (;;) {
    while (pos_ < text_.size() && objBlank(text_[pos_]))
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
    if (c == '\\') { // joins the next line to this one
      skipLine();
      continue;
    }
    const size_t start = pos_;
    while (pos_ < text_.size() && !objBlank(text_[pos_]) && text_[pos_] != '\n')
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

void ObjLexer::passLine(size_t length) {
  pos_ += length;
  if (pos_ < text_.size()) {
    ++pos_; // the line end
    ++line_;
  }
}

bool ObjLexer::number(float &value) const {
  if (kind_ < kReal)
    return false;
  return parseObjNumber(kind_ == kCorner ? token_.substr(0, token_.find('/')) : token_, value);
}

// A decimal of at most 2^24 as its digits and a power of ten of at most 10 either way is made
// by one exact float and one correctly rounded multiplication or division by an exact float, so
// it is the nearest float, the value from_chars gives (Clinger's fast path). Every other number
// goes to from_chars itself.
const char *readObjNumber(const char *p, const char *end, float &value) {
  const bool negative = p < end && *p == '-';
  if (p < end && (*p == '-' || *p == '+'))
    ++p;
  const char *const digitsStart = p;
  uint64_t digits = 0;
  const DigitRun whole = accumulate(p, end, digits);
  DigitRun fraction;
  if (p < end && *p == '.')
    fraction = accumulate(++p, end, digits);
  if (whole.count + fraction.count == 0)
    return nullptr;
  int64_t exponent = int64_t(whole.dropped) - int64_t(fraction.count - fraction.dropped);
  if (p + 1 < end && (*p == 'e' || *p == 'E')) {
    const char *e = p + 1;
    const bool down = *e == '-';
    if (*e == '-' || *e == '+')
      ++e;
    uint64_t power = 0;
    if (accumulate(e, end, power).count > 0) { // else the number ends before the "e"
      exponent += down ? -int64_t(power) : int64_t(power);
      p = e;
    }
  }
  if (digits <= (uint64_t(1) << 24) && exponent >= -10 && exponent <= 10) {
    const float mantissa = float(digits);
    const float magnitude =
        exponent < 0 ? mantissa / kPowersOfTen[-exponent] : mantissa * kPowersOfTen[exponent];
    value = negative ? -magnitude : magnitude;
    return p;
  }
  // from_chars takes no plus sign
  const auto result = std::from_chars(negative ? digitsStart - 1 : digitsStart, p, value);
  return result.ec == std::errc() && std::isfinite(value) ? p : nullptr;
}

bool parseObjNumber(std::string_view text, float &value) {
  const char *const end = text.data() + text.size();
  return !text.empty() && readObjNumber(text.data(), end, value) == end;
}

bool parseObjInteger(std::string_view text, int32_t &value) {
  if (!text.empty() && text[0] == '+')
    text.remove_prefix(1);
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size() && !text.empty();
}
