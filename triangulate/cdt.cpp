#include "triangulate/cdt.h"

#include <cmath>
#include <limits>

namespace motr {

namespace {

using Q = QuadEdgeMesh;

constexpr double kSquareLow = -0.05;
constexpr double kSquareHigh = 1.05;
// The normal test swaps only when the other diagonal bends less by more than this angle
// (radians): rounding noise in the z of a flat polygon must not decide diagonals.
constexpr double kAngleMargin = 1e-8;

bool samePoint(const Point3 &a, const Point3 &b) {
  const double dx = a.x - b.x;
  const double dy = a.y - b.y;
  return std::fabs(dx) <= kTolerance && std::fabs(dy) <= kTolerance &&
         dx * dx + dy * dy <= kTolerance * kTolerance;
}

// Signed distance of p from the line through a and b (positive on the left), and how far
// along a->b its foot lies as a fraction of the edge.
void lineDistance(const Point3 &a, const Point3 &b, const Point3 &p, double &distance,
                  double &fraction) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double lengthSquared = dx * dx + dy * dy;
  if (!(lengthSquared > 0.0)) {
    distance = std::numeric_limits<double>::infinity();
    fraction = 0.0;
    return;
  }
  distance = orient(a, b, p) / std::sqrt(lengthSquared);
  fraction = ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared;
}

// Whether the triangles (a, b, c) and (b, a, d) certainly bend by less than kAngleMargin, as
// bendsLessThan decides it. With the four points at one height the normals are (0, 0, o)
// with o the orientation, and the test comes down to orientations of one sign.
bool currentBendsLess(const Point3 &a, const Point3 &b, const Point3 &c, const Point3 &d) {
  if (a.z == b.z && a.z == c.z && a.z == d.z) {
    const double o1 = orient(a, b, c), o2 = orient(b, a, d);
    return o1 * o2 > 0.0 && o1 * o1 > 0.0 && o2 * o2 > 0.0;
  }
  return bendsLessThan(triangleNormal(a, b, c), triangleNormal(b, a, d), kAngleMargin);
}

// Bounds on normalAngle(n1, n2) without trigonometry, for two valid normals less than a
// right angle apart: with x = s / d, atan2(s, d) lies between x - x^3 / 3 and x; the factors
// cover the rounding of x and of atan2. False when the bounds do not apply.
bool angleBounds(const Point3 &n1, const Point3 &n2, double &low, double &high) {
  const double d = dot(n1, n2);
  if (!(d > 0.0) || !(dot(n1, n1) > 0.0) || !(dot(n2, n2) > 0.0))
    return false;
  const Point3 c = cross(n1, n2);
  const double x = std::sqrt(dot(c, c)) / d;
  low = (x - x * x * x / 3.0) * (1.0 - 1e-12);
  high = x * (1.0 + 1e-12);
  return true;
}

// The normal test: the triangles on the other diagonal (normals n3, n4) bend less than the
// current ones (n1, n2) by more than kAngleMargin. The bounds decide all but near-ties
// (a NaN from overflow decides nothing); those compute the angles, so the outcome is always
// that of the angles.
bool otherBendsLess(const Point3 &n1, const Point3 &n2, const Point3 &n3, const Point3 &n4) {
  double currentLow, currentHigh, otherLow, otherHigh;
  if (angleBounds(n1, n2, currentLow, currentHigh) && angleBounds(n3, n4, otherLow, otherHigh)) {
    if ((otherHigh + kAngleMargin) * (1.0 + 1e-12) < currentLow)
      return true;
    if ((otherLow + kAngleMargin) * (1.0 - 1e-12) > currentHigh)
      return false;
  }
  const double current = normalAngle(n1, n2);
  const double other = normalAngle(n3, n4);
  return current >= 0.0 && other >= 0.0 && other + kAngleMargin < current;
}

} // namespace

