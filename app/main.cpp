// The program's entry point. The window comes with the viewing subsystem; until then the
// program only states its version.
#include <cstdio>

int main(int argc, char **argv) {
  std::printf("Morvo %d.%d\n", MORVO_VERSION_MAJOR, MORVO_VERSION_MINOR);
  if (argc > 1)
    std::printf("(no window yet: %s not opened)\n", argv[1]);
  return 0;
}
