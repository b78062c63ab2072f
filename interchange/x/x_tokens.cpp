#include "interchange/x/x_tokens.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// Token codes of the binary form.
enum : uint16_t {
  kTokName = 1,
  kTokString = 2,
  kTokInteger = 3,
  kTokGuid = 5,
  kTokIntegerList = 6,
  kTokFloatList = 7,
  kTokOpenBrace = 0x0a,
  kTokCloseBrace = 0x0b,
  kTokComma = 0x13,
  kTokSemicolon = 0x14,
  kTokTemplate = 0x1f,
};

bool nameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool nameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
}

} // namespace

bool XTokens::binaryWord(uint32_t &value) {
  if (bytes_.size() - pos_ < 4)
    return false;
  const auto *p = reinterpret_cast<const unsigned char *>(bytes_.data() + pos_);
  value = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
  pos_ += 4;
  return true;
}

bool XTokens::binaryNext(uint16_t &code) {
  if (bytes_.size() - pos_ < 2)
    return false;
  const auto *p = reinterpret_cast<const unsigned char *>(bytes_.data() + pos_);
  code = uint16_t(p[0] | p[1] << 8);
  pos_ += 2;
  return true;
}

// Starts reading the list that follows an integer-list or float-list code.
bool XTokens::binaryList(uint16_t code) {
  uint32_t count = 0;
  if (!binaryWord(count))
    return false;
  const uint64_t width = code == kTokFloatList && doubles_ ? 8 : 4;
  if (uint64_t(count) * width > bytes_.size() - pos_)
    return false; // the list claims more values than the file holds
  listLeft_ = count;
  listReals_ = code == kTokFloatList;
  return true;
}

void XTokens::skipTextSpace() {
  while (pos_ < bytes_.size()) {
    const char c = bytes_[pos_];
    if (c == '\n')
      ++line_;
    if (c == '#' || (c == '/' && pos_ + 1 < bytes_.size() && bytes_[pos_ + 1] == '/')) {
      while (pos_ < bytes_.size() && bytes_[pos_] != '\n')
        ++pos_;
    } else if (std::isspace(static_cast<unsigned char>(c)) || c == ',' || c == ';') {
      ++pos_;
    } else {
      return;
    }
  }
}

std::string_view XTokens::textNumber() {
  skipTextSpace();
  const size_t start = pos_;
  while (pos_ < bytes_.size() &&
         (std::isdigit(static_cast<unsigned char>(bytes_[pos_])) ||
          std::strchr("+-.eE", bytes_[pos_]) != nullptr) &&
         bytes_[pos_] != '\0')
    ++pos_;
  return bytes_.substr(start, pos_ - start);
}

XTokens::Kind XTokens::textNext() {
  for (;;) {
    skipTextSpace();
    if (pos_ >= bytes_.size())
      return kEnd;
    const char c = bytes_[pos_];
    if (c == '<') { // a GUID: skipped as a whole
      const size_t end = bytes_.find('>', pos_);
      pos_ = end == std::string_view::npos ? bytes_.size() : end + 1;
      continue;
    }
    if (c == '{' || c == '}') {
      ++pos_;
      return c == '{' ? kOpen : kClose;
    }
    if (c == '"') { // a string where structure was expected: stepped over as a whole
      const size_t end = bytes_.find('"', pos_ + 1);
      pos_ = end == std::string_view::npos ? bytes_.size() : end + 1;
      return kOther;
    }
    const size_t start = pos_++;
    if (!nameStart(c))
      return kOther;
    while (pos_ < bytes_.size() && nameChar(bytes_[pos_]))
      ++pos_;
    name_.assign(bytes_.substr(start, pos_ - start));
    return kName;
  }
}

