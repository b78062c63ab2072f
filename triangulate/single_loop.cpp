#include "triangulate/single_loop.h"

#include "triangulate/cdt.h"

namespace motr {

namespace {

// Twice the snapping tolerance: what the general way measures a little differently (and
// rounds differently) stays clear of its tolerance tests.
constexpr double kClearance = 2.0 * kTolerance;
// Loops up to this size that are not convex are checked and clipped in quadratic time, still
// well below the cost of the general way.
constexpr int kSmallLoop = 24;

size_t at(int32_t i) { return static_cast<size_t>(i); }

// The corners counter-clockwise in `order` and `loop`; false when they are not all at one
// height or enclose no area.
bool counterClockwise(const double *points, int count, LoopScratch &s) {
  double twice = 0.0;
  for (int i = 0; i < count; ++i) {
    const int j = i + 1 < count ? i + 1 : 0;
    if (points[3 * i + 2] != points[2])
      return false;
    twice += points[3 * i] * points[3 * j + 1] - points[3 * j] * points[3 * i + 1];
  }
  if (twice == 0.0)
    return false;
  s.order.resize(at(count));
  s.loop.resize(at(count));
  for (int k = 0; k < count; ++k) {
    const int i = twice > 0.0 ? k : count - 1 - k;
    s.order[at(k)] = i;
    s.loop[at(k)] = {points[3 * i], points[3 * i + 1], points[3 * i + 2]};
  }
  return true;
}

// True when c lies left of the line a->b, further from it than the clearance.
bool clearlyLeft(const Point3 &a, const Point3 &b, const Point3 &c) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double area = orient(a, b, c);
  return area > 0.0 && area * area > kClearance * kClearance * (dx * dx + dy * dy);
}

// Every corner turns left, clear of the tolerance, and the loop winds once. Along a convex
// loop the corners nearest to an edge's line are the edge's neighbours, so checking those
// keeps every corner clear of every edge it does not end, and of every other corner. With
// every turn to the left the edge direction goes round 2 pi per winding, changing the sign of
// its y twice per round.
bool clearlyConvex(const std::vector<Point3> &loop) {
  const size_t count = loop.size();
  int changes = 0;
  double lastDy = 0.0; // of the last edge that is not level, to count the change at the wrap
  for (size_t k = count; k-- > 0 && lastDy == 0.0;)
    lastDy = loop[(k + 1) % count].y - loop[k].y;
  for (size_t k = 0; k < count; ++k) {
    const Point3 &a = loop[k], &b = loop[(k + 1) % count], &c = loop[(k + 2) % count];
    const double dx = b.x - a.x, dy = b.y - a.y;
    if (dx * dx + dy * dy <= kClearance * kClearance || !clearlyLeft(a, b, c) ||
        !clearlyLeft(b, c, a))
      return false;
    if (dy != 0.0) {
      changes += lastDy != 0.0 && (dy > 0.0) != (lastDy > 0.0);
      lastDy = dy;
    }
  }
  return changes == 2;
}

// p lies further than the clearance from the segment a-b.
bool clearOfSegment(const Point3 &a, const Point3 &b, const Point3 &p) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double px = p.x - a.x, py = p.y - a.y;
  const double along = px * dx + py * dy, lengthSquared = dx * dx + dy * dy;
  const double clearance2 = kClearance * kClearance;
  if (along <= 0.0)
    return px * px + py * py > clearance2;
  if (along >= lengthSquared) {
    const double qx = p.x - b.x, qy = p.y - b.y;
    return qx * qx + qy * qy > clearance2;
  }
  const double area = orient(a, b, p);
  return area * area > clearance2 * lengthSquared;
}

bool segmentsCross(const Point3 &a, const Point3 &b, const Point3 &c, const Point3 &d) {
  return (orient(a, b, c) > 0.0) != (orient(a, b, d) > 0.0) &&
         (orient(c, d, a) > 0.0) != (orient(c, d, b) > 0.0);
}

