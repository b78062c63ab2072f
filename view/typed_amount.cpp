#include "view/typed_amount.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr double kFloatMax = double(std::numeric_limits<float>::max());

// A recursive-descent reader over the UTF-8 text; an error stops it where it is.
class Evaluator {
public:
  explicit Evaluator(std::string_view text) : text_(text) {}

  AmountError run(double &value) {
    skipSpaces();
    if (pos_ == text_.size())
      return AmountError::Empty;
    value = sum();
    skipSpaces();
    if (error_ == AmountError::None && pos_ != text_.size())
      error_ = AmountError::NotANumber;
    return error_;
  }

private:
  void skipSpaces() {
    while (pos_ < text_.size() && text_[pos_] == ' ')
      ++pos_;
  }
  // Consumes one of the spellings when it comes next (spaces before it skipped).
  bool take(std::initializer_list<std::string_view> spellings) {
    skipSpaces();
    for (std::string_view s : spellings)
      if (text_.substr(pos_, s.size()) == s) {
        pos_ += s.size();
        return true;
      }
    return false;
  }
  double checked(double v) {
    if (error_ == AmountError::None && !(std::fabs(v) <= kFloatMax))
      error_ = AmountError::TooLarge;
    return v;
  }
  double sum() {
    double v = product();
    while (error_ == AmountError::None) {
      if (take({"+"}))
        v = checked(v + product());
      else if (take({"-", "\u2212"}))
        v = checked(v - product());
      else
        break;
    }
    return v;
  }
  double product() {
    double v = unary();
    while (error_ == AmountError::None) {
      if (take({"*", "x", "X", "\u00d7"})) {
        v = checked(v * unary());
      } else if (take({"/", "\u00f7"})) {
        const double d = unary();
        if (error_ == AmountError::None && d == 0)
          error_ = AmountError::DivisionByZero;
        else
          v = checked(v / d);
      } else {
        break;
      }
    }
    return v;
  }
  // Signs and parentheses nest at most kMaxDepth deep, so that no text (the command line's has
  // no length limit) can run the reader's recursion out of stack.
  double unary() {
    if (++depth_ > kMaxDepth) {
      error_ = AmountError::NotANumber;
      return 0;
    }
    double v = 0;
    if (take({"-", "\u2212"}))
      v = -unary();
    else if (take({"+"}))
      v = unary();
    else
      v = primary();
    --depth_;
    return v;
  }
  double primary() {
    if (take({"("})) {
      const double v = sum();
      if (error_ == AmountError::None && !take({")"}))
        error_ = AmountError::NotANumber;
      return v;
    }
    skipSpaces();
    const size_t end = numberEnd(pos_);
    double v = 0;
    if (end == pos_ ||
        std::from_chars(text_.data() + pos_, text_.data() + end, v).ptr != text_.data() + end) {
      error_ = AmountError::NotANumber;
      return 0;
    }
    pos_ = end;
    return checked(v);
  }
  // The end of the number starting at `from`: digits with at most one point (at least one digit
  // in all), then an optional exponent with its own digits; `from` itself when there is none.
  size_t numberEnd(size_t from) const {
    size_t i = from, digits = 0;
    const auto digit = [&](size_t at) {
      return at < text_.size() && text_[at] >= '0' && text_[at] <= '9';
    };
    while (digit(i))
      ++i, ++digits;
    if (i < text_.size() && text_[i] == '.')
      for (++i; digit(i); ++i)
        ++digits;
    if (digits == 0)
      return from;
    if (i < text_.size() && (text_[i] == 'e' || text_[i] == 'E')) {
      size_t j = i + 1;
      if (j < text_.size() && (text_[j] == '+' || text_[j] == '-'))
        ++j;
      if (digit(j)) {
        while (digit(j))
          ++j;
        i = j;
      }
    }
    return i;
  }

