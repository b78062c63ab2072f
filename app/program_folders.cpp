#include "app/program_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

ProgramFolders ProgramFolders::below(const QString &root) {
  return {root + QStringLiteral("/Models"), root + QStringLiteral("/Scripts"),
          root + QStringLiteral("/Images"), root + QStringLiteral("/doc")};
}

ProgramFolders ProgramFolders::find(const QString &exeDir) {
  const QString installed = QDir::cleanPath(exeDir + QStringLiteral("/../share/morvo"));
  if (QFileInfo(installed).isDir())
    return below(installed);
  return below(QStringLiteral(MORVO_SOURCE_DIR));
}

ProgramFolders ProgramFolders::ofThisProgram() {
  return find(QCoreApplication::applicationDirPath());
}
