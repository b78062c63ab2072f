// Stitching: open edges whose ends coincide (closer than the threshold) are merged, with their
// vertices. Open edges are found through a 16 x 16 x 16 grid over the bounding box.
#include "core/mesh_builder.h"

#include "core/mesh_builder_lists.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace mesh_builder_lists;

namespace {

float axisOf(const moVec3 &p, int axis) { return axis == 0 ? p.x : axis == 1 ? p.y : p.z; }

float squaredDistance(const moVec3 &a, const moVec3 &b) {
  const float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
  return dx * dx + dy * dy + dz * dz;
}

} // namespace

int MeshBuilder::gridCoordinate(float value, int axis) const {
  const double lo = axisOf(boundsMin_, axis);
  const double extent = double(axisOf(boundsMax_, axis)) - lo;
  if (!(extent > 0.0) || !std::isfinite(extent))
    return 0;
  const double c = std::floor((double(value) - lo) * kGridCells / extent);
  if (!(c >= 0.0)) // also NaN
    return 0;
  return c > kGridCells - 1 ? kGridCells - 1 : int(c);
}

void MeshBuilder::gridRemove(int32_t e) {
  Edge &d = edges_[size_t(e)];
  if (d.gridCell < 0)
    return;
  if (d.gridPrev != -1)
    edges_[size_t(d.gridPrev)].gridNext = d.gridNext;
  else
    grid_[size_t(d.gridCell)] = d.gridNext;
  if (d.gridNext != -1)
    edges_[size_t(d.gridNext)].gridPrev = d.gridPrev;
  d.gridPrev = d.gridNext = d.gridCell = -1;
}

void MeshBuilder::mergeVertex(int32_t from, int32_t into) {
  if (from == into)
    return;
  Vertex &gone = vertices_[size_t(from)];
  Vertex &kept = vertices_[size_t(into)];
  for (int32_t e : gone.edges) {
    Edge &d = edges_[size_t(e)];
    if (d.p0 != from && d.p1 != from)
      diag_ << "vertex " << from << " not on edge " << e << std::endl;
    if (d.p0 == from)
      d.p0 = into;
    if (d.p1 == from)
      d.p1 = into;
    addUnique(kept.edges, e);
  }
  for (int32_t f : gone.faces) {
    replaceAll(faces_[size_t(f)].vertices, from, into);
    addUnique(kept.faces, f);
  }
  kept.ids.append(gone.ids.begin(), gone.ids.end());
  gone.edges.clear();
  gone.faces.clear();
  gone.ids.clear();
}

void MeshBuilder::mergeEdge(int32_t from, int32_t into, bool sameDirection) {
  unclassify(into);
  for (int side = 0; side < 2; ++side) {
    const auto faces = side == 0 ? edges_[size_t(from)].left : edges_[size_t(from)].right;
    const bool toLeft = (side == 0) == sameDirection;
    for (int32_t f : faces) {
      (toLeft ? edges_[size_t(into)].left : edges_[size_t(into)].right).push_back(f);
      if (!replaceAll(faces_[size_t(f)].edges, from, into))
        diag_ << "edge " << from << " not on face " << f << std::endl;
    }
  }
  deleteEdge(from);
  classify(into);
}

bool MeshBuilder::sharesFace(int32_t a, int32_t b) const {
  for (const auto *list : {&edges_[size_t(a)].left, &edges_[size_t(a)].right})
    for (int32_t f : *list)
      if (faceOnEdge(b, f))
        return true;
  return false;
}