  static constexpr int kMaxDepth = 100;
  std::string_view text_;
  size_t pos_ = 0;
  int depth_ = 0;
  AmountError error_ = AmountError::None;
};

// Of a number out of the float range: whether it is too small rather than too large, told by a
// negative exponent or, without one, by a whole part of zeros only.
bool tinyNumber(std::string_view digits) {
  const size_t e = digits.find_first_of("eE");
  if (e != std::string_view::npos)
    return e + 1 < digits.size() && digits[e + 1] == '-';
  const std::string_view whole = digits.substr(0, digits.find('.'));
  return whole.find_first_not_of('0') == std::string_view::npos;
}

// A lone number, optionally signed: read straight as a float so that "0.1" is the float nearest
// 0.1, not the double nearest it rounded once more.
bool loneNumber(std::string_view text, float &value, AmountError &error) {
  size_t from = text.find_first_not_of(' '), to = text.find_last_not_of(' ');
  if (from == std::string_view::npos)
    return false;
  const std::string_view t = text.substr(from, to - from + 1);
  const bool minus = !t.empty() && t[0] == '-';
  const std::string_view digits = minus ? t.substr(1) : t;
  if (digits.empty() || !((digits[0] >= '0' && digits[0] <= '9') || digits[0] == '.'))
    return false;
  float v = 0;
  const auto [end, code] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
  if (end != digits.data() + digits.size())
    return false;
  if (code == std::errc::result_out_of_range) {
    // Too small underflows to zero as the arithmetic would; too large is refused.
    if (!tinyNumber(digits)) {
      error = AmountError::TooLarge;
      return true;
    }
    v = 0;
  } else if (code != std::errc()) {
    return false;
  }
  error = AmountError::None;
  value = minus ? -v : v;
  return true;
}

} // namespace

AmountError evaluateAmount(std::string_view text, float &value) {
  AmountError error = AmountError::None;
  if (loneNumber(text, value, error))
    return error;
  double v = 0;
  error = Evaluator(text).run(v);
  if (error != AmountError::None)
    return error;
  if (!(std::fabs(v) <= kFloatMax))
    return AmountError::TooLarge;
  value = float(v);
  return AmountError::None;
}

std::string amountRefusal(AmountError error, const std::string &text) {
  const std::string refused = "not a number: " + text;
  switch (error) {
  case AmountError::DivisionByZero:
    return refused + " (division by zero)";
  case AmountError::TooLarge:
    return refused + " (too large)";
  default:
    return refused;
  }
}

void AmountEntry::start() {
  open_ = true;
  text_.clear();
}

void AmountEntry::close() {
  open_ = false;
  text_.clear();
}

size_t AmountEntry::characters() const {
  size_t n = 0;
  for (const char c : text_)
    if ((uint8_t(c) & 0xC0) != 0x80)
      ++n;
  return n;
}

bool AmountEntry::type(char32_t c) {
  if (!open_ || characters() >= kMaxCharacters || c < 0x20 || c == 0x7F ||
      (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
    return false;
  if (c < 0x80) {
    text_ += char(c);
  } else if (c < 0x800) {
    text_ += char(0xC0 | (c >> 6));
    text_ += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    text_ += char(0xE0 | (c >> 12));
    text_ += char(0x80 | ((c >> 6) & 0x3F));
    text_ += char(0x80 | (c & 0x3F));
  } else {
    text_ += char(0xF0 | (c >> 18));
    text_ += char(0x80 | ((c >> 12) & 0x3F));
    text_ += char(0x80 | ((c >> 6) & 0x3F));
    text_ += char(0x80 | (c & 0x3F));
  }
  return true;
}

bool AmountEntry::erase() {
  if (!open_)
    return false;
  while (!text_.empty() && (uint8_t(text_.back()) & 0xC0) == 0x80)
    text_.pop_back();
  if (!text_.empty())
    text_.pop_back();
  if (text_.empty())
    close();
  return true;
}
