#include "layers/paint_carry.h"

#include "core/face_triangulation.h"
#include "layers/paint_layers.h"
#include "layers/texel_layer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>
#include <unordered_map>

namespace {

// The parameter t of the point of segment ab nearest to p; returns the squared distance.
double nearestOnSegment(const moVec3 &p, const moVec3 &a, const moVec3 &b, double &t) {
  const double ex = double(b.x) - a.x, ey = double(b.y) - a.y, ez = double(b.z) - a.z;
  const double px = double(p.x) - a.x, py = double(p.y) - a.y, pz = double(p.z) - a.z;
  const double ee = ex * ex + ey * ey + ez * ez;
  t = ee > 0 ? std::clamp((px * ex + py * ey + pz * ez) / ee, 0.0, 1.0) : 0.0;
  const double dx = px - t * ex, dy = py - t * ey, dz = pz - t * ez;
  return dx * dx + dy * dy + dz * dz;
}

// What projecting onto a triangle's plane needs, worked out once per triangle: the barycentric
// weights of corners 1 and 2 of p's projection are dot(p - corner 0, u1) and dot(p - corner 0,
// u2), its distance from the plane dot(p - corner 0, n). Flat for a triangle without area.
struct PlaneProjection {
  double u1[3] = {0, 0, 0}, u2[3] = {0, 0, 0}, n[3] = {0, 0, 0};
  bool flat = true;

  explicit PlaneProjection(const moVec3 v[3]) {
    const double ab[3] = {double(v[1].x) - v[0].x, double(v[1].y) - v[0].y,
                          double(v[1].z) - v[0].z};
    const double ac[3] = {double(v[2].x) - v[0].x, double(v[2].y) - v[0].y,
                          double(v[2].z) - v[0].z};
    const auto cross = [](const double x[3], const double y[3], double out[3]) {
      out[0] = x[1] * y[2] - x[2] * y[1];
      out[1] = x[2] * y[0] - x[0] * y[2];
      out[2] = x[0] * y[1] - x[1] * y[0];
    };
    double normal[3];
    cross(ab, ac, normal);
    const double nn = normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2];
    const double size = ab[0] * ab[0] + ab[1] * ab[1] + ab[2] * ab[2] + ac[0] * ac[0] +
                        ac[1] * ac[1] + ac[2] * ac[2];
    if (!(nn > 1e-12 * size * size))
      return;
    flat = false;
    cross(ac, normal, u1);
    cross(normal, ab, u2);
    const double length = std::sqrt(nn);
    for (int k = 0; k < 3; ++k) {
      u1[k] /= nn, u2[k] /= nn;
      n[k] = normal[k] / length;
    }
  }
};

// Barycentric weights of the point of triangle v nearest to p; returns the squared distance.
double nearestOnTriangle(const moVec3 &p, const moVec3 v[3], const PlaneProjection &plane,
                         float w[3]) {
  if (!plane.flat) {
    // Inside the prism over the triangle the nearest point is the projection onto its plane.
    const double ap[3] = {double(p.x) - v[0].x, double(p.y) - v[0].y, double(p.z) - v[0].z};
    const double w1 = ap[0] * plane.u1[0] + ap[1] * plane.u1[1] + ap[2] * plane.u1[2];
    const double w2 = ap[0] * plane.u2[0] + ap[1] * plane.u2[1] + ap[2] * plane.u2[2];
    if (w1 >= 0 && w2 >= 0 && w1 + w2 <= 1) {
      const double d = ap[0] * plane.n[0] + ap[1] * plane.n[1] + ap[2] * plane.n[2];
      w[0] = float(1 - w1 - w2), w[1] = float(w1), w[2] = float(w2);
      return d * d;
    }
  }
  // Otherwise it lies on an edge; degenerate triangles (a segment or a point) too.
  double best = std::numeric_limits<double>::max();
  for (int k = 0; k < 3; ++k) {
    double t = 0;
    const double d = nearestOnSegment(p, v[k], v[(k + 1) % 3], t);
    if (d < best) {
      best = d;
      w[k] = float(1 - t), w[(k + 1) % 3] = float(t), w[(k + 2) % 3] = 0;
    }
  }
  return best;
}

uint32_t mixColours(const uint32_t c[], const float w[], int n) {
  uint32_t out = 0;
  for (int b = 0; b < 4; ++b) {
    float sum = 0;
    for (int k = 0; k < n; ++k)
      sum += w[k] * float((c[k] >> (8 * b)) & 0xFFu);
    out |= uint32_t(std::clamp(sum, 0.0f, 255.0f) + 0.5f) << (8 * b);
  }
  return out;
}