void ConstrainedDelaunay::begin() {
  mesh_.clear();
  points_.clear();
  inputs_.clear();
  random_ = 1;
  const int32_t c0 = addVertex({kSquareLow, kSquareLow, 0.0}, kNone);
  const int32_t c1 = addVertex({kSquareHigh, kSquareLow, 0.0}, kNone);
  const int32_t c2 = addVertex({kSquareHigh, kSquareHigh, 0.0}, kNone);
  const int32_t c3 = addVertex({kSquareLow, kSquareHigh, 0.0}, kNone);
  const EdgeRef e0 = mesh_.makeEdge(c0, c1);
  const EdgeRef e1 = mesh_.makeEdge(c1, c2);
  const EdgeRef e2 = mesh_.makeEdge(c2, c3);
  const EdgeRef e3 = mesh_.makeEdge(c3, c0);
  mesh_.splice(Q::sym(e0), e1);
  mesh_.splice(Q::sym(e1), e2);
  mesh_.splice(Q::sym(e2), e3);
  mesh_.splice(Q::sym(e3), e0);
  for (EdgeRef e : {e0, e1, e2, e3})
    mesh_.setConstrained(e);
  mesh_.connect(e1, e0);
  startingEdge_ = e0;
}

int32_t ConstrainedDelaunay::addVertex(const Point3 &p, int32_t input) {
  points_.push_back(p);
  inputs_.push_back(input);
  return mesh_.addVertex();
}

EdgeRef ConstrainedDelaunay::walkLocate(const Point3 &p) {
  // Walks towards p across the edge that faces it. In a constrained triangulation such a
  // walk can circle; the step limit hands those cases to the exhaustive search.
  EdgeRef e = startingEdge_;
  const int64_t limit = 4 * static_cast<int64_t>(mesh_.liveQuads()) + 16;
  for (int64_t step = 0; step < limit; ++step) {
    if (orient(points_[mesh_.org(e)], points_[mesh_.dest(e)], p) < 0.0) {
      e = Q::sym(e);
      continue;
    }
    if (!mesh_.leftIsTriangle(e))
      return kNone;
    const EdgeRef viaOrg = mesh_.onext(e);          // org -> apex
    const EdgeRef viaDest = Q::sym(mesh_.lnext(e)); // apex -> dest
    const bool beyondOrg = orient(points_[mesh_.org(viaOrg)], points_[mesh_.dest(viaOrg)], p) > 0.0;
    const bool beyondDest =
        orient(points_[mesh_.org(viaDest)], points_[mesh_.dest(viaDest)], p) > 0.0;
    if (!beyondOrg && !beyondDest)
      return e;
    if (beyondOrg && beyondDest) {
      random_ = random_ * 1103515245u + 12345u;
      e = (random_ >> 16) & 1 ? viaOrg : viaDest;
    } else {
      e = beyondOrg ? viaOrg : viaDest;
    }
  }
  return kNone;
}

EdgeRef ConstrainedDelaunay::exhaustiveLocate(const Point3 &p) const {
  // The triangle for which p lies deepest inside (or least outside, against rounding).
  EdgeRef best = kNone;
  double bestDepth = -std::numeric_limits<double>::infinity();
  for (int32_t q = 0; q < mesh_.quadSlots(); ++q) {
    if (!mesh_.alive(q))
      continue;
    for (EdgeRef e : {4 * q, 4 * q + 2}) {
      if (!mesh_.leftIsTriangle(e))
        continue;
      double depth = std::numeric_limits<double>::infinity();
      EdgeRef f = e;
      for (int k = 0; k < 3; ++k, f = mesh_.lnext(f)) {
        double distance, fraction;
        lineDistance(points_[mesh_.org(f)], points_[mesh_.dest(f)], p, distance, fraction);
        depth = std::fmin(depth, distance);
      }
      if (depth > bestDepth) {
        bestDepth = depth;
        best = e;
      }
    }
  }
  return best;
}

int32_t ConstrainedDelaunay::insertSite(const Point3 &p, int32_t input) {
  EdgeRef e = exhaustiveLocation ? kNone : walkLocate(p);
  if (e == kNone)
    e = exhaustiveLocate(p);
  EdgeRef f = e;
  for (int k = 0; k < 3; ++k, f = mesh_.lnext(f)) {
    if (samePoint(points_[mesh_.org(f)], p)) {
      startingEdge_ = f;
      return mesh_.org(f);
    }
  }
  const EdgeRef onEdge = edgeUnder(e, p);
  Point3 q = p;
  if (onEdge != kNone && mesh_.constrained(onEdge)) {
    // The point becomes part of a boundary: it takes the boundary's height there.
    const Point3 &a = points_[mesh_.org(onEdge)];
    const Point3 &b = points_[mesh_.dest(onEdge)];
    double distance, fraction;
    lineDistance(a, b, p, distance, fraction);
    q.z = a.z + fraction * (b.z - a.z);
  }
  const int32_t v = addVertex(q, input);
  if (onEdge != kNone)
    insertOnEdge(onEdge, v);
  else
    insertInFace(e, v);
  return v;
}

