// Everything below the window layer needs from the desktop goes through this interface: message
// boxes, yes/no questions and the status line. The program implements it with real dialogs; tests
// and the headless tool use RecordingUi.
#pragma once

#include "core/mesh_elements.h"

#include <cstdint>
#include <string>
#include <vector>

class UserInterface {
public:
  virtual ~UserInterface() = default;
  // A modal message box with the text; returns when the user has closed it.
  virtual void messageBox(const std::string &text) = 0;
  // A modal yes/no question; true for Yes.
  virtual bool askYesNo(const std::string &question) = 0;
  enum class Answer { Yes, No, Cancel };
  // A modal question with Yes, No and Cancel.
  virtual Answer askYesNoCancel(const std::string &question) = 0;
  // The same question with buttons of these texts in place of Yes, No and Cancel; an empty no
  // leaves that button out.
  virtual Answer askWithButtons(const std::string &question, const std::string & /*yes*/,
                                const std::string & /*no*/, const std::string & /*cancel*/) {
    return askYesNoCancel(question);
  }
  // Replaces the text of the status line.
  virtual void setStatus(const std::string &text) = 0;

  // What a file dialog asks for.
  struct FileRequest {
    bool save = false; // a save dialog (asks before overwriting) rather than an open dialog
    std::string title;
    std::vector<std::string> filters; // "Description (*.ext *.ext2)" entries, the first shown first
    std::string defaultSuffix;        // added to a chosen name without an extension, e.g. "mvo"
    std::string initialName;          // preset file name, may be empty
    std::string folder;               // where the dialog starts; empty: where it last left off
    // What the dialog is for ("open", "import", "export", "capture", "images", "scripts"): a
    // desktop starts it in the folder the last dialog for the same purpose ended in, also in an
    // earlier run, rather than in folder. Empty for none.
    std::string purpose;
  };
  // The answer of a file dialog: an empty path when it was cancelled, else the chosen path and
  // the index of the filter entry it was chosen under.
  struct FileChoice {
    std::string path;
    int filter = 0;
  };
  // A modal file dialog. Without a desktop the default answers as if the user cancelled.
  virtual FileChoice chooseFile(const FileRequest &) { return {}; }
  // The modal colour dialog, opened fully (custom colours shown) with initial preselected. True
  // with the chosen colour on OK; false, chosen untouched, when cancelled. Without a desktop the
  // default answers as if the user cancelled.
  virtual bool chooseColour(moColor /*initial*/, moColor & /*chosen*/) { return false; }

  // Long work (imports, exports, Smooth, Plane Cut), told through ProgressTask: beginProgress
  // opens a task of `total` steps, progress says how many are done and returns false once the
  // user has asked to stop, endProgress closes the task. A desktop shows a dialog with Cancel
  // when the work goes on for more than half a second. The defaults show nothing, never stop.
  virtual void beginProgress(const std::string & /*label*/, int64_t /*total*/) {}
  virtual bool progress(int64_t /*done*/) { return true; }
  virtual void endProgress() {}
};