// The image at texture coordinates (u, v), bilinear between the four texels around the point.
uint32_t bilinear(const ImageBuffer &image, float u, float v) {
  const float x = u * float(image.width()) - 0.5f, y = v * float(image.height()) - 0.5f;
  if (!std::isfinite(x) || !std::isfinite(y))
    return image.at(0, 0);
  const float fx = std::floor(x), fy = std::floor(y);
  const float ax = x - fx, ay = y - fy;
  const auto clampX = [&](float c) {
    return int32_t(std::clamp(c, 0.0f, float(image.width() - 1)));
  };
  const auto clampY = [&](float c) {
    return int32_t(std::clamp(c, 0.0f, float(image.height() - 1)));
  };
  const int32_t x0 = clampX(fx), x1 = clampX(fx + 1), y0 = clampY(fy), y1 = clampY(fy + 1);
  // Fixed point, two channels at a time; a weight of 0 gives the texel exactly.
  const uint32_t tx = uint32_t(ax * 256 + 0.5f), ty = uint32_t(ay * 256 + 0.5f);
  const auto lerp = [](uint32_t a, uint32_t b, uint32_t t) {
    const uint32_t rb = (((a & 0xFF00FFu) * (256 - t) + (b & 0xFF00FFu) * t) >> 8) & 0xFF00FFu;
    const uint32_t ga =
        (((a >> 8) & 0xFF00FFu) * (256 - t) + ((b >> 8) & 0xFF00FFu) * t) & 0xFF00FF00u;
    return rb | ga;
  };
  return lerp(lerp(image.at(x0, y0), image.at(x1, y0), tx),
              lerp(image.at(x0, y1), image.at(x1, y1), tx), ty);
}

bool samePosition(const moVec3 &a, const moVec3 &b) {
  return a.x == b.x && a.y == b.y && a.z == b.z;
}

} // namespace

struct PaintCarrier::Impl {
  // A triangle of a source face: a paint triangle with its texture coordinates, or, where the
  // source has no paint there, a triangle of the face with its corner colours.
  struct Triangle {
    int32_t source = 0, face = 0, paintTriangle = -1;
    int32_t vertex[3] = {0, 0, 0};
    moVec3 corner[3];
    moVec3 low, high; // bounds
    moVec3 centre;    // of a sphere holding the corners, for cheap rejection
    float radius = 0;
    PlaneProjection plane{corner};
    float uv[6] = {0, 0, 0, 0, 0, 0};
    uint32_t colour[3] = {0, 0, 0};
    double nearest(const moVec3 &p, float w[3]) const {
      return nearestOnTriangle(p, corner, plane, w);
    }
    // No point of the triangle is nearer to p than the root of this.
    double lowerBound(const moVec3 &p) const {
      const double gap = std::max(0.0, double(distance(p, centre)) - radius);
      return gap * gap;
    }
  };
  struct Source {
    std::shared_ptr<const moObject> object;
    int32_t slot = -1;
    const PaintLayer *layer = nullptr; // null when unpainted
    AtlasLayout atlas;                 // cellSize 0 unless the layer is an atlas
    std::vector<uint8_t> preferred;    // by face
    std::vector<int32_t> faceStart;    // by face, into faceTriangles; one more entry
    std::vector<int32_t> faceTriangles;
  };

  std::vector<Source> sources;
  std::vector<Triangle> triangles;
  std::unordered_map<int32_t, std::vector<moVec3>> rest; // by slot

  // A uniform grid over every triangle's bounds, built at the first carry.
  mutable bool gridBuilt = false;
  mutable moVec3 lower;
  mutable float cellSide = 1; // cells are cubes
  mutable int32_t dims[3] = {1, 1, 1};
  mutable std::vector<int32_t> cellStart, cellItems;
  mutable std::vector<uint32_t> stamp;
  mutable uint32_t round = 0;
  mutable float tolerance = 0;

