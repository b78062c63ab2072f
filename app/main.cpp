// The program: sets up OpenGL for Qt, opens the main window centred on the screen with the about
// picture over it, and then a scene named on the command line. With MORVO_QUIT_AFTER_FIRST_FRAME
// set it quits once the model window has drawn its first frame (for timing the start-up).
// The window carries the program's icon. "morvo --version" prints the version and needs no display.
#include "app/model_window.h"
#include "app/settings.h"
#include "app/surface_format.h"
#include "app/top_shell.h"
#include "core/memory_reuse.h"
#include "fileio/recovery_copies.h"
#include "morvo_version.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <cstdio>
#include <cstring>

int main(int argc, char **argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("morvo %s\n", MORVO_VERSION);
    return 0;
  }
  keepFreedMemoryForReuse();
  useProgramSurfaceFormat();

  QApplication app(argc, argv);
  QIcon icon;
  for (const int size : {16, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/morvo-%1.png").arg(size));
  QApplication::setWindowIcon(icon);
  QGuiApplication::setDesktopFileName(QStringLiteral("morvo")); // its entry, morvo.desktop
  TopShell shell;
  if (const QScreen *screen = QGuiApplication::primaryScreen())
    shell.move(screen->availableGeometry().center() - shell.rect().center());
  shell.useSettings(Settings::ofThisProgram()); // the places kept from the last run win
  shell.show();
  if (qEnvironmentVariableIsSet("MORVO_QUIT_AFTER_FIRST_FRAME"))
    QObject::connect(shell.modelWindow(), &ModelWindow::frameDrawn, &app, &QApplication::quit,
                     Qt::QueuedConnection);
  shell.raise();
  shell.activateWindow();
  shell.showAbout();
  const QStringList args = QApplication::arguments();
  if (args.size() > 1)
    shell.openScenePath(args.at(1));
  if (const std::string folder = recoveryFolder(); !folder.empty()) {
    shell.startAutosave(folder);
    shell.offerRecovery();
  }
  return QApplication::exec();
}
