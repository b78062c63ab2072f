// Plays a tutorial script back through the command layer, one step at a time: a step runs the
// commands up to the next step marker (the marker that ended a step is the first command of the
// next). Pointer positions of presses and releases are scaled from the recorded view size to the
// current one; motions are not, so drag amounts stay as recorded.
#pragma once

#include "script/command_layer.h"
#include "script/script_format.h"

#include <string>

// Reads a whole script file of at most ScriptPlayer::kMaxScriptBytes bytes; false with a
// one-line reason in error when it cannot.
bool readScriptFile(const std::string &fileName, std::string &bytes, std::string &error);

// Watches playback command by command, for example to draw and time a frame after each.
class PlaybackObserver {
public:
  virtual ~PlaybackObserver() = default;
  virtual void beforeCommand(const ScriptCommand &command) = 0;
  virtual void afterCommand(const ScriptCommand &command) = 0;
};

class ScriptPlayer {
public:
  enum class StepResult { Stepped, Finished, NotLoaded };

  // Largest script file read.
  static constexpr size_t kMaxScriptBytes = 64u << 20;

  explicit ScriptPlayer(CommandLayer &layer) : layer_(layer) {}

  // Reads the script file and rewinds to its start (the Reset with the zoom factor that fits the
  // recorded view into the current one; grid and axes off). A file that cannot be read or has no
  // header shows why in the message pane and leaves no script loaded.
  bool Load(const std::string &fileName);
  // The same from the bytes of a script.
  bool LoadBytes(std::string bytes);
  // Back to the start of the loaded script, with the Reset.
  void Rewind();
  // Starts the 10 ms timer; each tick runs one step. Without a timer the script is closed and
  // the message pane shows "No timer available"; returns false then.
  bool Play();
  // Stops the timer; the script stays where it is.
  void Pause();
  // Pauses, then runs one step as playback.
  StepResult Step();
  // Pauses and closes the script.
  void Stop();
  // The timer's tick: one step; the timer stops at the end of the script.
  void tick();

  bool loaded() const { return loaded_; }
  bool playing() const { return playing_; }
  bool finished() const { return loaded_ && reader_.atEnd(); }
  float scaleX() const { return scaleX_; }
  float scaleY() const { return scaleY_; }
  float zoomFactor() const { return zoom_; }
  // Told about every command played from now on; null for none. The observer outlives playback.
  void setObserver(PlaybackObserver *observer) { observer_ = observer; }
  // Why playback stopped early (a damaged command), empty when it did not.
  const std::string &damage() const { return reader_.error(); }

private:
  StepResult runStep();
  void setPlaying(bool playing);
  ScriptCommand scaled(ScriptCommand command) const;

  CommandLayer &layer_;
  std::string bytes_;
  ScriptReader reader_;
  bool loaded_ = false;
  bool playing_ = false;
  float scaleX_ = 1, scaleY_ = 1, zoom_ = 1;
  PlaybackObserver *observer_ = nullptr;
};