  void add(std::shared_ptr<const moObject> before, int32_t slot,
           const std::vector<int32_t> &preferred);
  void buildGrid() const;
  int32_t cellIndex(int32_t i, int32_t j, int32_t k) const {
    return (k * dims[1] + j) * dims[0] + i;
  }
  void cellOf(const moVec3 &p, int32_t c[3]) const;
  // The faces (source, face) of the triangles within tolerance of the distance of the nearest
  // triangle to p.
  void nearFaces(const moVec3 &p, std::vector<std::pair<int32_t, int32_t>> &out) const;
  double faceDistance(int32_t source, int32_t face, const moVec3 &p) const;
  // Nearest point among triangles; returns the triangle and writes its weights. The triangle
  // hints are tried first, each taken when p lies on it (within the tolerance) or right above or
  // below its inside: neighbouring texels mostly fall on the same triangle.
  int32_t nearest(const moVec3 &p, const int32_t *list, size_t count, float w[3],
                  const int32_t *hints = nullptr, int hintCount = 0) const;
  uint32_t colourAt(const Triangle &t, const float w[3]) const {
    const Source &s = sources[size_t(t.source)];
    if (t.paintTriangle < 0 || !s.layer)
      return mixColours(t.colour, w, 3);
    const float u = w[0] * t.uv[0] + w[1] * t.uv[2] + w[2] * t.uv[4];
    const float v = w[0] * t.uv[1] + w[1] * t.uv[3] + w[2] * t.uv[5];
    return bilinear(s.layer->image, u, v);
  }
};

PaintCarrier::PaintCarrier() : impl_(std::make_unique<Impl>()) {}
PaintCarrier::~PaintCarrier() = default;

void PaintCarrier::addSource(std::shared_ptr<const moObject> before, int32_t slot,
                             const std::vector<int32_t> &preferred) {
  if (before)
    impl_->add(std::move(before), slot, preferred);
}

void PaintCarrier::restPositions(int32_t slot, std::vector<moVec3> positions) {
  impl_->rest[slot] = std::move(positions);
}

bool PaintCarrier::painted() const {
  return std::any_of(impl_->sources.begin(), impl_->sources.end(),
                     [](const Impl::Source &s) { return s.layer != nullptr; });
}

void PaintCarrier::Impl::add(std::shared_ptr<const moObject> before, int32_t slot,
                             const std::vector<int32_t> &preferred) {
  const moObject &obj = *before;
  Source s;
  s.slot = slot;
  const int32_t paintCount = paintTriangleCount(obj);
  if (obj.paintLayer && !obj.paintLayer->image.empty() && paintCount > 0) {
    s.layer = obj.paintLayer.get();
    if (s.layer->kind() == PaintLayer::kAtlas)
      s.atlas = atlasLayout(s.layer->image.width(), s.layer->image.height(), s.layer->elementCount);
  }
  const int32_t faceCount = obj.faces.count();
  s.preferred.assign(size_t(faceCount), 0);
  for (int32_t f : preferred)
    if (f >= 0 && f < faceCount)
      s.preferred[size_t(f)] = 1;
  const int32_t index = int32_t(sources.size());
  std::vector<Triangle> own;
  const auto live = [&](int32_t v) { return obj.vertices.contains(v) && obj.vertices[v].active(); };
  const auto push = [&](int32_t f, int32_t t, const int32_t *v) {
    Triangle tri;
    tri.source = index, tri.face = f, tri.paintTriangle = t;
    for (int k = 0; k < 3; ++k) {
      tri.vertex[k] = v[k];
      tri.corner[k] = obj.vertices[v[k]].Coordinates;
    }
    tri.plane = PlaneProjection(tri.corner);
    tri.low = tri.high = tri.corner[0];
    for (const moVec3 &c : tri.corner) {
      tri.low = {std::min(tri.low.x, c.x), std::min(tri.low.y, c.y), std::min(tri.low.z, c.z)};
      tri.high = {std::max(tri.high.x, c.x), std::max(tri.high.y, c.y), std::max(tri.high.z, c.z)};
    }
    tri.centre = scale(1.0f / 3, ::add(::add(tri.corner[0], tri.corner[1]), tri.corner[2]));
    for (const moVec3 &c : tri.corner)
      tri.radius = std::max(tri.radius, distance(c, tri.centre) * 1.0001f);
    if (t >= 0) {
      s.layer->cornerTexCoords(obj, t, tri.uv);
    } else {
      for (int k = 0; k < 3; ++k) {
        moColor c = kWhite;
        try {
          c = obj.cornerColorAt(v[k], f);
        } catch (const moInvalidTopologyException &) {
        }
        tri.colour[k] = packRgba(c.r, c.g, c.b, c.a);
      }
    }
    own.push_back(tri);
  };
  std::vector<uint8_t> covered(size_t(faceCount), 0);
  if (s.layer)
    for (int32_t t = 0; t < paintCount; ++t) {
      const int32_t f = obj.triangleFaces[t];
      const int32_t *v = &obj.triangleVertices[3 * t];
      if (!obj.faces.contains(f) || !obj.faces[f].active() || !live(v[0]) || !live(v[1]) ||
          !live(v[2]))
        continue; // a stale entry
      covered[size_t(f)] = 1;
      push(f, t, v);
    }
  // Faces without paint triangles give their corner colours.
  std::vector<int32_t> corners, picks;
  for (int32_t f = 0; f < faceCount; ++f) {
    if (covered[size_t(f)] || !obj.faces[f].active())
      continue;
    obj.faceVertices(f, corners);
    picks.clear();
    const int32_t n = faceTriangles(obj, f, corners, picks);
    for (int32_t t = 0; t < n; ++t) {
      const int32_t v[3] = {corners[size_t(picks[size_t(3 * t)])],
                            corners[size_t(picks[size_t(3 * t + 1)])],
                            corners[size_t(picks[size_t(3 * t + 2)])]};
      push(f, -1, v);
    }
  }
  // Group the triangles by face.
  s.faceStart.assign(size_t(faceCount) + 1, 0);
  for (const Triangle &t : own)
    ++s.faceStart[size_t(t.face) + 1];
  for (int32_t f = 0; f < faceCount; ++f)
    s.faceStart[size_t(f) + 1] += s.faceStart[size_t(f)];
  s.faceTriangles.resize(own.size());
  std::vector<int32_t> fill(s.faceStart.begin(), s.faceStart.end() - 1);
  const int32_t base = int32_t(triangles.size());
  for (size_t i = 0; i < own.size(); ++i)
    s.faceTriangles[size_t(fill[size_t(own[i].face)]++)] = base + int32_t(i);
  triangles.insert(triangles.end(), own.begin(), own.end());
  s.object = std::move(before);
  sources.push_back(std::move(s));
}

