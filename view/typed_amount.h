// Amounts typed during a drag: the entry's text and the arithmetic it may hold. The text is a
// number ("2.5", ".5", "1e-3") or simple arithmetic over numbers: + and - (also U+2212), * (also
// x, X and U+00D7) and / (also U+00F7), parentheses and unary minus or plus, with the usual
// precedence; spaces are ignored. Numbers are read without regard to the locale.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

enum class AmountError { None, Empty, NotANumber, DivisionByZero, TooLarge };

// Evaluates the text into value, a finite float. A lone number is read straight as a float (the
// float nearest the decimal text); arithmetic is worked in double and rounded once at the end.
// None on success; otherwise value is untouched and the error says why: Empty for text without
// anything but spaces, DivisionByZero for a division by zero anywhere, TooLarge when a step or
// the result leaves the float range (1e39), NotANumber for anything else.
AmountError evaluateAmount(std::string_view text, float &value);

// The status-line text of a refused entry: "not a number: TEXT", with the reason for a division
// by zero or an amount too large.
std::string amountRefusal(AmountError error, const std::string &text);

// The text of an amount entry as it is typed, in UTF-8.
class AmountEntry {
public:
  // The longest text kept, in characters; what is typed past it is dropped.
  static constexpr size_t kMaxCharacters = 63;

  bool open() const { return open_; }
  const std::string &text() const { return text_; }
  // Opens the entry with empty text.
  void start();
  // Appends a printable character (a code point below U+0020, U+007F or a surrogate is refused);
  // false when the entry is closed, the text is full or the character is refused.
  bool type(char32_t character);
  // Removes the last character; the entry closes when that empties it. False when closed.
  bool erase();
  void close();
  size_t characters() const;

private:
  bool open_ = false;
  std::string text_;
};
