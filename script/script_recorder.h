// Writes a tutorial script while the user works: the command layer hands it every command it
// runs, and the input controller every pointer event, key flag, hover result and selection
// click. Nothing is written unless a recording runs.
#pragma once

#include "script/script_format.h"

#include <fstream>
#include <string>

class ScriptRecorder {
public:
  // Opens (truncating) the file and writes the header for a view of width x height pixels.
  // False, with nothing recorded, when the file cannot be written.
  bool begin(const std::string &fileName, int32_t width, int32_t height);
  // Writes the closing "Finished" message and closes the file. Does nothing when idle.
  void end();
  bool recording() const { return recording_; }

  // Appends a command when recording; a write that fails ends the recording.
  void write(const ScriptCommand &command);
  // Appends a command of integer arguments (see scriptLayout for the order).
  void write(uint8_t code, std::vector<int32_t> args = {});
  // Appends a message of one line.
  void message(const std::string &line);

  // The controller's events.
  void press(int32_t button, int32_t x, int32_t y) { write(kScriptPress, {button, x, y}); }
  void release(int32_t button, int32_t x, int32_t y) { write(kScriptRelease, {button, x, y}); }
  void move(int32_t x, int32_t y) { write(kScriptMove, {x, y}); }
  void buttons(int32_t word) { write(kScriptButtons, {word}); }
  // (-1, -1) is written as the "none" value of the format.
  void lastPosition(int32_t x, int32_t y);
  void dragKind(int32_t kind) { write(kScriptDragKind, {kind}); }
  void hover(int32_t pickMode, int32_t object, int32_t element);
  void dragSelect(bool add, int32_t object, int32_t element);
  void toggle(int32_t object, int32_t element) { write(kScriptToggle, {object, element}); }
  void wheel(int32_t delta) { write(kScriptWheel, {delta & 0xFFFF}); }
  void keyDown(int32_t key) { write(kScriptKeyDown, {key}); }
  void keyUp(int32_t key) { write(kScriptKeyUp, {key}); }
  // An amount typed during a drag, as code 133 with the float's bits.
  void dragAmount(float amount);
  // An operation was started: its title, when it has one, becomes a one-line message.
  void operationStarted(int32_t operationId);
  // The controller returned to its select mode: one step of the tutorial ends here.
  void stepMarker() { write(kScriptStepMarker); }

private:
  std::ofstream file_;
  bool recording_ = false;
};
