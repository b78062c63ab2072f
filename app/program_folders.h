// Where the program's own folders are: the example models, the tutorial scripts, the images for
// the paint tools and the help pages. An installed program keeps them in <exe dir>/../share/morvo;
// a program run from its build folder uses the copies in the source tree.
#pragma once

#include <QString>

struct ProgramFolders {
  QString models;  // "Models/": example scenes, where the first Open dialog starts
  QString scripts; // "Scripts/": tutorial scripts, where every tutorial dialog starts
  QString images;  // "Images/": where the first image dialog starts
  QString doc;     // "doc/": the help pages

  // The folders below root (which ends without a slash).
  static ProgramFolders below(const QString &root);
  // The folders of the program whose executable lies in exeDir: <exeDir>/../share/morvo when
  // that folder exists, otherwise the source tree the program was built from.
  static ProgramFolders find(const QString &exeDir);
  // find() for the running program.
  static ProgramFolders ofThisProgram();
};
