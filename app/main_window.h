// The main window: menus, the one-pane status line and the model window. Commands go to the
// scene and the view; every change redraws the model window.
#pragma once

#include "app/qt_user_interface.h"
#include "scene/scene.h"
#include "view/view.h"

#include <QMainWindow>
#include <memory>

class ModelWindow;
class QLabel;

class MainWindow : public QMainWindow {
  Q_OBJECT
public:
  MainWindow();
  ~MainWindow() override;

  // Opens a scene file (surrounding double quotes stripped); false with a message when it cannot.
  bool openScenePath(QString path);
  Scene &scene() { return *scene_; }
  ModelWindow *modelWindow() const { return modelWindow_; }
  QLabel *statusLine() const { return statusLine_; }
  QString fileName() const { return fileName_; }

protected:
  void closeEvent(QCloseEvent *event) override;

private:
  void buildMenus();
  void refreshTitle();
  // Asks whether to save before the scene is thrown away; false when the user cancels.
  bool askToSave();
  bool save(bool chooseName);
  void changed();

  QLabel *statusLine_;
  std::unique_ptr<QtUserInterface> ui_;
  std::unique_ptr<Scene> scene_;
  View view_;
  ModelWindow *modelWindow_;
  QString fileName_ = QStringLiteral("untitled.mvo");
  bool named_ = false; // the file name came from an open or a save
};
