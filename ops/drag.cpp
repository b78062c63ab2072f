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
#include <cstdio>

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

moVec3 moveFree(Scene &scene, DragMotion &m) {
  const moVec3 v = freeMoveStep(m);
  translateSelection(scene, v);
  return v;
}

// The extrude kinds shrink what they moved about the elements' present centres.
void shrinkBy(Scene &scene, float distance) {
  const float s = 1 - 0.05f * distance;
  scaleSelection(scene, {s, s, s}, elementCentresNow(scene));
}

moVec3 extrudeFree(Scene &scene, DragMotion &m) {
  const moVec3 v{smallStep(m), 0.05f * float(m.dy), 0};
  translateSelection(scene, v);
  shrinkBy(scene, length(v));
  return v;
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

// How the readout shows a kind's amount.
enum class Shown : uint8_t { Units, Degrees, Factor, Amount, DegreesPerUnit, Translation };

const char *const kTenSteps = "steps of 10";
const char *const kAngleSteps = "steps of 15\u00b0";
const char *const kPowersOfTwo = "powers of 2";

// One row per drag kind; kinds without a row do nothing. A kind whose motion has a scalar
// measure derives it with `measure` and applies it with `apply`; the others (`measure` null) make
// their whole change in `step`, which returns the translation it made.
struct DragRow {
  int32_t kind;
  const char *name; // the readout's name of the kind
  float (*measure)(const DragMotion &);
  void (*apply)(Scene &, float amount, const DragMotion &);
  moVec3 (*step)(Scene &, DragMotion &);
  const char *unit;   // what an amount is measured in; null: no amount can be given
  const char *prompt; // the status line as the drag starts; null: the readout from the start
  Shown shown;
  const char *snapSteps; // what Shift snaps to; null: no snapping
};

using S = Scene &;
using M = const DragMotion &;
using D = Shown;

const DragRow kRows[] = {
    {kDragMoveFree, "Move free", nullptr, nullptr, moveFree, nullptr, kMovePrompt, D::Translation,
     kTenSteps},
    {kDragMoveAxis, "Move axis", moveStep,
     [](S s, float a, M m) { translateSelection(s, scale(a, m.axis)); }, nullptr, kUnits,
     kMovePrompt, D::Units, kTenSteps},
    {kDragMoveNormal, "Move normal", moveStep, [](S s, float a, M) { normalMove(s, a); }, nullptr,
     kUnits, kMovePrompt, D::Units, kTenSteps},
    {kDragExtrudeFree, "Extrude free", nullptr, nullptr, extrudeFree, nullptr, kExtrudePrompt,
     D::Translation, nullptr},
    {kDragExtrudeAxis, "Extrude axis", smallStep, extrudeAxis, nullptr, kUnits, kExtrudePrompt,
     D::Units, nullptr},
    {kDragExtrudeNormal, "Extrude normal", smallStep, extrudeNormal, nullptr, kUnits,
     kExtrudePrompt, D::Units, nullptr},
    {kDragScaleUniform, "Scale uniform", scaleStep, scaleUniform, nullptr, kFactor, kScalePrompt,
     D::Factor, kPowersOfTwo},
    {kDragScaleRadial, "Scale radial", scaleStep, scaleRadial, nullptr, kFactor, kScalePrompt,
     D::Factor, kPowersOfTwo},
    {kDragScaleAxis, "Scale axis", scaleStep, scaleAxis, nullptr, kFactor, kScalePrompt, D::Factor,
     kPowersOfTwo},
    {kDragRotateFree, "Rotate free", rotateStep,
     [](S s, float a, M m) { rotateSelection(s, m.viewDirection, a); }, nullptr, kDegrees, nullptr,
     D::Degrees, kAngleSteps},
    {kDragRotateAxis, "Rotate axis", rotateStep,
     [](S s, float a, M m) { rotateSelection(s, m.axis, a); }, nullptr, kDegrees, kRotatePrompt,
     D::Degrees, kAngleSteps},
    {kDragRotateNormal, "Rotate normal", rotateStep,
     [](S s, float a, M) { rotateAboutNormals(s, a); }, nullptr, kDegrees, kRotatePrompt,
     D::Degrees, kAngleSteps},
    // The lift kinds act on the state their lift started; they take no amount from outside.
    {kDragLiftHinge, "Lift hinge", smallStep, [](S s, float a, M) { liftRotateStep(s, a); },
     nullptr, nullptr, nullptr, D::Degrees, nullptr},
    {kDragLiftVertices, "Lift vertices", smallStep, [](S s, float a, M) { liftMoveStep(s, a); },
     nullptr, nullptr, nullptr, D::Units, nullptr},
    {kDragLiftPivot, "Lift pivot", smallStep, [](S s, float a, M) { liftRotateStep(s, a); },
     nullptr, nullptr, nullptr, D::Degrees, nullptr},
    {kDragLiftVertices2, "Lift vertices", smallStep, [](S s, float a, M) { liftMoveStep(s, a); },
     nullptr, nullptr, nullptr, D::Units, nullptr},
    {kDragBevel, "Bevel", bevelAmount, [](S s, float a, M) { bevelStep(s, a); }, nullptr, kAmount,
     kBevelPrompt, D::Amount, nullptr},
    {kDragInset, "Inset", smallStep, [](S s, float a, M) { insetStep(s, a); }, nullptr, kAmount,
     kInsetPrompt, D::Amount, nullptr},
    {kDragTighten, "Tighten", smallStep, [](S s, float a, M) { tightenStep(s, a); }, nullptr,
     kAmount, kTightenPrompt, D::Amount, nullptr},
    {kDragPuff, "Puff", smallStep, [](S s, float a, M) { puffStep(s, a); }, nullptr, kAmount,
     nullptr, D::Amount, nullptr},
    {kDragTwist, "Twist", smallStep, [](S s, float a, M m) { twistStep(s, a, m.axis); }, nullptr,
     kAmount, nullptr, D::DegreesPerUnit, nullptr},
    {kDragNoiseVectors, "Noise along vectors", smallStep,
     [](S s, float a, M m) { noiseStep(s, NoiseKind::AlongVectors, a, m.axis); }, nullptr, kAmount,
     nullptr, D::Amount, nullptr},
    {kDragNoiseAxis, "Noise along axis", smallStep,
     [](S s, float a, M m) { noiseStep(s, NoiseKind::AlongAxis, a, m.axis); }, nullptr, kAmount,
     nullptr, D::Amount, nullptr},
    {kDragNoiseRandom, "Noise random", smallStep,
     [](S s, float a, M m) { noiseStep(s, NoiseKind::Random, a, m.axis); }, nullptr, kAmount,
     nullptr, D::Amount, nullptr},
};

const DragRow *rowOf(int32_t kind) {
  for (const DragRow &row : kRows)
    if (row.kind == kind)
      return &row;
  return nullptr;
}

} // namespace

