// VrmlLexer: the tokenizer of the VRML 2.0 reader. It reads text held in memory and never looks
// past its end. Blanks, tabs, line ends and commas separate tokens; a comment runs from "#" to the
// line end. Braces and brackets are tokens of their own, a string runs between double quotes
// (a backslash escapes the next character), and everything else is a word: names, keywords and
// numbers alike.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class VrmlLexer {
public:
  enum Kind : uint8_t {
    kEnd,          // end of the text
    kWord,         // a name, keyword or number
    kString,       // a quoted string; token() is what stands between the quotes, still escaped
    kOpenBrace,    // {
    kCloseBrace,   // }
    kOpenBracket,  // [
    kCloseBracket, // ]
    kBadString,    // a string that the text ends inside
  };

  explicit VrmlLexer(std::string_view text);

  // Moves to the next token and returns its kind.
  Kind next();
  // The kind of the token after the current one, without moving.
  Kind peek() const { return ahead_.kind; }
  std::string_view peekToken() const { return ahead_.text; }
  Kind kind() const { return current_.kind; }
  std::string_view token() const { return current_.text; }
  // The line (counted from 1) the current token starts on.
  int32_t line() const { return current_.line; }

private:
  struct Token {
    Kind kind = kEnd;
    std::string_view text;
    int32_t line = 1;
  };
  Token scan();

  std::string_view text_;
  size_t pos_ = 0;
  int32_t line_ = 1;
  Token current_, ahead_;
};

// The text of a string token with its escapes resolved.
std::string unescapeVrmlString(std::string_view raw);
// A word as a finite float (an optional sign, digits, a point, an exponent); false otherwise,
// also for numbers outside float range.
bool parseVrmlFloat(std::string_view word, float &value);
// A word as a 32-bit integer, decimal or hexadecimal ("0xFF"); false when it is not one or does
// not fit.
bool parseVrmlInt(std::string_view word, int32_t &value);
// Whether a word starts like a number.
bool looksNumeric(std::string_view word);
