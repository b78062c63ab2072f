// What the script layer needs from the windows it drives, as plain calls: the tutorial window's
// message pane, the 10 ms playback timer and the model view's refresh. The program implements it
// with its windows; morvo-cli and the tests with plain records.
#pragma once

#include <cstdint>
#include <string>

class ScriptHost {
public:
  virtual ~ScriptHost() = default;
  // Replaces the text of the tutorial window's message pane.
  virtual void showScriptMessage(const std::string &text) = 0;
  // Starts the playback timer: every 10 ms the host calls ScriptPlayer::tick until it is
  // stopped. False when no timer can be had.
  virtual bool startPlaybackTimer() = 0;
  virtual void stopPlaybackTimer() = 0;
  // The view changed, and with sceneChanged the scene too: rebuild the display lists then (the
  // input controller keeps its own lists up to date) and redraw the model view.
  virtual void refreshModelView(bool sceneChanged) = 0;
  // A script's Reset emptied the scene: it is no longer the content of the file it was read
  // from, so a later Save must ask for a name.
  virtual void sceneReset() {}
};

// What the script layer sends to the model window's input controller: the recorded pointer and
// key events, the operation commands, and the wheel and spin ticks of the window. The controller
// implements it; without one the pointer codes of a script change nothing and operation codes
// play as unknown commands.
class ScriptInput {
public:
  virtual ~ScriptInput() = default;
  // Button 1 left, 2 middle, 3 right; window pixels with y downward.
  virtual void press(int32_t button, int32_t x, int32_t y) = 0;
  virtual void release(int32_t button, int32_t x, int32_t y) = 0;
  virtual void move(int32_t x, int32_t y) = 0;
  // The button word of the next move: 0x100 left, 0x200 right or middle in camera mode.
  virtual void setButtons(int32_t word) = 0;
  // The last pointer position; (-1, -1) for none.
  virtual void setLastPosition(int32_t x, int32_t y) = 0;
  virtual void setDragKind(int32_t kind) = 0;
  // Key 1 Shift (snap), 2 Ctrl, 3 the third modifier flag.
  virtual void keyDown(int32_t key) = 0;
  virtual void keyUp(int32_t key) = 0;
  // Rubber-band selection of the rectangle centred at (x, y), y upward, as the controller's
  // release makes it; kind is a selection mode, capacity the pick buffer size in names.
  virtual void regionSelect(int32_t x, int32_t y, int32_t width, int32_t height, int32_t kind,
                            int32_t capacity) = 0;
  // Whether the controller waits for a selection (its select mode).
  virtual bool inSelectMode() const = 0;
  // Starts an operation by its OperationId with its argument (axis 0 to 2, or the segment count
  // of Cut edges) as the operations menu does. False when this program has no such operation.
  virtual bool startOperation(int32_t operationId, int32_t argument) = 0;
  // The same for an UnnumberedCommand (ops/operation_commands.h).
  virtual bool runCommand(int32_t command, int32_t argument) = 0;
  // Script playback runs: no pointer capture, cursor changes, warps or live picks.
  virtual void setPlaying(bool playing) = 0;
  // Releases the snap modifier, recording nothing.
  virtual void releaseSnap() = 0;
  // Sets the running drag to exactly `amount` of its kind's measure from where its setup left
  // it (an amount typed during the drag). Nothing by default, and outside a drag.
  virtual void setDragAmount(float /*amount*/) {}
  // A wheel turn of delta (120 a notch) over the model view, recorded as its own code, and one
  // tick of the 10 ms spin timer, which no code stands for: a played spin makes only its first
  // turn. Nothing happens by default.
  virtual void wheel(int32_t /*delta*/) {}
  virtual void spinTick() {}
};
