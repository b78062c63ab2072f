#include "ops/smooth.h"

#include "ops/selected_objects.h"
#include "scene/progress_task.h"

#include <tuple>
#include <utility>
#include <vector>

namespace {

moColor average(const moColor &a, const moColor &b) {
  return {uint8_t((a.r + b.r + 1) / 2), uint8_t((a.g + b.g + 1) / 2), uint8_t((a.b + b.b + 1) / 2),
          uint8_t((a.a + b.a + 1) / 2)};
}

// What an old vertex's new place depends on: its edges, the hard ones among them, the sum of
// their far ends and the face points around it, and the sum of the far ends of its hard edges.
struct Ring {
  int32_t n = 0, hard = 0;
  moVec3 sum, hardEnds;
};

moVec3 movedVertex(const moVec3 &p, const Ring &r) {
  if (r.hard == 2)
    return scale(0.125f, add(scale(6.0f, p), r.hardEnds));
  if (r.hard >= 3 || r.n == 0)
    return p;
  return add(scale(float(r.n - 2) / float(r.n), p), scale(1.0f / float(r.n * r.n), r.sum));
}

// Dense numbering of the source's active elements and the layout of the result.
struct Layout {
  std::vector<int32_t> vertex, edge, face; // source slot -> dense index, -1 inactive
  std::vector<int32_t> firstQuad;          // per dense face: its first quad (and spoke)
  int32_t vertices = 0, edges = 0, faces = 0, quads = 0;
};

Layout layOut(const moObject &src) {
  Layout l;
  l.vertex.assign(size_t(src.vertices.count()), -1);
  l.edge.assign(size_t(src.edges.count()), -1);
  l.face.assign(size_t(src.faces.count()), -1);
  for (int32_t v = 0; v < src.vertices.count(); ++v)
    if (src.vertices[v].active())
      l.vertex[v] = l.vertices++;
  for (int32_t e = 0; e < src.edges.count(); ++e)
    if (src.edges[e].active())
      l.edge[e] = l.edges++;
  for (int32_t f = 0; f < src.faces.count(); ++f)
    if (src.faces[f].active()) {
      l.face[f] = l.faces++;
      l.firstQuad.push_back(l.quads);
      src.forEachEdgeOfFace(f, false, [&](int32_t) { ++l.quads; });
    }
  if (l.quads > kMaxFaceSlots)
    throw moTooManyFacesException();
  return l;
}

class Subdivider {
public:
  Subdivider(const moObject &src, moObject &out) : src_(src), out_(out), l_(layOut(src)) {}
  void run();

private:
  int32_t edgePoint(int32_t e) const { return l_.vertices + l_.edge[e]; }
  int32_t facePoint(int32_t f) const { return l_.vertices + l_.edges + l_.face[f]; }
  int32_t firstHalf(int32_t e) const { return 2 * l_.edge[e]; } // Tail -> edge point
  int32_t spoke(int32_t f, int32_t j) const { return 2 * l_.edges + l_.firstQuad[l_.face[f]] + j; }
  void placePoints();
  void makeEdges();
  void makeQuads(int32_t f);
  void linkSide(int32_t e, bool right, int32_t q, int32_t next, int32_t prev, moColor c);