// No corner within the clearance of an edge it does not end (nor of another corner), and no
// two edges crossing: a simple polygon that the general way would take as it is.
bool simpleAndClear(const std::vector<Point3> &loop) {
  const size_t count = loop.size();
  for (size_t i = 0; i < count; ++i) {
    const Point3 &a = loop[i], &b = loop[(i + 1) % count];
    for (size_t k = 0; k < count; ++k) {
      if (k != i && k != (i + 1) % count && !clearOfSegment(a, b, loop[k]))
        return false;
    }
    for (size_t j = i + 2; j < count && (i > 0 || j + 1 < count); ++j) {
      if (segmentsCross(a, b, loop[j], loop[(j + 1) % count]))
        return false;
    }
  }
  return true;
}

// Triangles on loop positions with their neighbours, made Delaunay by edge flips. Loop edges
// have no neighbour and are never flipped.
class FlipMesh {
public:
  explicit FlipMesh(LoopScratch &scratch) : s_(scratch) {
    const size_t triangles = 3 * (s_.loop.size() - 2);
    s_.corners.resize(triangles);
    s_.neighbours.resize(triangles);
    corners_ = s_.corners.data();
    across_ = s_.neighbours.data();
    loop_ = s_.loop.data();
    // Lawson's flips settle in at most a quadratic number; more means rounding trouble.
    budget_ = 4 * static_cast<int64_t>(s_.loop.size() * s_.loop.size()) + 64;
  }

  int32_t add(int32_t a, int32_t b, int32_t c) {
    const int32_t t = count_++;
    corner(t, 0) = a;
    corner(t, 1) = b;
    corner(t, 2) = c;
    across(t, 0) = across(t, 1) = across(t, 2) = kNone;
    return t;
  }
  // Corner k of t, k < 5 (counted on round the triangle).
  int32_t &corner(int32_t t, int k) { return corners_[3 * t + kRound[k]]; }
  int32_t &across(int32_t t, int k) { return across_[3 * t + kRound[k]]; }

  // Flips the pending edges that fail the in-circle test. Around a new corner only the edges
  // opposite it need a second look after a flip; otherwise all four outer edges do.
  bool settle(bool aroundNewCorner) {
    while (!s_.pending.empty()) {
      const int32_t edge = s_.pending.back();
      s_.pending.pop_back();
      const int32_t t = edge / 3;
      const int32_t u = flip(t, edge % 3);
      if (u == kNone)
        continue;
      if (--budget_ < 0)
        return false;
      s_.pending.push_back(3 * t);
      s_.pending.push_back(3 * u);
      if (!aroundNewCorner) {
        s_.pending.push_back(3 * t + 2);
        s_.pending.push_back(3 * u + 1);
      }
    }
    return true;
  }

  void write(int *triangles) const {
    for (size_t k = 0; k < 3 * at(count_); ++k)
      triangles[k] = s_.order[at(s_.corners[k])];
  }

private:
  static constexpr int kRound[5] = {0, 1, 2, 0, 1};

  const Point3 &point(int32_t position) const { return loop_[position]; }
  int slotOf(int32_t t, int32_t neighbour) {
    return across(t, 0) == neighbour ? 0 : across(t, 1) == neighbour ? 1 : 2;
  }

