// The main of the window tests: GoogleTest inside a QApplication with the program's OpenGL
// surface format.
#include "app/surface_format.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  if (testing::GTEST_FLAG(list_tests))
    return RUN_ALL_TESTS(); // listing needs no display
  useProgramSurfaceFormat();
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