void PaintCarrier::Impl::buildGrid() const {
  gridBuilt = true;
  constexpr float kBig = std::numeric_limits<float>::max();
  moVec3 lo{kBig, kBig, kBig}, hi{-kBig, -kBig, -kBig};
  double extent = 0;
  for (const Triangle &t : triangles) {
    lo = {std::min(lo.x, t.low.x), std::min(lo.y, t.low.y), std::min(lo.z, t.low.z)};
    hi = {std::max(hi.x, t.high.x), std::max(hi.y, t.high.y), std::max(hi.z, t.high.z)};
    extent += std::max({t.high.x - t.low.x, t.high.y - t.low.y, t.high.z - t.low.z});
  }
  if (triangles.empty())
    return;
  const double diagonal = distance(lo, hi);
  tolerance = float(std::max(diagonal * 1e-4, 1e-9));
  // Cells about as large as a triangle, at most 2^21 of them.
  double size = std::max(extent / double(triangles.size()), diagonal / 128 + 1e-9);
  const double side[3] = {double(hi.x) - lo.x, double(hi.y) - lo.y, double(hi.z) - lo.z};
  for (;;) {
    int64_t total = 1;
    for (int a = 0; a < 3; ++a) {
      dims[a] = int32_t(std::clamp(std::ceil(side[a] / size), 1.0, 1024.0));
      total *= dims[a];
    }
    if (total <= (int64_t(1) << 21))
      break;
    size *= 1.25;
  }
  lower = lo;
  cellSide = float(size);
  cellStart.assign(size_t(dims[0]) * size_t(dims[1]) * size_t(dims[2]) + 1, 0);
  const auto forCells = [&](const Triangle &t, auto fn) {
    int32_t a[3], b[3];
    cellOf(t.low, a);
    cellOf(t.high, b);
    for (int32_t k = a[2]; k <= b[2]; ++k)
      for (int32_t j = a[1]; j <= b[1]; ++j)
        for (int32_t i = a[0]; i <= b[0]; ++i)
          fn(cellIndex(i, j, k));
  };
  for (const Triangle &t : triangles)
    forCells(t, [&](int32_t c) { ++cellStart[size_t(c) + 1]; });
  for (size_t c = 1; c < cellStart.size(); ++c)
    cellStart[c] += cellStart[c - 1];
  cellItems.resize(size_t(cellStart.back()));
  std::vector<int32_t> fill(cellStart.begin(), cellStart.end() - 1);
  for (size_t i = 0; i < triangles.size(); ++i)
    forCells(triangles[i], [&](int32_t c) { cellItems[size_t(fill[size_t(c)]++)] = int32_t(i); });
  stamp.assign(triangles.size(), 0);
}

void PaintCarrier::Impl::cellOf(const moVec3 &p, int32_t c[3]) const {
  const float q[3] = {(p.x - lower.x) / cellSide, (p.y - lower.y) / cellSide,
                      (p.z - lower.z) / cellSide};
  for (int a = 0; a < 3; ++a)
    c[a] =
        std::isfinite(q[a]) ? int32_t(std::clamp(std::floor(q[a]), 0.0f, float(dims[a] - 1))) : 0;
}