  // With t = (p, a, b) read from corner k on, and (s, b, a) across a-b: when s lies inside the
  // circle through p, a, b, replaces the pair by (p, a, s) and (p, s, b) and returns the
  // second triangle; kNone when the edge stays (and t unchanged, so that the other pending
  // edges of t keep their meaning).
  int32_t flip(int32_t t, int k) {
    const int32_t u = across(t, k);
    if (u == kNone)
      return kNone;
    const int j = slotOf(u, t);
    const int32_t p = corner(t, k), a = corner(t, k + 1), b = corner(t, k + 2), s = corner(u, j);
    if (!(inCircle(point(p), point(a), point(b), point(s)) > 0.0) ||
        !(orient(point(p), point(a), point(s)) > 0.0) ||
        !(orient(point(p), point(s), point(b)) > 0.0))
      return kNone;
    const int32_t beforeP = across(t, k + 1), afterP = across(t, k + 2); // across b-p, p-a
    const int32_t afterA = across(u, j + 1), beforeB = across(u, j + 2); // across a-s, s-b
    const int32_t c[6] = {p, a, s, p, s, b};
    const int32_t n[6] = {afterA, u, afterP, beforeB, beforeP, t};
    for (int i = 0; i < 3; ++i) {
      corner(t, i) = c[i];
      across(t, i) = n[i];
      corner(u, i) = c[3 + i];
      across(u, i) = n[3 + i];
    }
    relink(afterA, u, t, a);
    relink(beforeP, t, u, b);
    return u;
  }

  // The triangle across an edge now sees `to` instead of `from`; a loop edge (nothing
  // across) starting at `origin` now lies on `to`.
  void relink(int32_t neighbour, int32_t from, int32_t to, int32_t origin) {
    if (neighbour == kNone)
      s_.outside[at(origin)] = to;
    else
      across(neighbour, slotOf(neighbour, from)) = to;
  }

  LoopScratch &s_;
  int32_t *corners_; // the scratch arrays, which keep their size while the mesh lives
  int32_t *across_;
  const Point3 *loop_;
  int32_t count_ = 0;
  int64_t budget_;
};

void startLinkedLoop(LoopScratch &s) {
  const int32_t count = static_cast<int32_t>(s.loop.size());
  s.prev.resize(at(count));
  s.next.resize(at(count));
  s.outside.assign(at(count), kNone);
  for (int32_t p = 0; p < count; ++p) {
    s.prev[at(p)] = p > 0 ? p - 1 : count - 1;
    s.next[at(p)] = p + 1 < count ? p + 1 : 0;
  }
}

// Chew's algorithm for a convex loop: corners leave in random order down to a triangle, then
// come back in reverse order. A returning corner p sits between the two corners it left
// between, which are neighbours again; it adds the triangle on their edge and flips the edges
// opposite it while they fail the in-circle test. Every flip adds an edge at p, so each return
// ends; the random order keeps the expected work linear.
bool chew(LoopScratch &s, FlipMesh &mesh) {
  startLinkedLoop(s);
  const int32_t count = static_cast<int32_t>(s.loop.size());
  s.left.resize(at(count));
  for (int32_t p = 0; p < count; ++p)
    s.left[at(p)] = p;
  s.removed.resize(3 * at(count - 3));
  int32_t *removed = s.removed.data();
  uint32_t random = 12345u;
  for (int32_t remaining = count; remaining > 3; --remaining) {
    random = random * 1664525u + 1013904223u;
    const int32_t pick = static_cast<int32_t>((random >> 8) % static_cast<uint32_t>(remaining));
    const int32_t p = s.left[at(pick)];
    s.left[at(pick)] = s.left[at(remaining - 1)];
    const int32_t q = s.prev[at(p)], r = s.next[at(p)];
    s.next[at(q)] = r;
    s.prev[at(r)] = q;
    *removed++ = p;
    *removed++ = q;
    *removed++ = r;
  }
  const int32_t a = s.left[0], b = s.next[at(a)], c = s.prev[at(a)];
  const int32_t first = mesh.add(a, b, c);
  s.outside[at(a)] = s.outside[at(b)] = s.outside[at(c)] = first;
  for (size_t i = s.removed.size(); i >= 3; i -= 3) {
    const int32_t p = s.removed[i - 3], q = s.removed[i - 2], r = s.removed[i - 1];
    const int32_t old = s.outside[at(q)]; // holds the edge q -> r
    const int k = mesh.corner(old, 1) == q ? 0 : mesh.corner(old, 2) == q ? 1 : 2;
    const int32_t t = mesh.add(p, r, q);
    s.outside[at(p)] = s.outside[at(q)] = t;
    mesh.across(t, 0) = old;
    mesh.across(old, k) = t;
    s.pending.assign(1, 3 * t);
    if (!mesh.settle(true))
      return false;
  }
  return true;
}

