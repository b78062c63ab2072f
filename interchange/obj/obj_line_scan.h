// ObjLineScan: reads the common simple lines of an OBJ file ("v", "vt" and "vn" lines of plain
// numbers, "f" lines of plain corners) straight from the bytes, without going through the token
// kinds of ObjLexer. It takes a line only when ObjLexer would read it to the very same numbers
// without a message; on anything else (a continuation, a word where a number belongs, a number
// out of range, an index of ten digits, ...) it says no, and the caller reads the line through
// the lexer, which reports what is wrong with it.
#pragma once

#include "interchange/obj/obj_format.h"
#include "interchange/obj/obj_lexer.h"

#include <cstring>

class ObjLineScan {
public:
  enum Statement : uint8_t { kOther, kVertex, kTexCoord, kNormal, kFace };
  // A face corner's numbers as the file gives them (1-based, negative counted back).
  struct Corner {
    int32_t position = 0, texture = 0;
    bool textured = false; // whether the corner names a texture coordinate
  };

  // text runs from the start of a line to the end of the whole text.
  explicit ObjLineScan(std::string_view text)
      : begin_(text.data()), pos_(text.data()), end_(text.data() + text.size()) {}

  // The statement the line starts with: one of "v", "vt", "vn", "f" followed by a blank, else
  // kOther.
  Statement statement();
  // Reads the next token as ObjLexer::number reads a number token; false when it is not one.
  bool number(float &value);
  // Reads the next token as a corner of plain numbers: 7, 7/3, 7//2 or 7/3/... (the normal
  // part is not read, as the lexer does not read it); false for anything else.
  bool corner(Corner &corner);
  // Whether the line holds nothing more but blanks and perhaps a comment; on true the reading
  // position is at the line end.
  bool lineEnds();
  // Moves to the line end, whatever the line still holds.
  void skipRest();
  // Bytes read from the start of the text: after lineEnds() or skipRest(), the length of the
  // line without its line end.
  size_t consumed() const { return size_t(pos_ - begin_); }

private:
  bool atLineEnd() const { return pos_ == end_ || *pos_ == '\n'; }
  void skipBlanks() {
    while (pos_ < end_ && objBlank(*pos_))
      ++pos_;
  }
  // Moves over the rest of a token as the lexer cuts it: a run of anything but blanks and line
  // ends.
  void skipToken() {
    while (pos_ < end_ && !objBlank(*pos_) && *pos_ != '\n')
      ++pos_;
  }
  // A decimal integer of at most nine digits with an optional sign, from pos_ on (so that it
  // always fits); false when there is none or it is longer.
  bool integer(int32_t &value);

  const char *begin_, *pos_, *end_;
};

inline ObjLineScan::Statement ObjLineScan::statement() {
  skipBlanks();
  const size_t left = size_t(end_ - pos_);
  if (left < 2)
    return kOther;
  const char c = pos_[0], d = pos_[1];
  if (objBlank(d)) {
    pos_ += 2;
    return c == 'v' ? kVertex : c == 'f' ? kFace : kOther;
  }
  if (c != 'v' || left < 3 || !objBlank(pos_[2]))
    return kOther;
  pos_ += 3;
  return d == 't' ? kTexCoord : d == 'n' ? kNormal : kOther;
}

inline bool ObjLineScan::number(float &value) {
  skipBlanks();
  const char *const stop = readObjNumber(pos_, end_, value);
  if (!stop || (stop != end_ && !objBlank(*stop) && *stop != '\n'))
    return false; // the token goes on: "1.5x", "3/4"
  pos_ = stop;
  return true;
}

inline bool ObjLineScan::integer(int32_t &value) {
  const bool negative = pos_ < end_ && *pos_ == '-';
  if (pos_ < end_ && (*pos_ == '-' || *pos_ == '+'))
    ++pos_;
  const char *start = pos_;
  int32_t n = 0;
  while (pos_ < end_ && pos_ - start < 9 && objDigit(*pos_))
    n = n * 10 + (*pos_++ - '0');
  value = negative ? -n : n;
  return pos_ > start && (pos_ == end_ || !objDigit(*pos_));
}

inline bool ObjLineScan::corner(Corner &c) {
  skipBlanks();
  auto tokenEnds = [this] { return pos_ == end_ || objBlank(*pos_) || *pos_ == '\n'; };
  c.textured = false;
  if (!integer(c.position))
    return false;
  if (tokenEnds())
    return true;
  if (*pos_ != '/')
    return false;
  ++pos_;
  if (tokenEnds())
    return false; // "7/" is no corner for the lexer
  if (*pos_ != '/') {
    if (!integer(c.texture))
      return false;
    c.textured = true;
    if (tokenEnds())
      return true;
    if (*pos_ != '/')
      return false;
  }
  skipToken(); // the normal part, never read
  return true;
}

inline bool ObjLineScan::lineEnds() {
  skipBlanks();
  if (pos_ < end_ && *pos_ == '#')
    skipRest();
  return atLineEnd();
}

inline void ObjLineScan::skipRest() {
  const void *end = std::memchr(pos_, '\n', size_t(end_ - pos_));
  pos_ = end ? static_cast<const char *>(end) : end_;
}

// readObj (obj_format.h); with simpleLines false every line goes through the lexer: the
// reference that the reading of simple lines is checked against.
GxElement *readObjLines(std::string_view bytes, const CompanionReader &companions,
                        std::ostream &diagnostics, bool simpleLines);