  const moObject &src_;
  moObject &out_;
  Layout l_;
  std::vector<moVec3> facePoints_;
};

void Subdivider::placePoints() {
  for (int32_t f = 0; f < src_.faces.count(); ++f)
    if (l_.face[f] != -1)
      facePoints_.push_back(src_.faceCentroid(f));
  std::vector<Ring> rings(size_t(l_.vertices));
  std::vector<moVec3> edgePoints;
  for (const moEdge &d : src_.edges) {
    if (!d.active())
      continue;
    const moVec3 &h = src_.vertices[d.Head].Coordinates, &t = src_.vertices[d.Tail].Coordinates;
    const moVec3 &fl = facePoints_[l_.face[d.LeftFace]], &fr = facePoints_[l_.face[d.RightFace]];
    edgePoints.push_back(d.hard ? scale(0.5f, add(h, t))
                                : scale(0.25f, add(add(h, t), add(fl, fr))));
    // The face whose corner at an end this edge stores: each face around a vertex once.
    for (const auto &[v, far, corner] : {std::tuple(d.Head, t, fr), std::tuple(d.Tail, h, fl)}) {
      Ring &r = rings[l_.vertex[v]];
      ++r.n;
      r.sum = add(r.sum, add(far, corner));
      if (d.hard) {
        ++r.hard;
        r.hardEnds = add(r.hardEnds, far);
      }
    }
  }
  for (int32_t v = 0; v < src_.vertices.count(); ++v) {
    if (l_.vertex[v] == -1)
      continue;
    out_.vertices.append({movedVertex(src_.vertices[v].Coordinates, rings[l_.vertex[v]]), -1});
  }
  for (const moVec3 &p : edgePoints)
    out_.vertices.append({p, -1});
  for (const moVec3 &p : facePoints_)
    out_.vertices.append({p, -1});
}

void Subdivider::makeEdges() {
  for (int32_t e = 0; e < src_.edges.count(); ++e) {
    const moEdge &d = src_.edges[e];
    if (!d.active())
      continue;
    const int32_t tail = l_.vertex[d.Tail], head = l_.vertex[d.Head], mid = edgePoint(e);
    for (const auto &[from, to] : {std::pair(tail, mid), std::pair(mid, head)}) {
      moEdge half;
      half.Tail = from;
      half.Head = to;
      half.hard = d.hard;
      const int32_t index = out_.edges.append(half);
      for (int32_t v : {from, to})
        if (out_.vertices[v].EdgeIndex == -1)
          out_.vertices[v].EdgeIndex = index;
    }
  }
}

void Subdivider::linkSide(int32_t e, bool right, int32_t q, int32_t next, int32_t prev, moColor c) {
  moEdge &d = out_.edges[e];
  (right ? d.RightFace : d.LeftFace) = q;
  (right ? d.ForeWing : d.BackWing) = next;
  (right ? d.ccwBackWing : d.ccwForeWing) = prev;
  (right ? d.rightColor : d.leftColor) = c;
}

void Subdivider::makeQuads(int32_t f) {
  struct Corner {
    int32_t edge;
    bool forward;   // f is the edge's RightFace
    moColor colour; // f's corner at the edge's end
  };
  std::vector<Corner> ring;
  int32_t sum[4] = {0, 0, 0, 0};
  src_.forEachEdgeOfFace(f, false, [&](int32_t e) {
    const moColor c = src_.cornerColor(e, f);
    ring.push_back({e, src_.edges[e].RightFace == f, c});
    sum[0] += c.r, sum[1] += c.g, sum[2] += c.b, sum[3] += c.a;
  });
  const int32_t k = int32_t(ring.size());
  const moColor centre{uint8_t(sum[0] / k), uint8_t(sum[1] / k), uint8_t(sum[2] / k),
                       uint8_t(sum[3] / k)};
  for (const Corner &c : ring) {
    moEdge s;
    s.Tail = edgePoint(c.edge);
    s.Head = facePoint(f);
    const int32_t index = out_.edges.append(s);
    if (out_.vertices[s.Head].EdgeIndex == -1)
      out_.vertices[s.Head].EdgeIndex = index;
  }
  for (int32_t j = 0; j < k; ++j) {
    const Corner &at = ring[j], &after = ring[(j + 1) % k], &before = ring[(j + k - 1) % k];
    const int32_t q = l_.firstQuad[l_.face[f]] + j;
    const int32_t h1 = firstHalf(at.edge) + (at.forward ? 1 : 0);       // edge point -> corner
    const int32_t h2 = firstHalf(after.edge) + (after.forward ? 0 : 1); // corner -> edge point
    const int32_t h3 = spoke(f, (j + 1) % k), h4 = spoke(f, j);
    linkSide(h1, at.forward, q, h2, h4, at.colour);
    linkSide(h2, after.forward, q, h3, h1, average(at.colour, after.colour));
    linkSide(h3, true, q, h4, h2, centre);
    linkSide(h4, false, q, h1, h3, average(before.colour, at.colour));
    out_.faces.append({h1});
  }
}

void Subdivider::run() {
  out_.reserve(4 * l_.edges, l_.quads, l_.vertices + l_.edges + l_.faces);
  placePoints();
  makeEdges();
  for (int32_t f = 0; f < src_.faces.count(); ++f)
    if (l_.face[f] != -1)
      makeQuads(f);
}

} // namespace

moObject subdivide(const moObject &source, std::vector<moVec3> *surface) {
  moObject out = withoutGeometry(source);
  Subdivider(source, out).run();
  if (surface) {
    // In the order of the result's points: old vertices, then edge points, then face points.
    surface->clear();
    for (const moVertex &v : source.vertices)
      if (v.active())
        surface->push_back(v.Coordinates);
    for (int32_t e = 0; e < source.edges.count(); ++e)
      if (source.edges[e].active())
        surface->push_back(source.edgeMidpoint(e));
    for (int32_t f = 0; f < source.faces.count(); ++f)
      if (source.faces[f].active())
        surface->push_back(source.faceCentroid(f));
  }
  return out;
}

bool smooth(Scene &scene) {
  return scene.runOperation({true, modeBit(moOBJECTS)}, [&] {
    const std::vector<int32_t> slots = selectedObjects(scene);
    ProgressTask progress(scene.ui(), "Smoothing", int64_t(slots.size()));
    for (int32_t slot : slots) {
      moObject &obj = *scene.object(slot);
      std::vector<moVec3> surface;
      obj = subdivide(obj, scene.paintCarrier ? &surface : nullptr);
      if (scene.paintCarrier) // the paint keeps its place on each old face
        scene.paintCarrier->restPositions(slot, std::move(surface));
      progress.advance();
    }
    return true;
  });
}
