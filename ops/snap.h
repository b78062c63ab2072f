// Snapping of drag amounts while Shift is held: additive amounts move in whole steps of S when
// the accumulated value crosses a multiple of S, factors at whole powers of 2.
#pragma once

#include <cstdint>

// Why the current motion is applied: real pointer motion, or a Shift or Ctrl change that
// re-applies the last position without motion.
enum class MotionCause : int32_t { Pointer = 0, Shift = 1, Ctrl = 2 };

struct SnapContext {
  bool snap = false; // Shift held (after the change, for a Shift motion)
  MotionCause cause = MotionCause::Pointer;
};

// The amount to apply for one motion: acc is the accumulated unsnapped value after this motion,
// delta this motion's share, step the grid step. While snapping, +-step when acc crosses a grid
// line and 0 otherwise; on Shift press the move onto the grid line toward zero; on Shift release
// the remainder given back; otherwise delta.
float Snap(float acc, float delta, int32_t step, const SnapContext &context);
// The same on factors: f the accumulated factor, g this motion's factor, grid points at whole
// powers of base. Returns a factor (1 for no change while snapping between grid points).
float SnapLog(float f, float g, int32_t base, const SnapContext &context);
