#include "ops/snap.h"

#include <cmath>

namespace {

// The grid cell of x: whole steps toward zero.
double cell(float x, int32_t step) { return std::trunc(std::trunc(double(x)) / step); }

// The power of base at or below f toward 1 (for f < 1 toward 1 from below).
double gridPower(double f, int32_t base) {
  if (!(f > 0) || !std::isfinite(f))
    return 1;
  return std::pow(double(base), std::trunc(std::log2(f) / std::log2(double(base))));
}

} // namespace

float Snap(float acc, float delta, int32_t step, const SnapContext &context) {
  if (step <= 0)
    return delta;
  const bool pressed = context.cause == MotionCause::Shift;
  if (context.snap && !pressed) {
    if (context.cause != MotionCause::Pointer)
      return delta;
    const double now = cell(acc, step), before = cell(acc - delta, step);
    return now < before ? float(-step) : now > before ? float(step) : 0.0f;
  }
  if (pressed)
    return context.snap ? float(step * cell(acc, step) - acc) : float(acc - step * cell(acc, step));
  return delta;
}

float SnapLog(float f, float g, int32_t base, const SnapContext &context) {
  if (base <= 1 || !(f > 0) || !(g > 0))
    return g;
  const bool pressed = context.cause == MotionCause::Shift;
  if (context.snap && !pressed) {
    if (context.cause != MotionCause::Pointer)
      return g;
    const double now = gridPower(f, base), before = gridPower(double(f) / g, base);
    return now == before ? 1.0f : float(now / before);
  }
  if (pressed)
    return context.snap ? float(gridPower(f, base) / f) : float(f / gridPower(f, base));
  return g;
}