void PaintCarrier::Impl::nearFaces(const moVec3 &p,
                                   std::vector<std::pair<int32_t, int32_t>> &out) const {
  if (triangles.empty())
    return;
  int32_t c[3];
  cellOf(p, c);
  const int32_t maxRing = std::max({dims[0], dims[1], dims[2]});
  // The nearest distance first, ring by ring of cells around p.
  double best = std::numeric_limits<double>::max();
  float w[3];
  const auto visitRing = [&](int32_t r, auto fn) {
    for (int32_t k = c[2] - r; k <= c[2] + r; ++k)
      for (int32_t j = c[1] - r; j <= c[1] + r; ++j)
        for (int32_t i = c[0] - r; i <= c[0] + r; ++i) {
          if (std::max({std::abs(i - c[0]), std::abs(j - c[1]), std::abs(k - c[2])}) != r)
            continue;
          if (i < 0 || j < 0 || k < 0 || i >= dims[0] || j >= dims[1] || k >= dims[2])
            continue;
          const int32_t cellNo = cellIndex(i, j, k);
          for (int32_t n = cellStart[size_t(cellNo)]; n < cellStart[size_t(cellNo) + 1]; ++n)
            fn(cellItems[size_t(n)]);
        }
  };
  ++round;
  for (int32_t r = 0; r <= maxRing; ++r) {
    visitRing(r, [&](int32_t t) {
      if (stamp[size_t(t)] == round)
        return;
      stamp[size_t(t)] = round;
      const Triangle &tri = triangles[size_t(t)];
      if (tri.lowerBound(p) < best)
        best = std::min(best, tri.nearest(p, w));
    });
    // Every triangle not yet seen lies in a cell outside the box of the rings so far, beyond a
    // side of it that the grid goes on past.
    double outside = std::numeric_limits<double>::max();
    const float q[3] = {p.x, p.y, p.z}, low[3] = {lower.x, lower.y, lower.z};
    for (int a = 0; a < 3; ++a) {
      const double from = low[a] + double(c[a] - r) * cellSide,
                   to = from + double(2 * r + 1) * cellSide;
      if (c[a] - r > 0)
        outside = std::min(outside, std::max(0.0, double(q[a]) - from));
      if (c[a] + r < dims[a] - 1)
        outside = std::min(outside, std::max(0.0, to - double(q[a])));
    }
    if (best <= outside * outside)
      break;
  }
  // Then every triangle within the tolerance of that distance, from the cells it can reach.
  const double reach = std::sqrt(best) + tolerance;
  const double limit = reach * reach;
  int32_t from[3], to[3];
  cellOf({float(p.x - reach), float(p.y - reach), float(p.z - reach)}, from);
  cellOf({float(p.x + reach), float(p.y + reach), float(p.z + reach)}, to);
  ++round;
  for (int32_t k = from[2]; k <= to[2]; ++k)
    for (int32_t j = from[1]; j <= to[1]; ++j)
      for (int32_t i = from[0]; i <= to[0]; ++i) {
        const int32_t cellNo = cellIndex(i, j, k);
        for (int32_t n = cellStart[size_t(cellNo)]; n < cellStart[size_t(cellNo) + 1]; ++n) {
          const int32_t t = cellItems[size_t(n)];
          if (stamp[size_t(t)] == round)
            continue;
          stamp[size_t(t)] = round;
          const Triangle &tri = triangles[size_t(t)];
          if (tri.lowerBound(p) <= limit && tri.nearest(p, w) <= limit) {
            const std::pair<int32_t, int32_t> face{tri.source, tri.face};
            if (std::find(out.begin(), out.end(), face) == out.end())
              out.push_back(face);
          }
        }
      }
}

double PaintCarrier::Impl::faceDistance(int32_t source, int32_t face, const moVec3 &p) const {
  const Source &s = sources[size_t(source)];
  double best = std::numeric_limits<double>::max();
  float w[3];
  for (int32_t n = s.faceStart[size_t(face)]; n < s.faceStart[size_t(face) + 1]; ++n)
    best = std::min(best, triangles[size_t(s.faceTriangles[size_t(n)])].nearest(p, w));
  return best;
}

