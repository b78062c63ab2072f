#include "app/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <iostream>

namespace {

const QString kRecent = QStringLiteral("files/recent");
const QString kGroundAndAxes = QStringLiteral("view/groundAndAxes");

} // namespace

Settings::Settings() = default;

Settings::Settings(const QString &path)
    : file_(std::make_unique<QSettings>(path, QSettings::IniFormat)) {
  file_->allKeys(); // the file is read at the first question
  if (file_->status() != QSettings::NoError ||
      (QFileInfo::exists(path) && !QFileInfo(path).isReadable())) {
    std::cerr << "morvo: the settings file " << path.toStdString()
              << " cannot be read; this session starts from the defaults and keeps nothing\n";
    file_.reset();
  }
}

Settings::~Settings() = default;

std::unique_ptr<Settings> Settings::ofThisProgram() {
  if (qEnvironmentVariableIntValue("MORVO_NO_SETTINGS") == 1)
    return std::make_unique<Settings>();
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (folder.isEmpty())
    return std::make_unique<Settings>();
  return std::make_unique<Settings>(folder + QStringLiteral("/morvo/morvo.conf"));
}

QVariant Settings::value(const QString &key, const QVariant &fallback) const {
  if (file_)
    return file_->value(key, fallback);
  return memory_.value(key, fallback);
}

void Settings::setValue(const QString &key, const QVariant &value) {
  if (file_)
    file_->setValue(key, value);
  else
    memory_.insert(key, value);
}

QStringList Settings::recentFiles() const {
  QStringList files = value(kRecent).toStringList();
  files.removeAll(QString());
  return files.mid(0, kRecentFiles);
}

void Settings::noteRecentFile(const QString &path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  QStringList files = recentFiles();
  files.removeAll(absolute);
  files.prepend(absolute);
  setValue(kRecent, files.mid(0, kRecentFiles));
}

void Settings::forgetRecentFile(const QString &path) {
  QStringList files = recentFiles();
  files.removeAll(path);
  setValue(kRecent, files);
}

QByteArray Settings::geometry(const QString &window) const {
  return value(QStringLiteral("windows/") + window).toByteArray();
}

void Settings::setGeometry(const QString &window, const QByteArray &geometry) {
  setValue(QStringLiteral("windows/") + window, geometry);
}

QString Settings::folder(const std::string &purpose) const {
  return value(QStringLiteral("folders/") + QString::fromStdString(purpose)).toString();
}

void Settings::setFolder(const std::string &purpose, const QString &folder) {
  setValue(QStringLiteral("folders/") + QString::fromStdString(purpose), folder);
}

int Settings::autosaveMinutes() const {
  bool ok = false;
  const int minutes = value(QStringLiteral("autosave/minutes"), 2).toInt(&ok);
  return ok && minutes >= 0 && minutes <= 60 ? minutes : 2;
}

void Settings::setAutosaveMinutes(int minutes) {
  setValue(QStringLiteral("autosave/minutes"), minutes);
}

int Settings::groundAndAxes(int fallback) const {
  bool ok = false;
  const int word = value(kGroundAndAxes, fallback).toInt(&ok);
  return ok && word >= 0 && word <= 3 ? word : fallback;
}

void Settings::setGroundAndAxes(int word) { setValue(kGroundAndAxes, word); }

void Settings::save() {
  if (!file_)
    return;
  QDir().mkpath(QFileInfo(file_->fileName()).absolutePath());
  file_->sync();
  if (file_->status() != QSettings::NoError)
    std::cerr << "morvo: the settings could not be written to " << file_->fileName().toStdString()
              << "\n";
}