EdgeRef ConstrainedDelaunay::edgeUnder(EdgeRef e, const Point3 &p) const {
  // The nearest edge of the triangle left of e within kTolerance of p, between its ends and
  // with a triangle on its other side. Most edges are far: a test without square root or
  // division (with a factor of two to spare) passes them by.
  EdgeRef nearest = kNone;
  double nearestDistance = kTolerance;
  EdgeRef f = e;
  for (int k = 0; k < 3; ++k, f = mesh_.lnext(f)) {
    const Point3 &a = points_[mesh_.org(f)];
    const Point3 &b = points_[mesh_.dest(f)];
    const double dx = b.x - a.x, dy = b.y - a.y, area = orient(a, b, p);
    if (area * area > 4.0 * kTolerance * kTolerance * (dx * dx + dy * dy))
      continue;
    double distance, fraction;
    lineDistance(a, b, p, distance, fraction);
    if (std::fabs(distance) <= nearestDistance && fraction > 0.0 && fraction < 1.0 &&
        mesh_.leftIsTriangle(Q::sym(f))) {
      nearest = f;
      nearestDistance = std::fabs(distance);
    }
  }
  return nearest;
}

EdgeRef ConstrainedDelaunay::connectStar(EdgeRef &e, int32_t v) {
  // Connects v to every corner of the face to the left of e; returns the first spoke, which
  // runs from org(e) to v, and leaves e at the face's last edge.
  EdgeRef base = mesh_.makeEdge(mesh_.org(e), v);
  mesh_.splice(base, e);
  const EdgeRef startSpoke = base;
  do {
    base = mesh_.connect(e, Q::sym(base));
    e = mesh_.oprev(base);
  } while (mesh_.lnext(e) != startSpoke);
  return startSpoke;
}

void ConstrainedDelaunay::restoreAroundSite(EdgeRef e, EdgeRef startSpoke) {
  // Every swap adds a spoke to the new site, so this loop ends whatever the swap test says.
  for (;;) {
    if (shouldSwap(e)) {
      mesh_.swap(e);
      e = mesh_.oprev(e);
    } else if (mesh_.onext(e) == startSpoke) {
      break;
    } else {
      e = mesh_.lprev(mesh_.onext(e));
    }
  }
  startingEdge_ = startSpoke;
}

void ConstrainedDelaunay::insertInFace(EdgeRef e, int32_t v) {
  const EdgeRef startSpoke = connectStar(e, v);
  restoreAroundSite(e, startSpoke);
}

void ConstrainedDelaunay::insertOnEdge(EdgeRef e, int32_t v) {
  const int32_t a = mesh_.org(e);
  const int32_t b = mesh_.dest(e);
  const bool wasConstrained = mesh_.constrained(e);
  const uint8_t forward = mesh_.sideFlags(e);
  const uint8_t backward = mesh_.sideFlags(Q::sym(e));
  EdgeRef face = mesh_.oprev(e);
  mesh_.deleteEdge(e);
  const EdgeRef startSpoke = connectStar(face, v);
  if (wasConstrained) {
    // Both halves stay constrained and keep the polygon's side; the swaps never touch spokes.
    const EdgeRef first = Q::sym(startSpoke);
    EdgeRef spoke = first;
    do {
      const int32_t w = mesh_.dest(spoke);
      if (w == a || w == b) {
        mesh_.setConstrained(spoke);
        mesh_.addSideFlags(spoke, w == b ? forward : backward);
        mesh_.addSideFlags(Q::sym(spoke), w == b ? backward : forward);
      }
      spoke = mesh_.onext(spoke);
    } while (spoke != first);
  }
  restoreAroundSite(face, startSpoke);
}

bool ConstrainedDelaunay::shouldSwap(EdgeRef e) const {
  if (mesh_.constrained(e))
    return false;
  const Point3 &a = points_[mesh_.org(e)];
  const Point3 &b = points_[mesh_.dest(e)];
  const Point3 &c = points_[mesh_.dest(mesh_.lnext(e))];
  const Point3 &d = points_[mesh_.dest(mesh_.lnext(Q::sym(e)))];
  // The tests are pure, so the cheap ones that usually decide come first: most edges pass
  // the in-circle test and lie flat (then the other diagonal cannot bend less by more than
  // the margin). The outcome is that of the full rule.
  const bool inside = inCircle(a, b, c, d) > 0.0;
  if (!inside && currentBendsLess(a, b, c, d))
    return false;
  return swapByFullRule(e, {&a, &b, &c, &d}, inside);
}