int32_t PaintCarrier::Impl::nearest(const moVec3 &p, const int32_t *list, size_t count, float w[3],
                                    const int32_t *hints, int hintCount) const {
  for (int i = 0; i < hintCount; ++i) {
    const double d = triangles[size_t(hints[i])].nearest(p, w);
    if (d <= double(tolerance) * tolerance || (w[0] > 0 && w[1] > 0 && w[2] > 0))
      return hints[i];
  }
  double best = std::numeric_limits<double>::max();
  int32_t found = list[0];
  float trial[3];
  for (size_t i = 0; i < count; ++i) {
    const Triangle &tri = triangles[size_t(list[i])];
    if (tri.lowerBound(p) >= best)
      continue;
    const double d = tri.nearest(p, trial);
    if (d < best) {
      best = d;
      found = list[i];
      std::copy(trial, trial + 3, w);
    }
  }
  return found;
}

namespace {

// An atlas cell of this many texels a side paints 21 texels per triangle; a carried layer grows
// its image (up to the largest side) rather than let its cells shrink below that.
constexpr int32_t kSharpCell = 10;
constexpr int32_t kLargestGrownSide = 2048;

// How a new paint triangle gets its texels: from one source triangle whose corners are its own
// (exact), or from the nearest points among a list of source triangles.
struct TrianglePlan {
  int32_t exact = -1;
  int32_t first = 0, count = 0; // into the candidate list
};

// The offset r with positions a[i] == b[(i + r) % n] for every i (b's vertices at positions pb),
// or -1.
int32_t cyclicMatch(const moObject &oa, const std::vector<int32_t> &a,
                    const std::vector<moVec3> &pb, const std::vector<int32_t> &b) {
  const size_t n = a.size();
  if (n != b.size() || n == 0)
    return -1;
  for (size_t r = 0; r < n; ++r) {
    bool all = true;
    for (size_t i = 0; i < n && all; ++i)
      all = samePosition(oa.vertices[a[i]].Coordinates, pb[size_t(b[(i + r) % n])]);
    if (all)
      return int32_t(r);
  }
  return -1;
}

} // namespace

