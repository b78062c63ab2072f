// Snapping a dragged vertex onto another one: the vertex nearest the pointer in the window.
#pragma once

#include "scene/scene.h"
#include "view/camera.h"

#include <vector>

struct SnapTarget {
  int32_t object = -1, vertex = -1; // object -1: none
  moVec3 position;                  // the target's coordinates, exactly as stored
  bool found() const { return object != -1; }
};

// The active vertex of a visible object whose window position is nearest to the pointer (x, y)
// (window pixels, y downward) and no farther than `radius` pixels from it, in front of the
// camera, leaving out the vertices `excluded` lists (as vertex and object). Of vertices at the
// same distance the first in slot order wins. None when no vertex is that near.
SnapTarget nearestVertex(const Scene &scene, const Camera &camera, int32_t x, int32_t y,
                         float radius, std::vector<ElementRef> excluded);
