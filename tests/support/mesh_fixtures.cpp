#include "tests/support/mesh_fixtures.h"

#include <ostream>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>

void appendPolygonMesh(moObject &obj, const PolygonMesh &mesh) {
  const int32_t base = obj.vertices.count();
  for (const moVec3 &p : mesh.points)
    obj.addVertex(p.x, p.y, p.z);
  std::map<std::pair<int32_t, int32_t>, int32_t> edgeOf;
  for (const auto &corners : mesh.faces) {
    const int32_t f = obj.appendFace();
    const size_t n = corners.size();
    std::vector<int32_t> ring(n);
    for (size_t k = 0; k < n; ++k) {
      const int32_t a = base + corners[k], b = base + corners[(k + 1) % n];
      auto it = edgeOf.find({std::min(a, b), std::max(a, b)});
      if (it == edgeOf.end()) {
        const int32_t e = obj.appendEdge();
        obj.edges[e].Tail = a;
        obj.edges[e].Head = b;
        it = edgeOf.emplace(std::make_pair(std::min(a, b), std::max(a, b)), e).first;
        obj.vertices[a].EdgeIndex = e;
        obj.vertices[b].EdgeIndex = e;
      }
      ring[k] = it->second;
    }
    for (size_t k = 0; k < n; ++k) {
      moEdge &d = obj.edges[ring[k]];
      const int32_t next = ring[(k + 1) % n], prev = ring[(k + n - 1) % n];
      if (d.Tail == base + corners[k]) {
        d.RightFace = f;
        d.ForeWing = next;
        d.ccwBackWing = prev;
      } else {
        d.LeftFace = f;
        d.BackWing = next;
        d.ccwForeWing = prev;
      }
    }
    obj.faces[f].EdgeIndex = ring[0];
  }
}

moObject makeObject(const PolygonMesh &mesh) {
  moObject obj("fixture");
  appendPolygonMesh(obj, mesh);
  return obj;
}

PolygonMesh cubeMesh() {
  PolygonMesh m;
  for (int i = 0; i < 8; ++i)
    m.points.push_back({i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 4 ? 1.0f : -1.0f});
  m.faces = {{1, 5, 7, 3}, {0, 2, 6, 4}, {2, 3, 7, 6}, {0, 4, 5, 1}, {4, 6, 7, 5}, {0, 1, 3, 2}};
  return m;
}

PolygonMesh torusMesh(int32_t rings, int32_t segments, int32_t span) {
  PolygonMesh m;
  for (int32_t r = 0; r < rings; ++r)
    for (int32_t s = 0; s < segments; ++s) {
      const double u = 2 * M_PI * r / rings, v = 2 * M_PI * s / segments;
      const double rad = 3 + std::cos(v);
      m.points.push_back({float(rad * std::cos(u)), float(rad * std::sin(u)), float(std::sin(v))});
    }
  const auto at = [&](int32_t r, int32_t s) { return (r % rings) * segments + s % segments; };
  for (int32_t r = 0; r < rings; ++r)
    for (int32_t s = 0; s < segments; s += span) {
      std::vector<int32_t> face;
      for (int32_t k = 0; k <= span; ++k)
        face.push_back(at(r, s + k));
      for (int32_t k = span; k >= 0; --k)
        face.push_back(at(r + 1, s + k));
      m.faces.push_back(face);
    }
  return m;
}

PolygonMesh sphereMesh(int32_t segments, int32_t stacks, float r) {
  PolygonMesh m;
  const double pi = std::acos(-1.0);
  m.points.push_back({0, 0, r});
  for (int32_t k = 1; k < stacks; ++k)
    for (int32_t s = 0; s < segments; ++s) {
      const double theta = pi * k / stacks, phi = 2 * pi * s / segments;
      m.points.push_back({float(r * std::sin(theta) * std::cos(phi)),
                          float(r * std::sin(theta) * std::sin(phi)), float(r * std::cos(theta))});
    }
  m.points.push_back({0, 0, -r});
  const int32_t south = int32_t(m.points.size()) - 1;
  // Ring k's vertex s; ring 0 and ring stacks are the poles.
  const auto at = [&](int32_t k, int32_t s) {
    return k == 0 ? 0 : k == stacks ? south : 1 + (k - 1) * segments + s % segments;
  };
  for (int32_t k = 0; k < stacks; ++k)
    for (int32_t s = 0; s < segments; ++s) {
      if (k > 0)
        m.faces.push_back({at(k, s), at(k, s + 1), at(k + 1, s + 1)});
      if (k + 1 < stacks)
        m.faces.push_back({at(k, s), at(k + 1, s + 1), at(k + 1, s)});
    }
  return m;
}

std::string objText(const PolygonMesh &mesh) {
  std::string text;
  char line[96];
  for (const moVec3 &p : mesh.points) {
    std::snprintf(line, sizeof line, "v %.7g %.7g %.7g\n", p.x, p.y, p.z);
    text += line;
  }
  for (const std::vector<int32_t> &face : mesh.faces) {
    text += "f";
    for (auto c = face.rbegin(); c != face.rend(); ++c)
      text += " " + std::to_string(*c + 1);
    text += "\n";
  }
  return text;
}

