#include "scene/mirror_index.h"

#include <algorithm>
#include <cmath>

namespace {

// Written out: the vector helpers are not inlined across files, and these loops are hot.
float squaredDistance(const moVec3 &a, const moVec3 &b) {
  const float x = a.x - b.x, y = a.y - b.y, z = a.z - b.z;
  return x * x + y * y + z * z;
}

std::vector<int32_t> liveVertices(const moObject &obj) {
  std::vector<int32_t> live;
  for (int32_t v = 0; v < obj.vertices.count(); ++v)
    if (obj.vertices[v].active())
      live.push_back(v);
  return live;
}

} // namespace

MirrorIndex::MirrorIndex(const moObject &obj) : obj_(obj) { build(liveVertices(obj)); }

MirrorIndex::MirrorIndex(const moObject &obj, const std::vector<int32_t> &vertices) : obj_(obj) {
  build(vertices);
}

void MirrorIndex::build(const std::vector<int32_t> &vertices) {
  moVec3 low{kFloatMax, kFloatMax, kFloatMax}, high{-kFloatMax, -kFloatMax, -kFloatMax};
  for (int32_t v = 0; v < obj_.vertices.count(); ++v) {
    if (!obj_.vertices[v].active())
      continue;
    const moVec3 &p = obj_.vertices[v].Coordinates;
    low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
  }
  const float size = std::max({high.x - low.x, high.y - low.y, high.z - low.z, 0.0f});
  tolerance_ = kRelativeTolerance * size;
  // Cells of 16 tolerances: a query mostly reads one cell, and a cell mostly holds one vertex.
  cell_ = std::max(16 * tolerance_, 1e-30f);
  size_t buckets = 16;
  while (buckets < 2 * vertices.size())
    buckets *= 2;
  heads_.assign(buckets, -1);
  next_.reserve(vertices.size());
  entries_.reserve(vertices.size());
  pool_.reserve(vertices.size()); // mostly one image per vertex asked
  for (int32_t v : vertices) {
    if (!obj_.vertices.contains(v) || !obj_.vertices[v].active())
      continue;
    const moVec3 &p = obj_.vertices[v].Coordinates;
    const size_t b = bucketOf(cellOf(p.x), cellOf(p.y), cellOf(p.z));
    next_.push_back(heads_[b]);
    heads_[b] = int32_t(entries_.size());
    entries_.push_back(v);
  }
}

int64_t MirrorIndex::cellOf(float coordinate) const {
  const double c = std::floor(double(coordinate) / double(cell_));
  return int64_t(std::clamp(c, -4e18, 4e18));
}

size_t MirrorIndex::bucketOf(int64_t x, int64_t y, int64_t z) const {
  const uint64_t h = uint64_t(x) * 73856093u ^ uint64_t(y) * 19349663u ^ uint64_t(z) * 83492791u;
  return size_t(h ^ (h >> 29)) & (heads_.size() - 1);
}

int32_t MirrorIndex::find(const moVec3 &p, const std::function<bool(int32_t)> &accept) const {
  std::vector<int32_t> near;
  collect(p, near);
  for (int32_t v : near)
    if (!accept || accept(v))
      return v;
  return -1;
}

void MirrorIndex::collect(const moVec3 &p, std::vector<int32_t> &out) const {
  const size_t first = out.size();
  const float reach = tolerance_ * tolerance_;
  const int64_t x0 = cellOf(p.x - tolerance_), x1 = cellOf(p.x + tolerance_);
  const int64_t y0 = cellOf(p.y - tolerance_), y1 = cellOf(p.y + tolerance_);
  const int64_t z0 = cellOf(p.z - tolerance_), z1 = cellOf(p.z + tolerance_);
  for (int64_t x = x0; x <= x1; ++x)
    for (int64_t y = y0; y <= y1; ++y)
      for (int64_t z = z0; z <= z1; ++z)
        for (int32_t i = heads_[bucketOf(x, y, z)]; i != -1; i = next_[size_t(i)]) {
          const int32_t v = entries_[size_t(i)];
          if (squaredDistance(obj_.vertices[v].Coordinates, p) <= reach)
            out.push_back(v);
        }
  const auto nearer = [&](int32_t a, int32_t b) {
    const float da = squaredDistance(obj_.vertices[a].Coordinates, p);
    const float db = squaredDistance(obj_.vertices[b].Coordinates, p);
    return da < db || (da == db && a < b);
  };
  if (out.size() > first + 1)
    std::sort(out.begin() + std::ptrdiff_t(first), out.end(), nearer);
}

MirrorIndex::Candidates MirrorIndex::candidates(int32_t v, MirrorFlips flips) const {
  std::vector<Candidates> &known = known_[flips & 7];
  if (size_t(v) >= known.size())
    known.resize(std::max(size_t(v) + 1, size_t(obj_.vertices.count())));
  Candidates &c = known[size_t(v)];
  if (c.start == -1) {
    c.start = int32_t(pool_.size());
    collect(mirrored(obj_.vertices[v].Coordinates, flips), pool_);
    c.count = int32_t(pool_.size()) - c.start;
  }
  return c;
}

