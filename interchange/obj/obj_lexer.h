// ObjLexer: the tokenizer shared by the OBJ and MTL readers. It reads text held in memory, never
// past its end: blanks, tabs and carriage returns separate tokens, a comment runs from "#" to
// the line end, and a "\" at the start of a token joins the next line to this one.
#pragma once

#include <cstdint>
#include <string_view>

// The characters that separate tokens on a line.
inline bool objBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}
inline bool objDigit(char c) { return c >= '0' && c <= '9'; }

class ObjLexer {
public:
  enum Kind : uint8_t {
    kEnd = 0,     // end of the text
    kLineEnd = 1, // a line end, or a comment with its line end
    kSlash = 2,   // a "/" standing alone
    kWord = 3,    // anything that is not a number: "v", "usemtl", a file name
    kReal = 4,    // a number with a decimal point or an exponent
    kInteger = 5, // optional sign and digits
    kCorner = 6,  // an integer followed by "/" and more, as in 3/7/2
  };

  explicit ObjLexer(std::string_view text) : text_(text) {}

  // Reads the next token; its text is token().
  Kind next() { return kind_ = scan(); }
  std::string_view token() const { return token_; }
  // The line reading has reached, numbered from 1 as editors number lines (a line joined to the
  // one before by "\" counts too): after any token but a line end, the line of that token.
  int32_t line() const { return line_; }
  // Skips to and over the next line end (nothing at the end of the text).
  void skipLine();
  // The text from the reading position on.
  std::string_view ahead() const { return text_.substr(pos_); }
  // Moves length bytes ahead, onto a line end (or the end of the text) that the caller found,
  // and over it: for a caller that read the line itself. Needs length <= ahead().size().
  void passLine(size_t length);
  // The token as a finite float (kinds 4 to 6: the leading integer of a corner); false for
  // anything else, including numbers out of float range.
  bool number(float &value) const;

private:
  Kind scan();
  Kind classify(std::string_view t) const;

  std::string_view text_;
  size_t pos_ = 0;
  std::string_view token_;
  Kind kind_ = kEnd; // of token_
  int32_t line_ = 1;
};

// Reads the longest number (an optional sign, digits with an optional decimal point, an optional
// exponent) at the start of [text, end) to the nearest float, as std::from_chars does. Returns
// where the number ends, or null (value unspecified) when there is none or it is not a finite
// float.
const char *readObjNumber(const char *text, const char *end, float &value);
// The same for a number that fills the whole text; false when it does not.
bool parseObjNumber(std::string_view text, float &value);

// Parses a decimal integer that fills the whole text (an optional sign, digits); false when it
// does not or does not fit in 32 bits.
bool parseObjInteger(std::string_view text, int32_t &value);