XTokens::Kind XTokens::next() {
  if (!binary_)
    return textNext();
  uint32_t skip = 0;
  if (listLeft_ > 0) { // values nobody asked for
    pos_ += size_t(listLeft_) * (listReals_ && doubles_ ? 8 : 4);
    listLeft_ = 0;
  }
  for (uint16_t code = 0; binaryNext(code);) {
    switch (code) {
    case kTokName:
      if (!binaryWord(skip) || skip > bytes_.size() - pos_)
        return kOther;
      name_.assign(bytes_.substr(pos_, skip));
      pos_ += skip;
      return kName;
    case kTokTemplate: // a keyword in binary, a name in text
      name_ = "template";
      return kName;
    case kTokOpenBrace:
      return kOpen;
    case kTokCloseBrace:
      return kClose;
    case kTokComma:
    case kTokSemicolon:
      continue;
    case kTokGuid:
      if (bytes_.size() - pos_ < 16)
        return cutShort();
      pos_ += 16;
      continue;
    default:
      return skipBinaryValue(code);
    }
  }
  return kEnd;
}

XTokens::Kind XTokens::cutShort() {
  pos_ = bytes_.size();
  return kOther;
}

// Steps over a data token (or any other code) where structure was expected.
XTokens::Kind XTokens::skipBinaryValue(uint16_t code) {
  uint32_t word = 0;
  if (code == kTokInteger && !binaryWord(word))
    return cutShort();
  if (code == kTokString && (!binaryWord(word) || word > bytes_.size() - pos_))
    return cutShort();
  if (code == kTokString)
    pos_ += word;
  if (code == kTokIntegerList || code == kTokFloatList) {
    if (!binaryList(code))
      return cutShort();
    pos_ += size_t(listLeft_) * (listReals_ && doubles_ ? 8 : 4);
    listLeft_ = 0;
  }
  return kOther;
}

bool XTokens::integer(uint32_t &value) {
  if (!binary_) {
    const std::string_view text = textNumber();
    return std::from_chars(text.data(), text.data() + text.size(), value).ptr ==
               text.data() + text.size() &&
           !text.empty();
  }
  for (uint16_t code = 0; listLeft_ == 0;) {
    if (!binaryNext(code))
      return false;
    if (code == kTokInteger)
      return binaryWord(value);
    if (code == kTokIntegerList && !binaryList(code))
      return false;
    if (code != kTokIntegerList && code != kTokComma && code != kTokSemicolon)
      return false;
  }
  if (listReals_)
    return false;
  --listLeft_;
  return binaryWord(value);
}

bool XTokens::real(float &value) {
  if (!binary_) {
    const std::string_view text = textNumber();
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && result.ptr == text.data() + text.size() && std::isfinite(value);
  }
  for (uint16_t code = 0; listLeft_ == 0;) {
    if (!binaryNext(code))
      return false;
    if ((code == kTokFloatList || code == kTokIntegerList) && !binaryList(code))
      return false;
    if (code != kTokFloatList && code != kTokIntegerList && code != kTokComma &&
        code != kTokSemicolon)
      return false;
  }
  --listLeft_;
  if (!listReals_) {
    uint32_t whole = 0;
    binaryWord(whole);
    value = float(whole);
  } else if (doubles_) {
    double d;
    std::memcpy(&d, bytes_.data() + pos_, 8);
    pos_ += 8;
    value = float(d);
  } else {
    std::memcpy(&value, bytes_.data() + pos_, 4);
    pos_ += 4;
  }
  return std::isfinite(value);
}

bool XTokens::string(std::string &value) {
  if (!binary_) {
    skipTextSpace();
    if (pos_ >= bytes_.size() || bytes_[pos_] != '"')
      return false;
    const size_t end = bytes_.find('"', pos_ + 1);
    if (end == std::string_view::npos)
      return false;
    value.assign(bytes_.substr(pos_ + 1, end - pos_ - 1));
    pos_ = end + 1;
    return true;
  }
  uint16_t code = 0;
  uint32_t length = 0;
  if (listLeft_ > 0 || !binaryNext(code) || code != kTokString || !binaryWord(length) ||
      length > bytes_.size() - pos_)
    return false;
  value.assign(bytes_.substr(pos_, length));
  pos_ += length;
  const size_t afterText = pos_; // the separator that ends the string is optional
  if (binaryNext(code) && code != kTokComma && code != kTokSemicolon)
    pos_ = afterText;
  return true;
}

std::string XTokens::position() const {
  return binary_ ? "byte " + std::to_string(pos_ + 16) : "line " + std::to_string(line_);
}
