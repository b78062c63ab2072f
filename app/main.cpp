// The program: sets up OpenGL for Qt, opens the main window and a scene named on the command
// line.
#include "app/main_window.h"
#include "app/surface_format.h"

#include <QApplication>

int main(int argc, char **argv) {
  useProgramSurfaceFormat();

  QApplication app(argc, argv);
  MainWindow window;
  window.show();
  const QStringList args = QApplication::arguments();
  if (args.size() > 1)
    window.openScenePath(args.at(1));
  return QApplication::exec();
}
