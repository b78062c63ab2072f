// Walking a line pixel by pixel (Bresenham: the major axis advances every step, the minor one
// when the error term says so), the start and end pixels included.
#pragma once

#include <cstdint>
#include <cstdlib>

template <class F> void walkLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, F visit) {
  const int32_t dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  const int32_t sx = x1 >= x0 ? 1 : -1, sy = y1 >= y0 ? 1 : -1;
  const bool xMajor = dx >= dy;
  const int32_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
  int32_t error = major / 2, x = x0, y = y0;
  visit(x, y);
  for (int32_t step = 0; step < major; ++step) {
    error -= minor;
    if (error < 0) {
      error += major;
      (xMajor ? y : x) += xMajor ? sy : sx;
    }
    (xMajor ? x : y) += xMajor ? sx : sy;
    visit(x, y);
  }
}
