// Inset: each face is extruded on its own, then the drag moves its corners inward in its plane so
// that every side moves by the same distance.
#pragma once

#include "core/mesh.h"
#include "scene/scene.h"

// Moves the corners of face f (unit normal n) inward in its plane by a: each corner along the
// bisector of its two sides, scaled so that every side moves by exactly a. Moving inward is
// limited so that no corner comes within 0.01 of crossing another side (a step that would cross
// is skipped); a negative a grows the face without a limit. Nothing for an inactive face.
void insetFace(moObject &obj, int32_t f, const moVec3 &n, float a);

// Faces mode: the element vectors become the unit normals of the selected faces, then each
// selected face is extruded on its own. Objects mode: every face of each selected object. On a
// fault the scene is restored, the selection cleared and the result is false. Returns false in
// other modes.
bool Inset(Scene &scene);
// One drag step (kind 30, a = 0.05 per pixel): faces mode insets each selected face along its
// element vector; objects mode every face the object had before the inset, with its own normal.
void insetStep(Scene &scene, float a);