bool PaintCarrier::carryTo(moObject &obj, int32_t slot) const {
  Impl &m = *impl_;
  if (!m.gridBuilt)
    m.buildGrid();
  // Where the vertices lie on the surface before the operation.
  std::vector<moVec3> surface(size_t(obj.vertices.count()));
  const auto rest = m.rest.find(slot);
  for (int32_t v = 0; v < obj.vertices.count(); ++v)
    surface[size_t(v)] = rest != m.rest.end() && size_t(v) < rest->second.size()
                             ? rest->second[size_t(v)]
                             : obj.vertices[v].Coordinates;
  const Impl::Source *own = nullptr;
  const PaintLayer *model = nullptr;
  int32_t ownIndex = -1;
  for (size_t i = 0; i < m.sources.size(); ++i) {
    const Impl::Source &s = m.sources[i];
    if (slot >= 0 && s.slot == slot) {
      own = &s;
      ownIndex = int32_t(i);
    }
    if (!model && s.layer)
      model = s.layer;
  }
  if (own && own->layer)
    model = own->layer;
  if (!model || m.triangles.empty())
    return false;

  std::vector<int32_t> vertices, faces, candidates;
  std::vector<TrianglePlan> plans;
  std::vector<int32_t> corners, oldCorners, picks;
  std::vector<std::pair<int32_t, int32_t>> near, faceList, nearOfVertices;
  std::vector<std::pair<int32_t, int32_t>> vertexNear(size_t(obj.vertices.count()), {-1, 0});
  bool anyPaint = false;
  const auto addExact = [&](const Impl::Source &s, int32_t sourceFace, int32_t f, int32_t offset) {
    for (int32_t n = s.faceStart[size_t(sourceFace)]; n < s.faceStart[size_t(sourceFace) + 1];
         ++n) {
      const int32_t g = s.faceTriangles[size_t(n)];
      const Impl::Triangle &t = m.triangles[size_t(g)];
      for (int k = 0; k < 3; ++k) {
        const auto at = std::find(oldCorners.begin(), oldCorners.end(), t.vertex[k]);
        const size_t i = size_t(at - oldCorners.begin());
        vertices.push_back(at == oldCorners.end() ? corners[0]
                                                  : corners[(i + size_t(offset)) % corners.size()]);
      }
      faces.push_back(f);
      plans.push_back({g, 0, 0});
      anyPaint = anyPaint || (t.paintTriangle >= 0 && s.layer);
    }
  };
  for (int32_t f = 0; f < obj.faces.count(); ++f) {
    if (!obj.faces[f].active() || obj.faceVertices(f, corners) < 3)
      continue;
    // The face the operation kept in its place: the same corners, or corners at the same places.
    if (own && f < own->object->faces.count() && own->object->faces[f].active()) {
      own->object->faceVertices(f, oldCorners);
      const int32_t offset =
          oldCorners == corners ? 0 : cyclicMatch(*own->object, oldCorners, surface, corners);
      if (offset >= 0) {
        addExact(*own, f, f, offset);
        continue;
      }
    }
    // Else the source faces it lies on: the faces nearest to any of its corners.
    faceList.clear();
    moVec3 centre{};
    for (int32_t v : corners) {
      const moVec3 &p = surface[size_t(v)];
      centre = add(centre, p);
      if (vertexNear[size_t(v)].first < 0) { // each vertex is looked up once
        near.clear();
        m.nearFaces(p, near);
        vertexNear[size_t(v)] = {int32_t(nearOfVertices.size()), int32_t(near.size())};
        nearOfVertices.insert(nearOfVertices.end(), near.begin(), near.end());
      }
      const auto [start, length] = vertexNear[size_t(v)];
      for (int32_t i = start; i < start + length; ++i)
        if (std::find(faceList.begin(), faceList.end(), nearOfVertices[size_t(i)]) ==
            faceList.end())
          faceList.push_back(nearOfVertices[size_t(i)]);
    }
    centre = scale(1.0f / float(corners.size()), centre);
    // A face holding all of them wins: its own index in the same object first, then one the
    // operation was applied to, then the nearest.
    int32_t chosen = -1;
    double chosenDistance = 0;
    int chosenRank = -1;
    const double limit = double(m.tolerance) * m.tolerance;
    for (size_t i = 0; i < faceList.size(); ++i) {
      const auto [source, face] = faceList[i];
      double worst = m.faceDistance(source, face, centre);
      for (size_t k = 0; k < corners.size() && worst <= limit; ++k)
        worst = std::max(worst, m.faceDistance(source, face, surface[size_t(corners[k])]));
      if (worst > limit)
        continue;
      const Impl::Source &s = m.sources[size_t(source)];
      const int rank = (source == ownIndex && face == f) ? 2 : s.preferred[size_t(face)] ? 1 : 0;
      if (chosen < 0 || rank > chosenRank || (rank == chosenRank && worst < chosenDistance)) {
        chosen = int32_t(i);
        chosenRank = rank;
        chosenDistance = worst;
      }
    }
    if (chosen >= 0) {
      const auto [source, face] = faceList[size_t(chosen)];
      const Impl::Source &s = m.sources[size_t(source)];
      s.object->faceVertices(face, oldCorners);
      const int32_t offset = cyclicMatch(*s.object, oldCorners, surface, corners);
      if (offset >= 0) {
        addExact(s, face, f, offset);
        continue;
      }
      faceList = {faceList[size_t(chosen)]};
    }
    const int32_t first = int32_t(candidates.size());
    for (const auto &[source, face] : faceList) {
      const Impl::Source &s = m.sources[size_t(source)];
      for (int32_t n = s.faceStart[size_t(face)]; n < s.faceStart[size_t(face) + 1]; ++n) {
        const int32_t g = s.faceTriangles[size_t(n)];
        candidates.push_back(g);
        anyPaint = anyPaint || (m.triangles[size_t(g)].paintTriangle >= 0 && s.layer);
      }
    }
    const int32_t count = int32_t(candidates.size()) - first;
    if (count == 0)
      continue; // nothing to take paint from: the face stays unpainted
    picks.clear();
    const int32_t n = faceTriangles(obj, f, corners, picks);
    for (int32_t t = 0; t < n; ++t) {
      for (int k = 0; k < 3; ++k)
        vertices.push_back(corners[size_t(picks[size_t(3 * t + k)])]);
      faces.push_back(f);
      plans.push_back({-1, first, count});
    }
  }
  if (!anyPaint) {
    obj.triangleVertices.clear(false);
    obj.triangleFaces.clear(false);
    obj.paintLayer.reset();
    return false;
  }

  const int32_t total = int32_t(faces.size());
  // More triangles share the image: it grows so that their cells keep their detail.
  int32_t width = model->image.width(), height = model->image.height();
  const int32_t oldCell = model->kind() == PaintLayer::kAtlas
                              ? atlasLayout(width, height, model->elementCount).cellSize
                              : kSharpCell;
  while (atlasLayout(width, height, total).cellSize < std::min(oldCell, kSharpCell) &&
         std::max(width, height) < kLargestGrownSide) {
    width *= 2;
    height *= 2;
  }
  std::unique_ptr<PaintLayer> layer = makePaintLayer(PaintLayer::kAtlas, width, height, total);
  if (!layer || layer->image.empty())
    return obj.paintLayer != nullptr;
  obj.triangleVertices.clear(false);
  obj.triangleFaces.clear(false);
  for (int32_t v : vertices)
    obj.triangleVertices.append(v);
  for (int32_t f : faces)
    obj.triangleFaces.append(f);

  auto &texels = static_cast<TexelLayer &>(*layer);
  const AtlasLayout layout = atlasLayout(layer->image.width(), layer->image.height(), total);
  // Every triangle writes only its own cell, so ranges of them fill at the same time.
  const auto fill = [&](int32_t begin, int32_t end) {
    std::vector<TexelSample> samples, oldSamples;
    int32_t lastFirst = -1, lastAt[3] = {0, 0, 0};
    for (int32_t t = begin; t < end; ++t) {
      texels.texels(obj, t, samples);
      const TrianglePlan &plan = plans[size_t(t)];
      if (plan.exact >= 0) {
        const Impl::Triangle &old = m.triangles[size_t(plan.exact)];
        const Impl::Source &s = m.sources[size_t(old.source)];
        if (old.paintTriangle >= 0 && s.atlas.cellSize == layout.cellSize &&
            old.paintTriangle % 2 == t % 2) {
          // Cells of the same size and half: the texels carry over one for one.
          static_cast<const TexelLayer *>(s.layer)->texels(*s.object, old.paintTriangle,
                                                           oldSamples);
          for (size_t i = 0; i < samples.size() && i < oldSamples.size(); ++i)
            layer->image.at(samples[i].x, samples[i].y) =
                s.layer->image.at(oldSamples[i].x, oldSamples[i].y);
        } else {
          for (const TexelSample &sample : samples) {
            const float w[3] = {1 - sample.w1 - sample.w2, sample.w1, sample.w2};
            layer->image.at(sample.x, sample.y) = m.colourAt(old, w);
          }
        }
        layer->finishTriangle(obj, t);
        continue;
      }
      const int32_t *list = &candidates[size_t(plan.first)];
      const size_t count = size_t(plan.count);
      moVec3 c[3];
      for (int k = 0; k < 3; ++k)
        c[k] = surface[size_t(obj.triangleVertices[3 * t + k])];
      // Where all three corners land in one source triangle the map between the two is affine.
      // The previous triangle of the same face mostly shares the source triangles.
      float cw[3][3];
      int32_t at[3];
      int32_t hints[6];
      int hintCount = 0;
      if (plan.first == lastFirst)
        for (int32_t h : lastAt)
          hints[hintCount++] = h;
      for (int k = 0; k < 3; ++k) {
        at[k] = m.nearest(c[k], list, count, cw[k], hints, hintCount);
        hints[hintCount++] = at[k];
      }
      lastFirst = plan.first;
      std::copy(at, at + 3, lastAt);
      const bool affine = at[0] == at[1] && at[1] == at[2];
      int32_t hint = at[0];
      for (const TexelSample &sample : samples) {
        const float b[3] = {1 - sample.w1 - sample.w2, sample.w1, sample.w2};
        float w[3];
        int32_t g = hint;
        if (affine) {
          g = at[0];
          for (int k = 0; k < 3; ++k)
            w[k] = b[0] * cw[0][k] + b[1] * cw[1][k] + b[2] * cw[2][k];
        } else {
          const moVec3 p{b[0] * c[0].x + b[1] * c[1].x + b[2] * c[2].x,
                         b[0] * c[0].y + b[1] * c[1].y + b[2] * c[2].y,
                         b[0] * c[0].z + b[1] * c[1].z + b[2] * c[2].z};
          const int32_t tries[4] = {hint, at[0], at[1], at[2]};
          g = m.nearest(p, list, count, w, tries, 4);
          hint = g;
        }
        layer->image.at(sample.x, sample.y) = m.colourAt(m.triangles[size_t(g)], w);
      }
      layer->finishTriangle(obj, t);
    }
  };
  layer->texelRect(obj, 0); // works out the layout before the ranges share the layer
  const int32_t threads =
      total < 8192 ? 1 : int32_t(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
  std::vector<std::thread> helpers;
  for (int32_t i = 1; i < threads; ++i)
    helpers.emplace_back(fill, int32_t(int64_t(total) * i / threads),
                         int32_t(int64_t(total) * (i + 1) / threads));
  fill(0, int32_t(int64_t(total) / threads));
  for (std::thread &helper : helpers)
    helper.join();
  obj.paintLayer = std::move(layer);
  return true;
}