void MeshBuilder::stitch() {
  const float extent[3] = {boundsMax_.x - boundsMin_.x, boundsMax_.y - boundsMin_.y,
                           boundsMax_.z - boundsMin_.z};
  threshold_ = std::min({extent[0], extent[1], extent[2]}) * 1e-6f;
  if (!(threshold_ > 0.0f))
    return; // no finite vertex: nothing can lie closer than the threshold
  grid_.assign(size_t(kGridCells * kGridCells * kGridCells), -1);
  const auto midpoint = [&](int32_t e) {
    const moVec3 &a = vertices_[size_t(edges_[size_t(e)].p0)].position;
    const moVec3 &b = vertices_[size_t(edges_[size_t(e)].p1)].position;
    return moVec3{(a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f, (a.z + b.z) * 0.5f};
  };
  const auto cellOf = [&](const moVec3 &p) {
    return gridCoordinate(p.x, 0) +
           kGridCells * (gridCoordinate(p.y, 1) + kGridCells * gridCoordinate(p.z, 2));
  };
  for (int32_t e = edgeCount() - 1; e >= 0; --e) {
    Edge &d = edges_[size_t(e)];
    if (!d.active() || faceTotal(e) != 1)
      continue;
    if (squaredDistance(vertices_[size_t(d.p0)].position, vertices_[size_t(d.p1)].position) <
        2 * threshold_) {
      diag_ << "ERROR: edge " << e << " shorter than stitch thresh: " << threshold_ << std::endl;
      break;
    }
    d.gridCell = cellOf(midpoint(e));
    d.gridPrev = -1;
    d.gridNext = grid_[size_t(d.gridCell)];
    if (d.gridNext != -1)
      edges_[size_t(d.gridNext)].gridPrev = e;
    grid_[size_t(d.gridCell)] = e;
  }

  // Vertices do not move while stitching; a compact copy of the positions keeps the
  // comparisons in cache.
  std::vector<moVec3> positions(vertices_.size());
  for (size_t v = 0; v < vertices_.size(); ++v)
    positions[v] = vertices_[v].position;
  const auto endsMatch = [&](int32_t a, int32_t b) {
    return squaredDistance(positions[size_t(a)], positions[size_t(b)]) < threshold_;
  };
  const float reach = 2 * std::sqrt(threshold_);
  for (int cell = 0; cell < kGridCells * kGridCells * kGridCells; ++cell) {
    for (int32_t e = grid_[size_t(cell)]; e != -1; e = edges_[size_t(e)].gridNext) {
      const moVec3 mid = midpoint(e);
      int lo[3], hi[3];
      for (int axis = 0; axis < 3; ++axis) {
        lo[axis] = gridCoordinate(axisOf(mid, axis) - reach, axis);
        hi[axis] = gridCoordinate(axisOf(mid, axis) + reach, axis);
      }
      for (int z = lo[2]; z <= hi[2]; ++z)
        for (int y = lo[1]; y <= hi[1]; ++y)
          for (int x = lo[0]; x <= hi[0]; ++x) {
            int32_t next;
            for (int32_t f = grid_[size_t(x + kGridCells * (y + kGridCells * z))]; f != -1;
                 f = next) {
              next = edges_[size_t(f)].gridNext;
              if (f == e)
                continue;
              const int32_t e0 = edges_[size_t(e)].p0, e1 = edges_[size_t(e)].p1;
              const int32_t f0 = edges_[size_t(f)].p0, f1 = edges_[size_t(f)].p1;
              const bool same = endsMatch(f0, e0) && endsMatch(f1, e1);
              if (!same && !(endsMatch(f0, e1) && endsMatch(f1, e0)))
                continue;
              const int32_t k0 = same ? e0 : e1, k1 = same ? e1 : e0;
              // Vertices joined by an edge of their own stay apart: merging them would
              // collapse that edge onto a single vertex.
              if ((f0 != k0 && findEdge(f0, k0) != -1) || (f1 != k1 && findEdge(f1, k1) != -1))
                continue;
              if (sharesFace(f, e)) {
                diag_ << "attempting to stitch edges would result in same face on edge multiple "
                         "times"
                      << std::endl;
                continue;
              }
              mergeVertex(f0, k0);
              mergeVertex(f1, k1);
              gridRemove(f);
              mergeEdge(f, e, same);
            }
          }
    }
  }
  for (Edge &d : edges_)
    d.gridPrev = d.gridNext = d.gridCell = -1;
  grid_.clear();
  grid_.shrink_to_fit();
}
