// Everything below the window layer needs from the desktop goes through this interface: message
// boxes, yes/no questions and the status line. The program implements it with real dialogs; tests
// and the headless tool use RecordingUi.
#pragma once

#include <string>

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
  // Replaces the text of the status line.
  virtual void setStatus(const std::string &text) = 0;
};