bool ConstrainedDelaunay::swapByFullRule(EdgeRef e, const Quadrilateral &q, bool inside) const {
  // Two triangles forming a strictly convex quadrilateral a, d, b, c, and then the in-circle
  // or the normal test.
  if (!mesh_.leftIsTriangle(e) || !mesh_.leftIsTriangle(Q::sym(e)))
    return false;
  const Point3 &a = *q.a, &b = *q.b, &c = *q.c, &d = *q.d;
  if (!(orient(a, d, b) > 0.0 && orient(d, b, c) > 0.0 && orient(b, c, a) > 0.0 &&
        orient(c, a, d) > 0.0))
    return false;
  if (inside)
    return true;
  return otherBendsLess(triangleNormal(a, b, c), triangleNormal(b, a, d), triangleNormal(a, d, c),
                        triangleNormal(d, b, c));
}

void ConstrainedDelaunay::swapCreatedEdges() {
  // Lawson's swaps from the new edges outwards. The in-circle and the normal test together
  // have no measure that must shrink with every swap, so a budget bounds the work.
  int64_t budget = 16 * static_cast<int64_t>(created_.size()) + 64;
  while (!created_.empty() && budget > 0) {
    const EdgeRef e = created_.back();
    created_.pop_back();
    if (!shouldSwap(e))
      continue;
    --budget;
    mesh_.swap(e);
    const EdgeRef s = Q::sym(e);
    created_.push_back(mesh_.lnext(e));
    created_.push_back(mesh_.lnext(mesh_.lnext(e)));
    created_.push_back(mesh_.lnext(s));
    created_.push_back(mesh_.lnext(mesh_.lnext(s)));
  }
  created_.clear();
}

void ConstrainedDelaunay::markPiece(EdgeRef e, bool keepLeft) {
  mesh_.setConstrained(e);
  mesh_.setKeepsLeft(keepLeft ? e : Q::sym(e));
}

void ConstrainedDelaunay::clearVisited(const std::vector<EdgeRef> &edges) {
  for (EdgeRef e : edges)
    mesh_.setVisited(e, false);
}

bool ConstrainedDelaunay::insertSegment(int32_t a, int32_t b, bool keepLeft) {
  if (a == b)
    return true;
  const Point3 start = points_[a];
  const Point3 end = points_[b];
  const double dx = end.x - start.x;
  const double dy = end.y - start.y;
  // Every piece either ends further along the segment or splits a crossing boundary edge,
  // which adds a vertex; both are finite, the guard only catches inconsistent geometry.
  int64_t guard = 2 * (static_cast<int64_t>(mesh_.liveQuads()) + vertexCount()) + 16;
  double reached = 0.0;
  int32_t current = a;
  while (current != b) {
    if (--guard < 0)
      return false;
    const int32_t next = insertPiece(current, b, keepLeft);
    if (next == kNone)
      return false;
    if (next == current)
      continue;
    const Point3 &p = points_[next];
    const double along = (p.x - start.x) * dx + (p.y - start.y) * dy;
    if (!(along > reached))
      return false;
    reached = along;
    current = next;
  }
  return true;
}

EdgeRef ConstrainedDelaunay::edgeBetween(EdgeRef first, int32_t to) const {
  // The edge of first's origin ring that ends at `to`; the count guards a broken ring.
  EdgeRef e = first;
  for (int64_t count = 0; count <= mesh_.liveQuads(); ++count) {
    if (mesh_.dest(e) == to)
      return e;
    e = mesh_.onext(e);
    if (e == first)
      break;
  }
  return kNone;
}

