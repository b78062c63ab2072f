// Regions of a selection of edges or faces: the selected elements connected to each other (faces
// through a shared vertex, edges through their wings), with the pivot and normal that Rotate and
// Flatten use for the whole region.
#pragma once

#include "scene/scene.h"

#include <vector>

struct RegionFrame {
  moVec3 centre; // mean of the region's boundary elements, or the object centre without boundary
  moVec3 normal; // normalised sum of the unit normals of the region's elements
};

// One frame per selection entry (edges or faces mode); entries of one region share their frame.
// A boundary face has an unselected face across one of its edges and contributes its centre; a
// boundary edge has an unselected wing and contributes its midpoint. Entries naming no existing
// element get a zero frame. Throws moInvalidTopologyException for a broken face or edge ring.
std::vector<RegionFrame> regionFrames(const Scene &scene);
