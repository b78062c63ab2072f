#include "interchange/gltf/gltf_container.h"

#include <algorithm>
#include <cctype>

namespace {

uint32_t u32At(std::string_view bytes, size_t at) {
  return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
         uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
}

void appendU32(std::string &out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out += char((value >> shift) & 0xFF);
}

int hexValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

int base64Value(char c) {
  if (c >= 'A' && c <= 'Z')
    return c - 'A';
  if (c >= 'a' && c <= 'z')
    return c - 'a' + 26;
  if (c >= '0' && c <= '9')
    return c - '0' + 52;
  return c == '+' || c == '-' ? 62 : c == '/' || c == '_' ? 63 : -1;
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

} // namespace

bool isGlb(std::string_view bytes) { return startsWith(bytes, "glTF"); }

bool unpackGlb(std::string_view bytes, std::string_view &json, std::string_view &bin,
               std::string &error) {
  if (bytes.size() < 20 || !isGlb(bytes) || u32At(bytes, 4) != 2) {
    error = "not a glTF 2.0 binary file";
    return false;
  }
  const uint64_t total = u32At(bytes, 8);
  if (total > bytes.size() || total < 20) {
    error = "the binary file is cut short (length " + std::to_string(total) + ")";
    return false;
  }
  json = bin = {};
  for (uint64_t at = 12; at + 8 <= total;) {
    const uint64_t length = u32At(bytes, size_t(at)), type = u32At(bytes, size_t(at + 4));
    if (at + 8 + length > total) {
      error = "a chunk runs past the end of the file";
      return false;
    }
    const std::string_view data = bytes.substr(size_t(at + 8), size_t(length));
    if (at == 12 && type != kGlbJsonChunk) {
      error = "the first chunk is not JSON";
      return false;
    }
    if (at == 12)
      json = data;
    else if (type == kGlbBinChunk && bin.empty())
      bin = data;
    at += 8 + length;
  }
  return true;
}

std::string packGlb(std::string json, std::string bin) {
  json.append((4 - json.size() % 4) % 4, ' ');
  bin.append((4 - bin.size() % 4) % 4, '\0');
  std::string out = "glTF";
  appendU32(out, 2);
  appendU32(out, uint32_t(12 + 8 + json.size() + (bin.empty() ? 0 : 8 + bin.size())));
  appendU32(out, uint32_t(json.size()));
  appendU32(out, kGlbJsonChunk);
  out += json;
  if (!bin.empty()) {
    appendU32(out, uint32_t(bin.size()));
    appendU32(out, kGlbBinChunk);
    out += bin;
  }
  return out;
}

UriKind classifyUri(std::string_view uri) {
  if (startsWith(uri, "data:"))
    return UriKind::kData;
  const size_t colon = uri.find(':'), slash = uri.find_first_of("/\\");
  if (uri.empty() || uri[0] == '/' || uri[0] == '\\' || uri.find('\0') != std::string_view::npos ||
      (colon != std::string_view::npos && colon < slash))
    return UriKind::kRefused;
  // ".." also when written with escapes ("%2e%2E") or backslashes.
  std::string path;
  if (!decodePercent(uri, path) || path.find('\0') != std::string::npos || path[0] == '/' ||
      path[0] == '\\')
    return UriKind::kRefused;
  for (size_t start = 0; start <= path.size();) {
    const size_t end = std::min(path.find_first_of("/\\", start), path.size());
    if (path.compare(start, end - start, "..") == 0)
      return UriKind::kRefused;
    start = end + 1;
  }
  return UriKind::kFile;
}

bool decodeDataUri(std::string_view uri, std::string &bytes) {
  const size_t comma = uri.find(',');
  if (!startsWith(uri, "data:") || comma == std::string_view::npos ||
      uri.substr(0, comma).find(";base64") == std::string_view::npos)
    return false;
  bytes.clear();
  uint32_t bits = 0;
  int count = 0;
  size_t i = comma + 1;
  for (; i < uri.size() && uri[i] != '='; ++i) {
    const int value = base64Value(uri[i]);
    if (value < 0)
      return false;
    bits = bits << 6 | uint32_t(value);
    if (++count == 4) {
      bytes += char(bits >> 16), bytes += char(bits >> 8), bytes += char(bits);
      bits = 0, count = 0;
    }
  }
  for (size_t pad = i; pad < uri.size(); ++pad)
    if (uri[pad] != '=')
      return false;
  if (count == 1)
    return false;
  if (count == 2)
    bytes += char(bits >> 4);
  if (count == 3)
    bytes += char(bits >> 10), bytes += char(bits >> 2);
  return true;
}

bool decodePercent(std::string_view uri, std::string &path) {
  path.clear();
  for (size_t i = 0; i < uri.size(); ++i) {
    if (uri[i] != '%') {
      path += uri[i];
      continue;
    }
    const int high = i + 2 < uri.size() ? hexValue(uri[i + 1]) : -1;
    const int low = high >= 0 ? hexValue(uri[i + 2]) : -1;
    if (low < 0)
      return false;
    path += char(high * 16 + low);
    i += 2;
  }
  return true;
}

std::string encodePercent(std::string_view name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : name) {
    const auto byte = uint8_t(c);
    if (std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  return out;
}
