#include "script/script_player.h"

#include <fstream>
#include <iterator>

bool readScriptFile(const std::string &fileName, std::string &bytes, std::string &error) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) {
    error = "Cannot read the script " + fileName;
    return false;
  }
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0);
  if (size < 0 || size_t(size) > ScriptPlayer::kMaxScriptBytes) {
    error = "The script " + fileName + " is too large";
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = "Cannot read the script " + fileName;
    return false;
  }
  return true;
}

bool ScriptPlayer::Load(const std::string &fileName) {
  Stop();
  std::string bytes, error;
  if (!readScriptFile(fileName, bytes, error)) {
    layer_.showMessage(error);
    return false;
  }
  return LoadBytes(std::move(bytes));
}

bool ScriptPlayer::LoadBytes(std::string bytes) {
  Stop();
  bytes_ = std::move(bytes);
  loaded_ = true;
  Rewind();
  return loaded_;
}

void ScriptPlayer::Rewind() {
  if (!loaded_)
    return;
  Pause();
  reader_ = ScriptReader(bytes_);
  int32_t w0 = 0, h0 = 0;
  if (!reader_.readHeader(w0, h0)) {
    loaded_ = false;
    layer_.showMessage(reader_.error());
    return;
  }
  const Camera &camera = layer_.view().camera;
  const int64_t w = camera.width, h = camera.height;
  // A header with a zero side or a view without size scales nothing.
  if (w0 <= 0 || h0 <= 0 || w <= 0 || h <= 0) {
    scaleX_ = scaleY_ = zoom_ = 1;
  } else {
    scaleX_ = float(w) / float(w0);
    scaleY_ = float(h) / float(h0);
    zoom_ = w0 * h < h0 * w ? float(h0) / float(h) : w0 * h > h0 * w ? float(w0) / float(w) : 1.f;
  }
  layer_.resetForScript(zoom_);
  layer_.view().groundAndAxes = 0;
  layer_.host().refreshModelView(false);
}

void ScriptPlayer::setPlaying(bool playing) {
  playing_ = playing;
  if (ScriptInput *input = layer_.input())
    input->setPlaying(playing);
}

bool ScriptPlayer::Play() {
  if (!loaded_)
    return false;
  setPlaying(true);
  if (layer_.host().startPlaybackTimer())
    return true;
  Stop();
  layer_.showMessage("No timer available");
  return false;
}

void ScriptPlayer::Pause() {
  layer_.host().stopPlaybackTimer();
  setPlaying(false);
  if (ScriptInput *input = layer_.input())
    input->releaseSnap();
}

ScriptPlayer::StepResult ScriptPlayer::Step() {
  Pause();
  setPlaying(true);
  const StepResult result = runStep();
  Pause();
  return result;
}

void ScriptPlayer::Stop() {
  Pause();
  loaded_ = false;
}

void ScriptPlayer::tick() {
  if (!playing_)
    return;
  if (runStep() != StepResult::Stepped) {
    layer_.host().stopPlaybackTimer();
    setPlaying(false);
  }
}

ScriptCommand ScriptPlayer::scaled(ScriptCommand command) const {
  if ((command.code == kScriptPress || command.code == kScriptRelease) &&
      command.args.size() == 3) {
    command.args[1] = int32_t(float(command.args[1]) * scaleX_);
    command.args[2] = int32_t(float(command.args[2]) * scaleY_);
  }
  return command;
}

ScriptPlayer::StepResult ScriptPlayer::runStep() {
  if (!loaded_)
    return StepResult::NotLoaded;
  if (reader_.atEnd())
    return StepResult::Finished;
  ScriptCommand command;
  do {
    if (reader_.next(command) == ScriptReader::Status::Error) {
      layer_.showMessage(reader_.error());
      return StepResult::Finished;
    }
    const ScriptCommand played = scaled(std::move(command));
    if (observer_)
      observer_->beforeCommand(played);
    layer_.execute(played);
    if (observer_)
      observer_->afterCommand(played);
  } while (reader_.peek() != kScriptStepMarker && !reader_.atEnd());
  return reader_.atEnd() ? StepResult::Finished : StepResult::Stepped;
}
