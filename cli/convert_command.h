// morvo-cli's model file commands: "convert IN OUT" between every registered format and the
// native scene file, and the loading of any importable file for the other commands.
#pragma once

#include "scene/recording_ui.h"
#include "scene/scene.h"
#include "script/file_session.h"

#include <sstream>
#include <string>
#include <vector>

// A scene with its file session on ui, as morvo-cli's commands use them; the readers' and
// writers' messages are kept for --verbose.
struct CliScene {
  explicit CliScene(UserInterface &ui) : scene(ui), files(scene, ui) {
    files.setDiagnostics(diagnostics);
    files.setOverLimit(FileSession::OverLimit::kRefuse); // --simplify changes it
  }
  // With verbose, prints the messages kept so far on standard error; forgets them either way.
  void flushDiagnostics(bool verbose);

  Scene scene;
  FileSession files;
  std::ostringstream diagnostics;
};

// Loads path into the empty scene: a ".mvo" scene file as such, anything else through the
// format registry (by extension, or by content when the extension names no format). False with
// a one-line reason in error (the last message ui recorded, or the import's first problem and
// how many more there were; a body beyond the face limit names --simplify). With verbose every
// reader message also goes to standard error; how bodies were simplified goes there always.
bool openSceneOrModel(CliScene &target, const RecordingUi &ui, const std::string &path,
                      bool verbose, std::string &error);

// morvo-cli convert IN OUT [--verbose] [--simplify]: imports IN into an empty scene and exports
// every object to OUT. Returns the exit status.
int runConvert(const std::vector<std::string> &args);