bool MirrorIndex::among(const Candidates &c, int32_t v) const {
  for (int32_t i = 0; i < c.count; ++i)
    if (pool_[size_t(c.start + i)] == v)
      return true;
  return false;
}

int32_t MirrorIndex::vertexImage(int32_t v, MirrorFlips flips) const {
  if (!obj_.vertices.contains(v) || !obj_.vertices[v].active())
    return -1;
  const Candidates c = candidates(v, flips);
  return c.count > 0 ? pool_[size_t(c.start)] : -1;
}

float MirrorIndex::apart(int32_t v, int32_t w, MirrorFlips flips) const {
  return squaredDistance(obj_.vertices[w].Coordinates,
                         mirrored(obj_.vertices[v].Coordinates, flips));
}

// Of several candidate images (vertices lying on one another), the one nearest its ideal.
int32_t MirrorIndex::edgeImage(int32_t e, MirrorFlips flips) const {
  if (!obj_.edges.contains(e) || !obj_.edges[e].active())
    return -1;
  const int32_t head = obj_.edges[e].Head, tail = obj_.edges[e].Tail;
  const Candidates heads = candidates(head, flips), tails = candidates(tail, flips);
  int32_t image = -1;
  float best = kFloatMax;
  for (int32_t i = 0; i < heads.count; ++i) {
    const int32_t h = pool_[size_t(heads.start + i)];
    obj_.forEachEdgeAtVertex(h, [&](int32_t d) {
      const int32_t t = obj_.otherVertex(d, h);
      if (t == h || !among(tails, t))
        return;
      // One candidate at each end: the first edge joining them is the only one.
      const float score = heads.count == 1 && tails.count == 1
                              ? 0.0f
                              : apart(head, h, flips) + apart(tail, t, flips);
      if (score < best) {
        best = score;
        image = d;
      }
    });
  }
  return image;
}

int32_t MirrorIndex::faceImage(int32_t f, MirrorFlips flips) const {
  if (!obj_.faces.contains(f) || !obj_.faces[f].active())
    return -1;
  std::vector<int32_t> &corners = corners_;
  corners.clear();
  obj_.forEachEdgeOfFace(f, false, [&](int32_t e) { corners.push_back(obj_.startVertex(e, f)); });
  std::vector<Candidates> &wanted = wanted_;
  wanted.clear();
  bool unique = true;
  for (int32_t v : corners) {
    wanted.push_back(candidates(v, flips));
    if (wanted.back().count == 0)
      return -1;
    unique = unique && wanted.back().count == 1;
  }
  // A face whose corners are images of f's corners, each of f's corners met; scored by how far
  // its corners lie from the images they stand for.
  const auto score = [&](int32_t g) {
    std::vector<int32_t> &ring = ring_;
    ring.clear();
    obj_.forEachEdgeOfFace(g, false, [&](int32_t e) { ring.push_back(obj_.startVertex(e, g)); });
    if (ring.size() != wanted.size())
      return kFloatMax;
    met_.assign(wanted.size(), 0);
    float sum = 0;
    for (int32_t w : ring) {
      float nearest = kFloatMax;
      for (size_t i = 0; i < wanted.size(); ++i)
        if (among(wanted[i], w)) {
          met_[i] = 1;
          nearest = unique ? 0.0f : std::min(nearest, apart(corners[i], w, flips));
        }
      if (nearest == kFloatMax)
        return kFloatMax;
      sum += nearest;
    }
    return std::find(met_.begin(), met_.end(), 0) == met_.end() ? sum : kFloatMax;
  };
  int32_t image = -1;
  float best = kFloatMax;
  const auto consider = [&](int32_t g) {
    if (g == -1 || g == image)
      return;
    if (const float s = score(g); s < best) {
      best = s;
      image = g;
    }
  };
  // Without vertices lying on one another the image borders the image of f's first edge; with
  // them, any face at an image of the first corner may be it.
  if (unique) {
    const int32_t e = obj_.faces[f].EdgeIndex, d = edgeImage(e, flips);
    if (d != -1) {
      // A mirror turns faces over: the image of the face left of e lies right of an image edge
      // running the same way, so that side is tried first. With unique corners only one face
      // can match.
      const moEdge &a = obj_.edges[e], &b = obj_.edges[d];
      const bool sameWay = among(candidates(a.Head, flips), b.Head);
      const bool turned = sameWay == (a.LeftFace == f);
      consider(turned ? b.RightFace : b.LeftFace);
      if (image == -1)
        consider(turned ? b.LeftFace : b.RightFace);
    }
    return image;
  }
  for (int32_t i = 0; i < wanted[0].count; ++i)
    obj_.forEachEdgeAtVertex(pool_[size_t(wanted[0].start + i)], [&](int32_t d) {
      consider(obj_.edges[d].LeftFace);
      consider(obj_.edges[d].RightFace);
    });
  return image;
}
