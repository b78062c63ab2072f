#include "interchange/vrml/vrml_lexer.h"

#include "interchange/obj/obj_lexer.h"

#include <charconv>
#include <cmath>

namespace {

bool isSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',' || c == '\f' || c == '\v';
}

// Characters that end a word.
bool endsWord(char c) {
  return isSeparator(c) || c == '"' || c == '#' || c == '{' || c == '}' || c == '[' || c == ']';
}

} // namespace

VrmlLexer::VrmlLexer(std::string_view text) : text_(text) { ahead_ = scan(); }

VrmlLexer::Kind VrmlLexer::next() {
  current_ = ahead_;
  if (current_.kind != kEnd && current_.kind != kBadString)
    ahead_ = scan();
  return current_.kind;
}

VrmlLexer::Token VrmlLexer::scan() {
  for (;;) {
    while (pos_ < text_.size() && isSeparator(text_[pos_]))
      line_ += text_[pos_++] == '\n';
    if (pos_ < text_.size() && text_[pos_] == '#') {
      const size_t end = text_.find('\n', pos_);
      pos_ = end == std::string_view::npos ? text_.size() : end;
      continue;
    }
    break;
  }
  Token t;
  t.line = line_;
  if (pos_ >= text_.size())
    return t;
  const size_t start = pos_;
  switch (text_[pos_]) {
  case '{':
    t.kind = kOpenBrace;
    break;
  case '}':
    t.kind = kCloseBrace;
    break;
  case '[':
    t.kind = kOpenBracket;
    break;
  case ']':
    t.kind = kCloseBracket;
    break;
  case '"': {
    size_t at = pos_ + 1;
    while (at < text_.size() && text_[at] != '"') {
      line_ += text_[at] == '\n';
      at += text_[at] == '\\' ? 2 : 1;
    }
    if (at >= text_.size()) {
      pos_ = text_.size();
      t.kind = kBadString;
      return t;
    }
    t.kind = kString;
    t.text = text_.substr(start + 1, at - start - 1);
    pos_ = at + 1;
    return t;
  }
  default:
    while (pos_ < text_.size() && !endsWord(text_[pos_]))
      ++pos_;
    t.kind = kWord;
    t.text = text_.substr(start, pos_ - start);
    return t;
  }
  t.text = text_.substr(pos_++, 1);
  return t;
}

std::string unescapeVrmlString(std::string_view raw) {
  std::string out;
  out.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\\' && i + 1 < raw.size())
      ++i;
    out += raw[i];
  }
  return out;
}

bool looksNumeric(std::string_view word) {
  return !word.empty() &&
         ((word[0] >= '0' && word[0] <= '9') || word[0] == '+' || word[0] == '-' || word[0] == '.');
}

bool parseVrmlFloat(std::string_view word, float &value) {
  if (!word.empty() && word[0] == '+')
    word.remove_prefix(1); // from_chars takes no plus sign
  if (!looksNumeric(word))
    return false; // no "inf" or "nan" either
  const auto result = std::from_chars(word.data(), word.data() + word.size(), value);
  return result.ec == std::errc() && result.ptr == word.data() + word.size() &&
         std::isfinite(value);
}

bool parseVrmlInt(std::string_view word, int32_t &value) {
  if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
    uint32_t bits = 0;
    const auto result = std::from_chars(word.data() + 2, word.data() + word.size(), bits, 16);
    value = int32_t(bits);
    return result.ec == std::errc() && result.ptr == word.data() + word.size();
  }
  return parseObjInteger(word, value);
}
