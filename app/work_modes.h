// The two work modes, Model and Paint, and the switch between them ("Go to Paint" 8202, "Go to
// Model" 8201). Owns the paint window (in the main window's work area, beside the model window)
// and the "Toolbox" window, and while in Paint makes the paint window's input the command
// layer's paint session, which gives the paint commands (and Undo, Delete, Delete all) their
// paint meaning. In Paint the main window runs only the commands that make sense there,
// through runInPaint.
#pragma once

#include "app/paint_window.h"
#include "app/toolbox_window.h"
#include "script/command_layer.h"

#include <QObject>

class ColourChooser;
class ModelWindow;
class QStackedWidget;
class TopShell;

class WorkModes : public QObject {
  Q_OBJECT
public:
  // Adds the paint window to stack (hidden) and attaches the commands to the shell's layer.
  WorkModes(TopShell &shell, QStackedWidget &stack, ModelWindow &modelWindow);

  bool inPaint() const { return paint_; }
  PaintWindow *paintWindow() const { return paintWindow_; }
  ToolboxWindow *toolbox() const { return toolbox_; }

  // Model -> Paint: refused with a message when the scene has no objects and silently while a
  // script is being recorded; otherwise the paint window takes over with the Paint menu bar.
  void goToPaint();
  // Paint -> Model: the camera's projection kind comes back, the model window takes over and
  // the paint tool's prompt leaves the status line.
  void goToModel();
  // Runs a command in the paint work mode; the commands that do not apply there are ignored.
  void runInPaint(int32_t number);
  // Makes the paint tools' colour the one the colour chooser and the swatches show and set.
  void shareToolColour(ColourChooser &colours);

signals:
  // After every switch, for the tool bars and the object information window.
  void workModeChanged(bool paint);

private:
  void attachCommands();
  void placeToolbox();
  void swatchClicked();
  void chooseColour();

  TopShell &shell_;
  CommandLayer &layer_;
  QStackedWidget &stack_;
  ModelWindow &modelWindow_;
  PaintWindow *paintWindow_;
  ToolboxWindow *toolbox_;
  bool paint_ = false;
  bool firstEntry_ = true;
  uint8_t modelPerspective_ = 1; // the projection kind the model window had
};