moVec3 freeMoveStep(DragMotion &m) {
  const moVec3 v = m.worldStep;
  m.accumulatedMove = add(m.accumulatedMove, v);
  return {Snap(m.accumulatedMove.x, v.x, 10, m.snap), Snap(m.accumulatedMove.y, v.y, 10, m.snap),
          Snap(m.accumulatedMove.z, v.z, 10, m.snap)};
}

DragProgress dragStartProgress(int32_t kind) {
  const DragRow *row = rowOf(kind);
  DragProgress p;
  p.amount = row && row->shown == Shown::Factor ? 1.0f : 0.0f;
  return p;
}

void applyDragStep(Scene &scene, int32_t kind, DragMotion &motion, DragProgress *progress) {
  const DragRow *row = rowOf(kind);
  if (!row)
    return;
  DragProgress unused;
  DragProgress &p = progress ? *progress : unused;
  if (!row->measure) {
    const moVec3 moved = row->step(scene, motion);
    followMirrors(scene);
    p.translation = add(p.translation, moved);
    return;
  }
  const float amount = row->measure(motion);
  row->apply(scene, amount, motion);
  followMirrors(scene);
  addDragAmount(kind, p, amount);
}

void addDragAmount(int32_t kind, DragProgress &p, float amount) {
  const DragRow *row = rowOf(kind);
  p.amount = row && row->shown == Shown::Factor ? p.amount * amount : p.amount + amount;
}

bool applyDragAmount(Scene &scene, int32_t kind, float amount, const DragMotion &context) {
  const DragRow *row = rowOf(kind);
  if (!row || !row->unit)
    return false;
  row->apply(scene, amount, context);
  followMirrors(scene);
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

const char *dragKindName(int32_t kind) {
  const DragRow *row = rowOf(kind);
  return row ? row->name : nullptr;
}

const char *dragSnapSteps(int32_t kind) {
  const DragRow *row = rowOf(kind);
  return row ? row->snapSteps : nullptr;
}

namespace {

// A fixed-point number with `decimals` places; a value that rounds to zero shows no minus sign.
std::string fixed(float value, int decimals) {
  char text[64];
  const double shown = std::fabs(double(value)) < 0.5 * std::pow(10.0, -decimals) ? 0.0 : value;
  std::snprintf(text, sizeof text, "%.*f", decimals, shown);
  return text;
}

} // namespace

std::string dragAmountText(int32_t kind, const DragProgress &p) {
  const DragRow *row = rowOf(kind);
  if (!row)
    return "";
  switch (row->shown) {
  case Shown::Degrees:
    return fixed(p.amount, 1) + "\u00b0";
  case Shown::DegreesPerUnit:
    return fixed(p.amount, 1) + "\u00b0 per unit";
  case Shown::Factor:
    return "\u00d7" + fixed(p.amount, 3);
  case Shown::Translation:
    return "(" + fixed(p.translation.x, 3) + ", " + fixed(p.translation.y, 3) + ", " +
           fixed(p.translation.z, 3) + ")";
  default:
    return fixed(p.amount, 3);
  }
}
