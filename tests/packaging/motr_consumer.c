/* A program of someone else's using the installed libmotr: a unit square in two triangles. */
#include <motr.h>

#include <stddef.h>

int main(void) {
  const int loops[1] = {4};
  const float points[4 * 3] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
  int triangles[2 * 3];
  if (motrVersionNP() <= 0)
    return 1;
  return motrDelaunayNPf(1, loops, 4, points, triangles, NULL) == 2 ? 0 : 2;
}