// Ear clipping: a strictly convex corner whose triangle holds no reflex corner is cut off.
// Each cut triangle has its corner at position 1 and the new diagonal opposite; `outside`
// keeps, per loop edge, the triangle already cut beyond it.
class EarClipper {
public:
  EarClipper(LoopScratch &scratch, FlipMesh &mesh) : s_(scratch), mesh_(mesh) {}

  bool run() {
    startLinkedLoop(s_);
    const int32_t count = static_cast<int32_t>(s_.loop.size());
    s_.reflex.resize(at(count));
    for (int32_t p = 0; p < count; ++p)
      updateReflex(p);
    int32_t p = 0;
    for (int32_t remaining = count, misses = 0; remaining > 3;) {
      if (s_.reflex[at(p)] || !isEar(p)) {
        p = s_.next[at(p)];
        if (++misses > remaining)
          return false;
        continue;
      }
      p = cut(p);
      --remaining;
      misses = 0;
    }
    const int32_t b = s_.next[at(p)], c = s_.next[at(b)];
    const int32_t t = mesh_.add(p, b, c);
    join(t, 0, s_.outside[at(b)]);
    join(t, 1, s_.outside[at(c)]);
    join(t, 2, s_.outside[at(p)]);
    return true;
  }

private:
  const Point3 &point(int32_t position) const { return s_.loop[at(position)]; }

  void updateReflex(int32_t p) {
    s_.reflex[at(p)] = !(orient(point(s_.prev[at(p)]), point(p), point(s_.next[at(p)])) > 0.0);
  }

  bool isEar(int32_t p) const {
    const int32_t q = s_.prev[at(p)], r = s_.next[at(p)];
    const Point3 &a = point(q), &b = point(p), &c = point(r);
    for (int32_t k = s_.next[at(r)]; k != q; k = s_.next[at(k)]) {
      const Point3 &x = point(k);
      if (s_.reflex[at(k)] && orient(a, b, x) >= 0.0 && orient(b, c, x) >= 0.0 &&
          orient(c, a, x) >= 0.0)
        return false;
    }
    return true;
  }

  // Cuts off the ear at p; returns its predecessor, where the search goes on.
  int32_t cut(int32_t p) {
    const int32_t q = s_.prev[at(p)], r = s_.next[at(p)];
    const int32_t t = mesh_.add(q, p, r);
    join(t, 2, s_.outside[at(q)]);
    join(t, 0, s_.outside[at(p)]);
    s_.outside[at(q)] = t;
    s_.next[at(q)] = r;
    s_.prev[at(r)] = q;
    updateReflex(q);
    updateReflex(r);
    s_.pending.push_back(3 * t + 1);
    return q;
  }

  // The edge opposite corner k of t is the diagonal of the earlier cut triangle u.
  void join(int32_t t, int k, int32_t u) {
    mesh_.across(t, k) = u;
    if (u != kNone)
      mesh_.across(u, 1) = t;
  }

  LoopScratch &s_;
  FlipMesh &mesh_;
};

} // namespace

bool triangulateSingleLoop(const double *points, int pointCount, LoopScratch &scratch,
                           int *triangles) {
  if (!counterClockwise(points, pointCount, scratch))
    return false;
  scratch.pending.clear();
  FlipMesh mesh(scratch);
  if (clearlyConvex(scratch.loop)) {
    if (!chew(scratch, mesh))
      return false;
  } else {
    if (pointCount > kSmallLoop || !simpleAndClear(scratch.loop) ||
        !EarClipper(scratch, mesh).run() || !mesh.settle(false))
      return false;
  }
  mesh.write(triangles);
  return true;
}

} // namespace motr
