#include "script/script_recorder.h"

#include "ops/operation_ids.h"

#include <cstring>

namespace {

// Indices of -1 are stored as the all-ones word.
int32_t word(int32_t value) { return value < 0 ? kScriptNoPosition : value; }

} // namespace

bool ScriptRecorder::begin(const std::string &fileName, int32_t width, int32_t height) {
  end();
  file_.open(fileName, std::ios::binary | std::ios::trunc);
  if (!file_)
    return false;
  std::string header;
  encodeScriptHeader(header, width, height);
  file_.write(header.data(), std::streamsize(header.size()));
  recording_ = bool(file_.flush());
  return recording_;
}

void ScriptRecorder::end() {
  if (!recording_)
    return;
  message("Finished");
  recording_ = false;
  file_.close();
}

void ScriptRecorder::write(const ScriptCommand &command) {
  if (!recording_)
    return;
  std::string bytes;
  encodeScriptCommand(bytes, command);
  // Flushed per command, so that a recording keeps what was done up to a crash.
  if (!file_.write(bytes.data(), std::streamsize(bytes.size())).flush()) {
    recording_ = false;
    file_.close();
  }
}

void ScriptRecorder::write(uint8_t code, std::vector<int32_t> args) {
  ScriptCommand command;
  command.code = code;
  command.args = std::move(args);
  write(command);
}

void ScriptRecorder::message(const std::string &line) {
  ScriptCommand command;
  command.code = kScriptMessage;
  command.lines = {line};
  write(command);
}

void ScriptRecorder::lastPosition(int32_t x, int32_t y) {
  write(kScriptLastPosition, {word(x), word(y)});
}

void ScriptRecorder::dragAmount(float amount) {
  uint32_t bits = 0;
  static_assert(sizeof bits == sizeof amount, "a float is 32 bits");
  std::memcpy(&bits, &amount, sizeof bits);
  write(kScriptDragAmount, {int32_t(bits)});
}

void ScriptRecorder::hover(int32_t pickMode, int32_t object, int32_t element) {
  write(kScriptHover, {pickMode, word(object), word(element)});
}

void ScriptRecorder::dragSelect(bool add, int32_t object, int32_t element) {
  write(kScriptDragSelect, {add ? 1 : 0, object, element});
}

void ScriptRecorder::operationStarted(int32_t operationId) {
  if (const char *name = operationName(operationId))
    message(name);
}
