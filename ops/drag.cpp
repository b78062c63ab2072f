#include "ops/drag.h"

#include "ops/entry_vertices.h"
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

float smallStep(const DragMotion &m) { return 0.05f * float(m.dx); }

// Moves and rotations: 0.1 per pixel, snapped to steps of `grid`.
float tenthStep(const DragMotion &m, int32_t grid) {
  return Snap(0.1f * float(m.accumulatedX), 0.1f * float(m.dx), grid, m.snap);
}

// Scaling: a factor of 1.001 per pixel, snapped to powers of 2; returns factor - 1.
float scaleStep(const DragMotion &m) {
  const float f = float(std::pow(1.001, m.accumulatedX)), g = float(std::pow(1.001, m.dx));
  return SnapLog(f, g, 2, m.snap) - 1;
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

void extrudeAxis(Scene &scene, DragMotion &m) {
  translateSelection(scene, scale(smallStep(m), m.axis));
  shrinkBy(scene, std::fabs(smallStep(m)));
}

void extrudeNormal(Scene &scene, DragMotion &m) {
  normalMove(scene, smallStep(m));
  shrinkBy(scene, std::fabs(smallStep(m)));
}

void scaleBy(Scene &scene, const moVec3 &factors) {
  scaleSelection(scene, factors, scene.elementCentres);
}

// One row per drag kind; kinds without a row do nothing.
struct DragRow {
  int32_t kind;
  void (*step)(Scene &, DragMotion &);
  const char *prompt; // null: the status line is left alone
};

const DragRow kRows[] = {
    {kDragMoveFree, moveFree, kMovePrompt},
    {kDragMoveAxis,
     [](Scene &s, DragMotion &m) { translateSelection(s, scale(tenthStep(m, 10), m.axis)); },
     kMovePrompt},
    {kDragMoveNormal, [](Scene &s, DragMotion &m) { normalMove(s, tenthStep(m, 10)); },
     kMovePrompt},
    {kDragExtrudeFree, extrudeFree, kExtrudePrompt},
    {kDragExtrudeAxis, extrudeAxis, kExtrudePrompt},
    {kDragExtrudeNormal, extrudeNormal, kExtrudePrompt},
    {kDragScaleUniform,
     [](Scene &s, DragMotion &m) {
       const float f = 1 + scaleStep(m);
       scaleBy(s, {f, f, f});
     },
     kScalePrompt},
    {kDragScaleRadial,
     [](Scene &s, DragMotion &m) {
       scaleBy(s, add({1, 1, 1}, scale(scaleStep(m), subtract({1, 1, 1}, m.axis))));
     },
     kScalePrompt},
    {kDragScaleAxis,
     [](Scene &s, DragMotion &m) {
       scaleBy(s, add({1, 1, 1}, scale(scaleStep(m), m.axis)));
     },
     kScalePrompt},
    {kDragRotateFree,
     [](Scene &s, DragMotion &m) { rotateSelection(s, m.viewDirection, tenthStep(m, 15)); },
     nullptr},
    {kDragRotateAxis, [](Scene &s, DragMotion &m) { rotateSelection(s, m.axis, tenthStep(m, 15)); },
     kRotatePrompt},
    {kDragRotateNormal, [](Scene &s, DragMotion &m) { rotateAboutNormals(s, tenthStep(m, 15)); },
     kRotatePrompt},
    {kDragTighten, [](Scene &s, DragMotion &m) { tightenStep(s, smallStep(m)); }, kTightenPrompt},
    {kDragTwist, [](Scene &s, DragMotion &m) { twistStep(s, smallStep(m), m.axis); }, nullptr},
    {kDragNoiseVectors,
     [](Scene &s, DragMotion &m) { noiseStep(s, NoiseKind::AlongVectors, smallStep(m), m.axis); },
     nullptr},
    {kDragNoiseAxis,
     [](Scene &s, DragMotion &m) { noiseStep(s, NoiseKind::AlongAxis, smallStep(m), m.axis); },
     nullptr},
    {kDragNoiseRandom,
     [](Scene &s, DragMotion &m) { noiseStep(s, NoiseKind::Random, smallStep(m), m.axis); },
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
  if (const DragRow *row = rowOf(kind))
    row->step(scene, motion);
}

const char *dragPrompt(int32_t kind) {
  const DragRow *row = rowOf(kind);
  return row ? row->prompt : nullptr;
}
