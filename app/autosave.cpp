#include "app/autosave.h"

#include "app/file_commands.h"
#include "fileio/atomic_file.h"

#include <ctime>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace {

constexpr int kTickMs = 20; // one object's bytes per tick stay well inside a frame

std::string localTime(std::time_t t) {
  char text[32];
  std::tm parts{};
  localtime_r(&t, &parts);
  return std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &parts) ? text : "an earlier session";
}

} // namespace

Autosave::Autosave(FileCommands &files, Scene &scene, std::function<bool()> busy,
                   std::string folder, QObject *parent)
    : QObject(parent), files_(files), scene_(scene), busy_(std::move(busy)),
      folder_(std::move(folder)), seen_(scene.version()) {
  timer_.setInterval(kTickMs);
  connect(&timer_, &QTimer::timeout, this, &Autosave::tick);
  timer_.start();
}

Autosave::~Autosave() {
  if (write_.valid())
    write_.wait();
}

void Autosave::setTimes(Clock::duration interval, Clock::duration idle) {
  interval_ = interval;
  idle_ = idle;
}

void Autosave::setEnabled(bool on) {
  enabled_ = on;
  if (!on) {
    bytes_.reset();
    removeCopy();
  }
}

std::string Autosave::pathFor(const std::string &sceneName) const {
  return folder_ + "/" + recoveryFileName(sceneName, int64_t(getpid()));
}

bool Autosave::due(Clock::time_point now) const {
  return waiting_ && now >= retry_ && (now - changed_ >= idle_ || now - waitingSince_ >= interval_);
}

void Autosave::tick() {
  if (write_.valid() && write_.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
    finishWrite();
  const Clock::time_point now = Clock::now();
  const uint64_t version = scene_.version();
  if (version != seen_) {
    seen_ = version;
    changed_ = now;
    if (!waiting_)
      waitingSince_ = now;
    waiting_ = true;
  }
  if (!enabled_)
    return;
  if (!files_.unsaved()) {
    bytes_.reset();
    waiting_ = false;
    removeCopy();
    return;
  }
  // A copy of this version under another scene name is written again under the new one.
  const bool renamed = copied_ == version && written_ != pathFor(files_.sceneName().toStdString());
  if ((copied_ == version && !renamed) || busy_())
    return;
  if (!bytes_) {
    if (!due(now) && !renamed)
      return;
    bytes_ = std::make_unique<SceneFileWriter>(scene_);
  }
  if (bytes_->version() != version) {
    bytes_.reset(); // changed on the way: made again once the change is due
    return;
  }
  if (bytes_->writeNext(scene_) || write_.valid())
    return; // more objects, or the last write still in flight
  startWrite();
}

void Autosave::startWrite() {
  writing_ = pathFor(files_.sceneName().toStdString());
  writingVersion_ = bytes_->version();
  auto parts = std::make_shared<std::vector<std::string>>(std::move(bytes_->parts()));
  bytes_.reset();
  waiting_ = false;
  write_ = std::async(std::launch::async, [folder = folder_, path = writing_, parts] {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored); // a failure shows in the write
    std::string reason;
    if (writeFileAtomically(path, SceneFileWriter::join(std::move(*parts)), reason) ==
        SaveResult::kSaved)
      return std::string();
    return reason.empty() ? std::string("the copy could not be written") : reason;
  });
}

void Autosave::finishWrite() {
  const std::string failure = write_.get();
  if (!failure.empty()) {
    std::cerr << "morvo: could not write the recovery copy " << writing_ << ": " << failure << "\n";
    waiting_ = true; // tried again after the interval, not at every tick
    retry_ = Clock::now() + interval_;
    return;
  }
  std::error_code ignored;
  if (!written_.empty() && written_ != writing_)
    std::filesystem::remove(written_, ignored);
  written_ = writing_;
  copied_ = writingVersion_;
}

void Autosave::removeCopy() {
  if (write_.valid()) {
    write_.wait();
    finishWrite();
  }
  if (written_.empty())
    return;
  std::error_code ignored;
  std::filesystem::remove(written_, ignored);
  written_.clear();
  copied_ = ~uint64_t(0);
}

void Autosave::quitCleanly() {
  timer_.stop();
  bytes_.reset();
  removeCopy();
}

void Autosave::offerRecovery(UserInterface &ui) {
  for (const RecoveryCopy &copy : orphanedRecoveryCopies(folder_)) {
    const UserInterface::Answer answer =
        ui.askWithButtons("Morvo did not close properly. Recover the work from " +
                              localTime(copy.written) + " (" + copy.sceneName + ")?",
                          "Recover", "Discard", "Later");
    std::error_code ignored;
    if (answer == UserInterface::Answer::No) {
      std::filesystem::remove(copy.path, ignored);
    } else if (answer == UserInterface::Answer::Yes && files_.askToSave() &&
               files_.recover(QString::fromStdString(copy.path),
                              QString::fromStdString(copy.sceneName))) {
      // The recovered work is unsaved again: the copy stays, now as this program's own.
      removeCopy();
      const std::string own = pathFor(files_.sceneName().toStdString());
      std::filesystem::rename(copy.path, own, ignored);
      written_ = ignored ? std::string() : own;
      copied_ = seen_ = scene_.version();
      waiting_ = false;
    }
  }
}
