#include "script/script_format.h"

#include <algorithm>

namespace {

// Layouts of codes 0 to 137; null marks a code the format does not define.
const char *const kLayouts[] = {
    nullptr, "www",   "www",   "ww",    nullptr, nullptr,   nullptr,
    "w",     nullptr, "ww", // 0
    "w",     nullptr, "bww",   "bww",   "ww",    nullptr,   nullptr,
    nullptr, nullptr, nullptr, // 10
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,   "",
    "w",     "",      "", // 20
    "",      nullptr, nullptr, "",      "",      "w",       "w",
    "w",     "w",     "", // 30
    "",      "",      "",      "",      "",      "",        "",
    "",      "",      "", // 40
    "",      "",      "",      "",      "w",     "",        "",
    "w",     "",      "", // 50
    "w",     "",      "",      "w",     "",      "w",       "w",
    "w",     "w",     "w", // 60
    "",      "",      "w",     nullptr, "w",     "",        "w",
    "",      "w",     nullptr, // 70
    "",      "",      nullptr, "",      "",      "",        "",
    "",      "",      nullptr, // 80
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,   nullptr,
    nullptr, nullptr, nullptr, // 90
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,   nullptr,
    nullptr, nullptr, nullptr, // 100
    nullptr, nullptr, "",      "N",     "",      "w",       "d",
    "",      "",      "w", // 110
    "bbbb",  "",      "b",     "d",     "b",     "wwwwwww", nullptr,
    "w",     "w",     "wb", // 120
    "wb",    "wT",    "d",     "d",     "",      "",        "w",
    "b", // 130
};
constexpr size_t kLayoutCount = sizeof kLayouts / sizeof kLayouts[0];
static_assert(kLayoutCount == 138, "one layout per code 0 to 137");

size_t fieldSize(char field) { return field == 'b' ? 1 : field == 'w' ? 2 : 4; }

void appendValue(std::string &out, uint32_t value, size_t size) {
  for (size_t i = 0; i < size; ++i)
    out += char((value >> (8 * i)) & 0xFF);
}

void appendLine(std::string &out, const std::string &line) {
  const size_t end = std::min({line.find('\n'), line.size(), kScriptLineLimit});
  out.append(line, 0, end);
  out += '\n';
}

} // namespace

bool operator==(const ScriptCommand &a, const ScriptCommand &b) {
  return a.code == b.code && a.args == b.args && a.lines == b.lines && a.known == b.known;
}

const char *scriptLayout(uint8_t code) { return code < kLayoutCount ? kLayouts[code] : nullptr; }

std::string joinScriptMessage(const std::vector<std::string> &lines) {
  std::string text;
  for (const std::string &line : lines)
    text += line + "\r\n";
  if (text.size() > kScriptMessageLimit)
    text.resize(kScriptMessageLimit);
  return text;
}

bool ScriptReader::fail(const std::string &why) {
  error_ = why;
  pos_ = bytes_.size(); // nothing more is read after a damaged command
  return false;
}

bool ScriptReader::readHeader(int32_t &width, int32_t &height) {
  if (bytes_.size() < 4)
    return fail("the script is too short for its header");
  return readValue(2, width) && readValue(2, height);
}

bool ScriptReader::readValue(size_t size, int32_t &value) {
  if (bytes_.size() - pos_ < size)
    return fail("the script ends inside a command");
  uint32_t v = 0;
  for (size_t i = 0; i < size; ++i)
    v |= uint32_t(uint8_t(bytes_[pos_ + i])) << (8 * i);
  pos_ += size;
  value = int32_t(v);
  return true;
}

bool ScriptReader::readLine(std::string &line) {
  const size_t end = bytes_.find('\n', pos_);
  if (end == std::string::npos)
    return fail("the script ends inside a text line");
  line.assign(bytes_, pos_, std::min(end - pos_, kScriptLineLimit));
  pos_ = end + 1;
  return true;
}

int32_t ScriptReader::peek() const { return atEnd() ? -1 : uint8_t(bytes_[pos_]); }

ScriptReader::Status ScriptReader::next(ScriptCommand &command) {
  if (atEnd())
    return Status::End;
  command = ScriptCommand();
  command.code = uint8_t(bytes_[pos_++]);
  const char *layout = scriptLayout(command.code);
  command.known = layout != nullptr;
  for (const char *field = layout ? layout : ""; *field; ++field) {
    int32_t value = 0;
    std::string line;
    if (*field == 'T') {
      if (!readLine(line))
        return Status::Error;
      command.lines.push_back(line);
      continue;
    }
    if (!readValue(*field == 'N' ? 2 : fieldSize(*field), value))
      return Status::Error;
    command.args.push_back(value);
    // A count of lines: each line needs at least its line feed, so a huge count only runs to the
    // end of the bytes.
    for (int32_t i = 0; *field == 'N' && i < value; ++i) {
      if (!readLine(line))
        return Status::Error;
      command.lines.push_back(line);
    }
  }
  return Status::Command;
}

void encodeScriptHeader(std::string &out, int32_t width, int32_t height) {
  appendValue(out, uint32_t(std::clamp(width, 0, 0xFFFF)), 2);
  appendValue(out, uint32_t(std::clamp(height, 0, 0xFFFF)), 2);
}

void encodeScriptCommand(std::string &out, const ScriptCommand &command) {
  out += char(command.code);
  size_t arg = 0;
  for (const char *field = scriptLayout(command.code); field && *field; ++field) {
    if (*field == 'T') {
      appendLine(out, command.lines.empty() ? std::string() : command.lines.front());
      continue;
    }
    const int32_t value = arg < command.args.size() ? command.args[arg] : 0;
    ++arg;
    if (*field != 'N') {
      appendValue(out, uint32_t(value), fieldSize(*field));
      continue;
    }
    // The count is the number of lines, whatever the arguments say.
    const size_t count = std::min<size_t>(command.lines.size(), 0xFFFF);
    appendValue(out, uint32_t(count), 2);
    for (size_t i = 0; i < count; ++i)
      appendLine(out, command.lines[i]);
  }
}