int32_t ConstrainedDelaunay::insertPiece(int32_t from, int32_t to, bool keepLeft) {
  // Returns the vertex where the constrained piece from `from` ends, `from` itself when a
  // crossing boundary edge was split first (walk again), kNone when the geometry is
  // inconsistent.
  const Point3 a = points_[from];
  const Point3 b = points_[to];
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length = std::sqrt(dx * dx + dy * dy);
  if (!(length > 0.0))
    return kNone;
  auto side = [&](int32_t v) {
    return (dx * (points_[v].y - a.y) - dy * (points_[v].x - a.x)) / length;
  };
  auto along = [&](int32_t v) {
    return (dx * (points_[v].x - a.x) + dy * (points_[v].y - a.y)) / length;
  };

  // Around `from`: an edge to `to` (most pieces are one already), an edge to a vertex on the
  // segment, or the triangle the segment leaves through.
  const EdgeRef first = mesh_.edgeOf(from);
  if (first == kNone)
    return kNone;
  const EdgeRef direct = edgeBetween(first, to);
  if (direct != kNone) {
    markPiece(direct, keepLeft);
    startingEdge_ = direct;
    return to;
  }
  EdgeRef onLine = kNone;
  double onLineAlong = std::numeric_limits<double>::infinity();
  EdgeRef leaving = kNone;
  EdgeRef e = first;
  int64_t count = 0;
  do {
    const int32_t v = mesh_.dest(e);
    const double s = side(v);
    const double t = along(v);
    if (std::fabs(s) <= kTolerance && t > kTolerance && t < length && t < onLineAlong) {
      onLine = e;
      onLineAlong = t;
    }
    if (leaving == kNone && s < -kTolerance && mesh_.leftIsTriangle(e) &&
        side(mesh_.dest(mesh_.onext(e))) > kTolerance)
      leaving = e;
    e = mesh_.onext(e);
    if (++count > mesh_.liveQuads())
      return kNone;
  } while (e != first);
  if (onLine != kNone) {
    markPiece(onLine, keepLeft);
    startingEdge_ = onLine;
    return mesh_.dest(onLine);
  }
  if (leaving == kNone)
    return kNone;

  // Walk across the triangles the segment passes through. Every crossed edge runs from the
  // right of the segment to its left.
  crossed_.clear();
  EdgeRef s = mesh_.lnext(leaving);
  EdgeRef across = kNone;
  int32_t stop = kNone;
  while (stop == kNone) {
    if (mesh_.constrained(s)) {
      clearVisited(crossed_);
      return splitCrossing(s, side(mesh_.org(s)), side(mesh_.dest(s))) ? from : kNone;
    }
    if (mesh_.visited(s) || static_cast<int64_t>(crossed_.size()) > mesh_.liveQuads()) {
      clearVisited(crossed_);
      return kNone;
    }
    mesh_.setVisited(s, true);
    crossed_.push_back(s);
    across = Q::sym(s);
    if (!mesh_.leftIsTriangle(across)) {
      clearVisited(crossed_);
      return kNone;
    }
    const int32_t w = mesh_.dest(mesh_.lnext(across));
    const double sw = side(w);
    if (w == to) {
      stop = w;
    } else if (std::fabs(sw) <= kTolerance) {
      const double t = along(w);
      if (!(t > kTolerance && t < length)) {
        clearVisited(crossed_);
        return kNone;
      }
      stop = w;
    } else {
      s = sw > 0.0 ? mesh_.lnext(across) : mesh_.lnext(mesh_.lnext(across));
    }
  }
  clearVisited(crossed_);

  // Remove the crossed edges, put in the piece and fill the pseudo-polygons on both sides.
  const EdgeRef intoFrom = Q::sym(mesh_.onext(leaving));
  const EdgeRef fromStop = mesh_.lnext(mesh_.lnext(across));
  for (EdgeRef c : crossed_)
    mesh_.deleteEdge(c);
  const EdgeRef piece = mesh_.connect(intoFrom, fromStop);
  markPiece(piece, keepLeft);
  created_.clear();
  triangulateFace(piece);
  triangulateFace(Q::sym(piece));
  swapCreatedEdges();
  startingEdge_ = piece;
  return stop;
}

bool ConstrainedDelaunay::splitCrossing(EdgeRef s, double sideOrg, double sideDest) {
  // The new point lies where the segment's line crosses s; its height comes from s.
  const double u = sideOrg / (sideOrg - sideDest);
  if (!(u > 0.0 && u < 1.0))
    return false;
  const Point3 &p = points_[mesh_.org(s)];
  const Point3 &q = points_[mesh_.dest(s)];
  const Point3 x{p.x + u * (q.x - p.x), p.y + u * (q.y - p.y), p.z + u * (q.z - p.z)};
  insertOnEdge(s, addVertex(x, kNone));
  return true;
}