PolygonMesh slabMesh(int32_t nx, int32_t ny) {
  PolygonMesh m;
  const int32_t layer = (nx + 1) * (ny + 1);
  for (int32_t z = 0; z < 2; ++z)
    for (int32_t j = 0; j <= ny; ++j)
      for (int32_t i = 0; i <= nx; ++i)
        m.points.push_back({float(i), float(j), float(z)});
  const auto at = [&](int32_t i, int32_t j, int32_t z) { return z * layer + j * (nx + 1) + i; };
  for (int32_t j = 0; j < ny; ++j)
    for (int32_t i = 0; i < nx; ++i) {
      m.faces.push_back({at(i, j, 1), at(i, j + 1, 1), at(i + 1, j + 1, 1), at(i + 1, j, 1)});
      m.faces.push_back({at(i, j, 0), at(i + 1, j, 0), at(i + 1, j + 1, 0), at(i, j + 1, 0)});
    }
  // The boundary counter-clockwise seen from above; each side quad hangs below one step of it.
  std::vector<std::pair<int32_t, int32_t>> ring;
  for (int32_t i = 0; i < nx; ++i)
    ring.push_back({i, 0});
  for (int32_t j = 0; j < ny; ++j)
    ring.push_back({nx, j});
  for (int32_t i = nx; i > 0; --i)
    ring.push_back({i, ny});
  for (int32_t j = ny; j > 0; --j)
    ring.push_back({0, j});
  for (size_t k = 0; k < ring.size(); ++k) {
    const auto [pi, pj] = ring[k];
    const auto [qi, qj] = ring[(k + 1) % ring.size()];
    m.faces.push_back({at(pi, pj, 1), at(qi, qj, 1), at(qi, qj, 0), at(pi, pj, 0)});
  }
  return m;
}

std::string wingProblem(moObject &obj) {
  using Wing = moObject::Wing;
  for (int32_t e = 0; e < obj.edges.count(); ++e) {
    const moEdge &d = obj.edges[e];
    if (!d.active())
      continue;
    const std::string at = "edge " + std::to_string(e) + ": ";
    if (d.Tail == -1 || d.LeftFace == -1 || d.RightFace == -1 || d.LeftFace == d.RightFace)
      return at + "missing or equal faces";
    const std::pair<int32_t, Wing> wings[] = {{d.ForeWing, Wing::Fore},
                                              {d.ccwForeWing, Wing::CcwFore},
                                              {d.ccwBackWing, Wing::CcwBack},
                                              {d.BackWing, Wing::Back}};
    for (const auto &[w, which] : wings) {
      const int32_t *back = obj.backLinkField(w, d, which);
      if (!back || *back != e)
        return at + "wing " + std::to_string(w) + " does not point back";
    }
    for (int32_t v : {d.Head, d.Tail})
      if (!obj.vertices.contains(v) || !obj.vertices[v].active())
        return at + "inactive vertex";
  }
  for (int32_t v = 0; v < obj.vertices.count(); ++v) {
    const int32_t e = obj.vertices[v].EdgeIndex;
    if (e != -1 && (!obj.edges.contains(e) || (obj.edges[e].Head != v && obj.edges[e].Tail != v)))
      return "vertex " + std::to_string(v) + ": EdgeIndex does not hold it";
  }
  for (int32_t f = 0; f < obj.faces.count(); ++f) {
    const int32_t e = obj.faces[f].EdgeIndex;
    if (e != -1 &&
        (!obj.edges.contains(e) || (obj.edges[e].LeftFace != f && obj.edges[e].RightFace != f)))
      return "face " + std::to_string(f) + ": EdgeIndex does not border it";
  }
  return {};
}

namespace {

// Equal coordinates; a NaN counts as equal to the same NaN (a copied NaN is the same vertex).
bool sameCoordinates(const moVec3 &a, const moVec3 &b) {
  return equals(a, b) || std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

std::string meshDifference(const moObject &a, const moObject &b) {
  if (a.vertices.count() != b.vertices.count() || a.edges.count() != b.edges.count() ||
      a.faces.count() != b.faces.count())
    return "element counts differ";
  for (int32_t v = 0; v < a.vertices.count(); ++v)
    if (!sameCoordinates(a.vertices[v].Coordinates, b.vertices[v].Coordinates) ||
        a.vertices[v].EdgeIndex != b.vertices[v].EdgeIndex)
      return "vertex " + std::to_string(v);
  for (int32_t e = 0; e < a.edges.count(); ++e) {
    const moEdge &x = a.edges[e], &y = b.edges[e];
    if (x.Head != y.Head || x.Tail != y.Tail || x.LeftFace != y.LeftFace ||
        x.RightFace != y.RightFace || x.BackWing != y.BackWing || x.ForeWing != y.ForeWing ||
        x.ccwBackWing != y.ccwBackWing || x.ccwForeWing != y.ccwForeWing ||
        x.rightColor != y.rightColor || x.leftColor != y.leftColor || x.hard != y.hard)
      return "edge " + std::to_string(e);
  }
  for (int32_t f = 0; f < a.faces.count(); ++f)
    if (a.faces[f].EdgeIndex != b.faces[f].EdgeIndex)
      return "face " + std::to_string(f);
  return {};
}

ElementCounts countElements(const moObject &obj) {
  ElementCounts c;
  for (const moVertex &v : obj.vertices)
    c.vertices += v.active();
  for (const moEdge &e : obj.edges)
    c.edges += e.active();
  for (const moFace &f : obj.faces)
    c.faces += f.active();
  return c;
}

std::ostream &operator<<(std::ostream &out, const ElementCounts &c) {
  return out << c.vertices << " vertices, " << c.edges << " edges, " << c.faces << " faces";
}
