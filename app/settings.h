// What the program remembers between runs: the places of the main window and the tool windows,
// the recent scenes, whether the ground plane and the axes show. Nothing else: modeling
// defaults stay as the program defines them.
//
// The program keeps them in ~/.config/morvo/morvo.conf (Qt's INI file for the organisation and
// application "morvo"); MORVO_NO_SETTINGS=1, and a Settings made without a file (the tests),
// start from the defaults and write nothing. A file that cannot be read is left alone and the
// session runs on the defaults, after one line on standard error; a file that cannot be written
// is one line on standard error at the end, never a failed start or quit.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <memory>

class QSettings;

class Settings {
public:
  // Remembers only in memory.
  Settings();
  // Reads and writes the INI file at path.
  explicit Settings(const QString &path);
  ~Settings();
  // The program's own: the user's file, or memory only with MORVO_NO_SETTINGS=1.
  static std::unique_ptr<Settings> ofThisProgram();

  // The last scenes opened or saved, newest first, at most kRecentFiles.
  QStringList recentFiles() const;
  void noteRecentFile(const QString &path);
  void forgetRecentFile(const QString &path);
  static constexpr int kRecentFiles = 8;

  // A window's saved geometry (QWidget::saveGeometry), empty when none was kept.
  QByteArray geometry(const QString &window) const;
  void setGeometry(const QString &window, const QByteArray &geometry);
  // The folder the last file dialog for a purpose ended in, empty when none was kept.
  QString folder(const std::string &purpose) const;
  void setFolder(const std::string &purpose, const QString &folder);
  // Minutes between recovery copies of unsaved work; 0: none are written.
  int autosaveMinutes() const;
  void setAutosaveMinutes(int minutes);
  // The display word of the ground plane and the axes, fallback when none was kept.
  int groundAndAxes(int fallback) const;
  void setGroundAndAxes(int word);

  // Writes what changed to the file, if there is one.
  void save();

private:
  QVariant value(const QString &key, const QVariant &fallback = {}) const;
  void setValue(const QString &key, const QVariant &value);

  std::unique_ptr<QSettings> file_; // null: memory only
  QVariantMap memory_;
};