void ConstrainedDelaunay::triangulateFace(EdgeRef base) {
  // Splits the polygon left of `base` (a pseudo-polygon beside an inserted piece) into
  // triangles: the apex is the vertex whose circle with the base holds no other vertex, then
  // both sides of that triangle are done the same way. New edges go to created_.
  faceStack_.clear();
  faceStack_.push_back(base);
  while (!faceStack_.empty()) {
    const EdgeRef edge = faceStack_.back();
    faceStack_.pop_back();
    const EdgeRef first = mesh_.lnext(edge);
    if (mesh_.lnext(mesh_.lnext(first)) == edge)
      continue;
    const int32_t a = mesh_.org(edge);
    const Point3 &pa = points_[a];
    const Point3 &pb = points_[mesh_.dest(edge)];
    EdgeRef intoApex = first;
    for (EdgeRef r = mesh_.lnext(first); mesh_.dest(r) != a; r = mesh_.lnext(r)) {
      if (inCircle(pa, pb, points_[mesh_.dest(intoApex)], points_[mesh_.dest(r)]) > 0.0)
        intoApex = r;
    }
    EdgeRef arriving = intoApex;
    if (intoApex != first) {
      const EdgeRef side = mesh_.connect(intoApex, first);
      created_.push_back(side);
      faceStack_.push_back(side);
      arriving = Q::sym(side);
    }
    if (mesh_.dest(mesh_.lnext(arriving)) != a) {
      const EdgeRef side = mesh_.connect(arriving, edge);
      created_.push_back(side);
      faceStack_.push_back(Q::sym(side));
    }
  }
}

int32_t ConstrainedDelaunay::collectTriangles(std::vector<int32_t> &out) {
  const int32_t count = numberTriangles(out);
  if (!markOutside(count))
    return -5;
  int32_t kept = 0;
  for (int32_t t = 0; t < count; ++t) {
    if (removed_[static_cast<size_t>(t)])
      continue;
    for (int k = 0; k < 3; ++k)
      out[static_cast<size_t>(3 * kept + k)] = out[static_cast<size_t>(3 * t + k)];
    ++kept;
  }
  out.resize(static_cast<size_t>(3 * kept));
  return kept;
}

int32_t ConstrainedDelaunay::numberTriangles(std::vector<int32_t> &out) {
  // Each triangle is met first at its lowest-numbered edge, where it is taken. A triangle
  // takes three of the two directed edges per quad, which bounds the room needed.
  out.resize(2 * static_cast<size_t>(mesh_.liveQuads()) + 3);
  int32_t *next = out.data();
  int32_t count = 0;
  for (int32_t q = 0; q < mesh_.quadSlots(); ++q) {
    if (!mesh_.alive(q))
      continue;
    for (EdgeRef e : {4 * q, 4 * q + 2}) {
      const EdgeRef e1 = mesh_.lnext(e);
      const EdgeRef e2 = mesh_.lnext(e1);
      if (e1 < e || e2 < e || mesh_.lnext(e2) != e)
        continue;
      next[0] = inputs_[mesh_.org(e)];
      next[1] = inputs_[mesh_.org(e1)];
      next[2] = inputs_[mesh_.org(e2)];
      if (next[0] < 0 || next[1] < 0 || next[2] < 0)
        continue;
      next += 3;
      mesh_.setTriangle(e, count);
      mesh_.setTriangle(e1, count);
      mesh_.setTriangle(e2, count);
      ++count;
    }
  }
  return count;
}

bool ConstrainedDelaunay::markOutside(int32_t count) {
  // A triangle left of an edge whose reverse keeps the polygon on its left lies outside;
  // so does every triangle in the fan around that edge's origin up to the next loop edge.
  removed_.assign(static_cast<size_t>(count), 0);
  for (int32_t q = 0; q < mesh_.quadSlots(); ++q) {
    if (!mesh_.alive(q))
      continue;
    for (EdgeRef e : {4 * q, 4 * q + 2}) {
      if (!mesh_.keepsLeft(Q::sym(e)))
        continue;
      EdgeRef f = e;
      for (int64_t steps = 0;; ++steps) {
        if (mesh_.triangle(f) >= 0)
          removed_[static_cast<size_t>(mesh_.triangle(f))] = 1;
        f = mesh_.onext(f);
        if (mesh_.keepsLeft(f))
          break;
        if (f == e || steps > mesh_.liveQuads())
          return false;
      }
    }
  }
  return true;
}

} // namespace motr
