// Consistency checks of the builder's lists: every link must be mirrored by the element it
// names, and no list may hold an element twice.
#include "core/mesh_builder.h"

#include "core/mesh_builder_lists.h"

#include <unordered_map>

using namespace mesh_builder_lists;

namespace {

// Calls report(i, j) for every later occurrence j of a value first listed at i.
template <class List, class Report> void forEachRepeat(const List &list, Report report) {
  constexpr size_t kShortList = 16;
  if (list.size() <= kShortList) {
    for (size_t j = 1; j < list.size(); ++j)
      for (size_t i = 0; i < j; ++i)
        if (list[i] == list[j]) {
          report(i, j);
          break;
        }
    return;
  }
  std::unordered_map<int32_t, size_t> firstAt;
  for (size_t j = 0; j < list.size(); ++j) {
    const auto found = firstAt.emplace(list[j], j);
    if (!found.second)
      report(found.first->second, j);
  }
}

} // namespace

bool MeshBuilder::builderVertexValid(int32_t v) const {
  const Vertex &vertex = vertices_[size_t(v)];
  if (vertex.edges.empty())
    return true;
  bool valid = true;
  const auto fail = [&]() -> std::ostream & {
    valid = false;
    return diag_ << "FAIL: vertex " << v;
  };
  if (2 * vertex.faces.size() < vertex.edges.size())
    fail() << " has " << vertex.edges.size() << " edges but only " << vertex.faces.size()
           << " faces" << std::endl;
  for (int32_t e : vertex.edges)
    if (e < 0 || e >= edgeCount() || (edges_[size_t(e)].p0 != v && edges_[size_t(e)].p1 != v))
      fail() << " connects to edge " << e << " but not vice versa" << std::endl;
  forEachRepeat(vertex.edges, [&](size_t i, size_t j) {
    fail() << ": edge " << vertex.edges[i] << " found at both " << i << " and " << j << std::endl;
  });
  for (int32_t f : vertex.faces)
    if (f < 0 || f >= faceCount() || !contains(faces_[size_t(f)].vertices, v))
      fail() << " connects to face " << f << " but not vice versa" << std::endl;
  return valid;
}

bool MeshBuilder::builderEdgeValid(int32_t e) const {
  const Edge &d = edges_[size_t(e)];
  if (!d.active())
    return true;
  bool valid = true;
  const auto fail = [&]() -> std::ostream & {
    valid = false;
    return diag_ << "FAIL: edge " << e;
  };
  for (int32_t v : {d.p0, d.p1})
    if (v < 0 || v >= vertexCount() || !contains(vertices_[size_t(v)].edges, e))
      fail() << " connects to vertex " << v << " but not vice versa" << std::endl;
  if (d.p0 == d.p1)
    fail() << ": head and tail are both vertex " << d.p0 << std::endl;
  for (const auto *list : {&d.left, &d.right})
    for (int32_t f : *list)
      if (f < 0 || f >= faceCount() || !contains(faces_[size_t(f)].edges, e))
        fail() << " connects to face " << f << " but not vice versa" << std::endl;
  forEachRepeat(d.left, [&](size_t i, size_t j) {
    fail() << ": face " << d.left[i] << " found at left[" << i << "] and left[" << j << "]"
           << std::endl;
  });
  forEachRepeat(d.right, [&](size_t i, size_t j) {
    fail() << ": face " << d.right[i] << " found at right[" << i << "] and right[" << j << "]"
           << std::endl;
  });
  for (size_t i = 0; i < d.left.size(); ++i)
    for (size_t j = 0; j < d.right.size(); ++j)
      if (d.left[i] == d.right[j])
        fail() << ": face " << d.left[i] << " found at left[" << i << "] and right[" << j << "]"
               << std::endl;
  return valid;
}

bool MeshBuilder::builderFaceValid(int32_t f) const {
  const Face &face = faces_[size_t(f)];
  if (face.vertices.empty())
    return true;
  bool valid = true;
  const auto fail = [&]() -> std::ostream & {
    valid = false;
    return diag_ << "FAIL: face " << f;
  };
  const size_t n = face.vertices.size();
  if (n != face.edges.size())
    fail() << " has " << n << " vertices but " << face.edges.size() << " edges" << std::endl;
  if (n < 3)
    fail() << " has only " << n << " vertices" << std::endl;
  for (int32_t v : face.vertices)
    if (v < 0 || v >= vertexCount() || !contains(vertices_[size_t(v)].faces, f))
      fail() << " connects to vertex " << v << " but not vice versa" << std::endl;
  for (int32_t e : face.edges)
    if (e < 0 || e >= edgeCount() || !faceOnEdge(e, f))
      fail() << " connects to edge " << e << " but not vice versa" << std::endl;
  forEachRepeat(face.edges, [&](size_t i, size_t j) {
    fail() << ": edge " << face.edges[i] << " found at both " << i << " and " << j << std::endl;
  });
  // Edge k runs from vertex k - 1 to vertex k.
  for (size_t k = 0; k < n && k < face.edges.size(); ++k) {
    const int32_t e = face.edges[k];
    const int32_t a = face.vertices[(k + n - 1) % n], b = face.vertices[k];
    const bool joins = e >= 0 && e < edgeCount() &&
                       ((edges_[size_t(e)].p0 == a && edges_[size_t(e)].p1 == b) ||
                        (edges_[size_t(e)].p0 == b && edges_[size_t(e)].p1 == a));
    if (!joins)
      fail() << " fails to link to neighboring vertices " << std::endl;
  }
  return valid;
}

bool MeshBuilder::builderValid() const {
  bool valid = true;
  for (int32_t v = vertexCount() - 1; v >= 0; --v)
    valid = builderVertexValid(v) && valid;
  for (int32_t e = edgeCount() - 1; e >= 0; --e)
    valid = builderEdgeValid(e) && valid;
  for (int32_t f = faceCount() - 1; f >= 0; --f)
    valid = builderFaceValid(f) && valid;
  return valid;
}
