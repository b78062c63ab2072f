#include "ops/drag.h"

#include "ops/bevel.h"
#include "ops/entry_vertices.h"
#include "ops/inset.h"
#include "ops/lift.h"
#include "ops/puff.h"
#include "ops/transform_move.h"
#include "ops/transform_rotate.h"
#include "ops/transform_scale.h"
#include "ops/transform_shape.h"

#include <cmath>

namespace {

const char *const kMovePrompt = "Use the mouse to move, then (CLICK-L)";
const char *const kExtrudePrompt = "Move the mouse to extrude, then (CLICK-L)";
const char *const kScalePrompt = "Move the mouse to scale the element, then (CLICK-L)";
const char *const kRotatePrompt = "Move the mouse to rotate the element, then (CLICK-L)";
const char *const kTightenPrompt =
    "Move the mouse to tighten (or loosen) the vertices, then (CLICK-L)";
const char *const kBevelPrompt =
    "Move the mouse to increase (or decrease) the bevel amount, then (CLICK-L)";
const char *const kInsetPrompt = "Move the mouse to size the inset, then (CLICK-L)";

float smallStep(const DragMotion &m) { return 0.05f * float(m.dx); }

// Moves and rotations: 0.1 per pixel, snapped to steps of `grid`.
float tenthStep(const DragMotion &m, int32_t grid) {
  return Snap(0.1f * float(m.accumulatedX), 0.1f * float(m.dx), grid, m.snap);
}

// Scaling: a factor of 1.001 per pixel, snapped to powers of 2.
float scaleStep(const DragMotion &m) {
  const float f = float(std::pow(1.001, m.accumulatedX)), g = float(std::pow(1.001, m.dx));
  return SnapLog(f, g, 2, m.snap);
}

void moveFree(Scene &scene, DragMotion &m) {
  moVec3 v = m.worldStep;
  m.accumulatedMove = add(m.accumulatedMove, v);
  v = {Snap(m.accumulatedMove.x, v.x, 10, m.snap), Snap(m.accumulatedMove.y, v.y, 10, m.snap),
       Snap(m.accumulatedMove.z, v.z, 10, m.snap)};
  translateSelection(scene, v);
}

// The extrude kinds shrink what they moved about the elements' present centres.
void shrinkBy(Scene &scene, float distance) {
  const float s = 1 - 0.05f * distance;
  scaleSelection(scene, {s, s, s}, elementCentresNow(scene));
}

void extrudeFree(Scene &scene, DragMotion &m) {
  const moVec3 v{smallStep(m), 0.05f * float(m.dy), 0};
  translateSelection(scene, v);
  shrinkBy(scene, length(v));
}

void extrudeAxis(Scene &scene, float a, const DragMotion &m) {
  translateSelection(scene, scale(a, m.axis));
  shrinkBy(scene, std::fabs(a));
}

void extrudeNormal(Scene &scene, float a, const DragMotion &) {
  normalMove(scene, a);
  shrinkBy(scene, std::fabs(a));
}

// The scale kinds take the factor and work with factor - 1; uniform scaling adds the 1 back so
// that it rounds exactly as it always has.
void scaleBy(Scene &scene, const moVec3 &factors) {
  scaleSelection(scene, factors, scene.elementCentres);
}
void scaleUniform(Scene &scene, float factor, const DragMotion &) {
  const float f = 1 + (factor - 1);
  scaleBy(scene, {f, f, f});
}
void scaleRadial(Scene &scene, float factor, const DragMotion &m) {
  scaleBy(scene, add({1, 1, 1}, scale(factor - 1, subtract({1, 1, 1}, m.axis))));
}
void scaleAxis(Scene &scene, float factor, const DragMotion &m) {
  scaleBy(scene, add({1, 1, 1}, scale(factor - 1, m.axis)));
}

float moveStep(const DragMotion &m) { return tenthStep(m, 10); }
float rotateStep(const DragMotion &m) { return tenthStep(m, 15); }
float bevelAmount(const DragMotion &m) { return 5 * smallStep(m); }

const char *const kUnits = "units";
const char *const kDegrees = "degrees";
const char *const kFactor = "factor";
const char *const kAmount = "amount"; // the amount the kind's step function takes

// One row per drag kind; kinds without a row do nothing. A kind whose motion has a scalar
// measure derives it with `measure` and applies it with `apply`; the others (`measure` null) make
// their whole change in `step`.
struct DragRow {
  int32_t kind;
  float (*measure)(const DragMotion &);
  void (*apply)(Scene &, float amount, const DragMotion &);
  void (*step)(Scene &, DragMotion &);
  const char *unit;   // what an amount is measured in; null: no amount can be given
  const char *prompt; // null: the status line is left alone
};

using S = Scene &;
using M = const DragMotion &;

const DragRow kRows[] = {
    {kDragMoveFree, nullptr, nullptr, moveFree, nullptr, kMovePrompt},
    {kDragMoveAxis, moveStep, [](S s, float a, M m) { translateSelection(s, scale(a, m.axis)); },
     nullptr, kUnits, kMovePrompt},
    {kDragMoveNormal, moveStep, [](S s, float a, M) { normalMove(s, a); }, nullptr, kUnits,
     kMovePrompt},
    {kDragExtrudeFree, nullptr, nullptr, extrudeFree, nullptr, kExtrudePrompt},
    {kDragExtrudeAxis, smallStep, extrudeAxis, nullptr, kUnits, kExtrudePrompt},
    {kDragExtrudeNormal, smallStep, extrudeNormal, nullptr, kUnits, kExtrudePrompt},
    {kDragScaleUniform, scaleStep, scaleUniform, nullptr, kFactor, kScalePrompt},
    {kDragScaleRadial, scaleStep, scaleRadial, nullptr, kFactor, kScalePrompt},
    {kDragScaleAxis, scaleStep, scaleAxis, nullptr, kFactor, kScalePrompt},
    {kDragRotateFree, rotateStep, [](S s, float a, M m) { rotateSelection(s, m.viewDirection, a); },
     nullptr, kDegrees, nullptr},
    {kDragRotateAxis, rotateStep, [](S s, float a, M m) { rotateSelection(s, m.axis, a); }, nullptr,
     kDegrees, kRotatePrompt},
    {kDragRotateNormal, rotateStep, [](S s, float a, M) { rotateAboutNormals(s, a); }, nullptr,
     kDegrees, kRotatePrompt},
    // The lift kinds act on the state their lift started; they take no amount from outside.
    {kDragLiftHinge, smallStep, [](S s, float a, M) { liftRotateStep(s, a); }, nullptr, nullptr,
     nullptr},
    {kDragLiftVertices, smallStep, [](S s, float a, M) { liftMoveStep(s, a); }, nullptr, nullptr,
     nullptr},
    {kDragLiftPivot, smallStep, [](S s, float a, M) { liftRotateStep(s, a); }, nullptr, nullptr,
     nullptr},
    {kDragLiftVertices2, smallStep, [](S s, float a, M) { liftMoveStep(s, a); }, nullptr, nullptr,
     nullptr},
    {kDragBevel, bevelAmount, [](S s, float a, M) { bevelStep(s, a); }, nullptr, kAmount,
     kBevelPrompt},
    {kDragInset, smallStep, [](S s, float a, M) { insetStep(s, a); }, nullptr, kAmount,
     kInsetPrompt},
    {kDragTighten, smallStep, [](S s, float a, M) { tightenStep(s, a); }, nullptr, kAmount,
     kTightenPrompt},
    {kDragPuff, smallStep, [](S s, float a, M) { puffStep(s, a); }, nullptr, kAmount, nullptr},
    {kDragTwist, smallStep, [](S s, float a, M m) { twistStep(s, a, m.axis); }, nullptr, kAmount,
     nullptr},
    {kDragNoiseVectors, smallStep,
     [](S s, float a, M m) { noiseStep(s, NoiseKind::AlongVectors, a, m.axis); }, nullptr, kAmount,
     nullptr},
    {kDragNoiseAxis, smallStep,
     [](S s, float a, M m) { noiseStep(s, NoiseKind::AlongAxis, a, m.axis); }, nullptr, kAmount,
     nullptr},
    {kDragNoiseRandom, smallStep,
     [](S s, float a, M m) { noiseStep(s, NoiseKind::Random, a, m.axis); }, nullptr, kAmount,
     nullptr},
};

const DragRow *rowOf(int32_t kind) {
  for (const DragRow &row : kRows)
    if (row.kind == kind)
      return &row;
  return nullptr;
}

} // namespace

void applyDragStep(Scene &scene, int32_t kind, DragMotion &motion) {
  const DragRow *row = rowOf(kind);
  if (!row)
    return;
  if (row->measure)
    row->apply(scene, row->measure(motion), motion);
  else
    row->step(scene, motion);
}

bool applyDragAmount(Scene &scene, int32_t kind, float amount, const DragMotion &context) {
  const DragRow *row = rowOf(kind);
  if (!row || !row->unit)
    return false;
  row->apply(scene, amount, context);
  return true;
}

const char *dragUnit(int32_t kind) {
  const DragRow *row = rowOf(kind);
  return row ? row->unit : nullptr;
}

const char *dragPrompt(int32_t kind) {
  const DragRow *row = rowOf(kind);
  return row ? row->prompt : nullptr;
}
