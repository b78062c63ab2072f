/* The C interface used from C: a square with a square hole through the float entry. */
#include "triangulate/motr.h"

#include <stdio.h>

static int failures = 0;

static void check(int condition, const char *what) {
  if (!condition) {
    printf("FAILED: %s\n", what);
    ++failures;
  }
}

int main(void) {
  const int loops[2] = {4, 4};
  const float points[8 * 3] = {0, 0, 0, 4, 0, 0, 4, 4, 0, 0, 4, 0,
                               1, 1, 0, 1, 3, 0, 3, 3, 0, 3, 1, 0};
  int triangles[3 * (8 + 2 - 2)];
  int count = motrDelaunayNPf(2, loops, 8, points, triangles, NULL);
  int t;
  double area = 0.0;
  check(count == 8, "square with a square hole gives 8 triangles");
  for (t = 0; t < count && t < 8; ++t) {
    const float *a = &points[3 * triangles[3 * t]];
    const float *b = &points[3 * triangles[3 * t + 1]];
    const float *c = &points[3 * triangles[3 * t + 2]];
    const int allHole =
        triangles[3 * t] >= 4 && triangles[3 * t + 1] >= 4 && triangles[3 * t + 2] >= 4;
    check(!allHole, "no triangle inside the hole");
    area += 0.5 * ((b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]));
  }
  check(area > 11.999 && area < 12.001, "the triangles cover the square less the hole");
  check(motrDelaunayNPd(1, loops, 2, NULL, triangles, NULL) == -6, "two points give -6");
  check(motrVersionNP() == 1.0, "version 1.0");
  return failures == 0 ? 0 : 1;
}
