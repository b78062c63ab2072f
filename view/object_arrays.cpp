#include "view/object_arrays.h"

#include "core/face_triangulation.h"
#include "core/mesh_normals.h"

#include <atomic>

namespace {

void put(float *to, const moVec3 &p) {
  to[0] = p.x;
  to[1] = p.y;
  to[2] = p.z;
}

} // namespace

void ObjectArrays::build(const moObject &obj, bool smooth) {
  *this = {};
  faceFirst_.assign(size_t(obj.faces.count()), 0);
  faceCount_.assign(size_t(obj.faces.count()), 0);
  vertexCorner_.assign(size_t(obj.vertices.count()), -1);
  // Each edge ends one corner of each of its two faces; a face of k corners has k - 2 triangles.
  const size_t corners = size_t(obj.edges.count()) * 2 + size_t(obj.vertices.count());
  corners_.reserve(corners);
  vertex_.reserve(corners);
  face_.reserve(corners);
  triangles_.reserve(corners * 3);
  for (int32_t f = obj.faces.count() - 1; f >= 0; --f)
    if (obj.faces[f].active())
      appendFaceCorners(obj, f);
  appendLooseVertices(obj);
  edgeEnds_.assign(size_t(obj.edges.count()) * 2, 0);
  for (int32_t e = 0; e < obj.edges.count(); ++e) {
    const moEdge &d = obj.edges[e];
    if (!d.active() || !obj.vertices.contains(d.Tail) || !obj.vertices.contains(d.Head))
      continue;
    const int64_t tail = vertexCorner_[size_t(d.Tail)], head = vertexCorner_[size_t(d.Head)];
    if (tail >= 0 && head >= 0) {
      edgeEnds_[size_t(e) * 2] = GLuint(tail);
      edgeEnds_[size_t(e) * 2 + 1] = GLuint(head);
    }
  }
  built_ = true;
  refill(obj, smooth);
}

void ObjectArrays::appendFaceCorners(const moObject &obj, int32_t f) {
  thread_local std::vector<int32_t> corners, local;
  corners.clear();
  const GLuint base = GLuint(corners_.size());
  // One walk gives each corner and its colour, which the edge ending there stores.
  obj.forEachEdgeOfFace(f, false, [&](int32_t e) {
    const int32_t v = obj.endVertex(e, f);
    const moColor c = obj.cornerColor(e, f);
    corners.push_back(v);
    corners_.push_back({{0, 0, 0}, {0, 0, 0}, {c.r, c.g, c.b, 255}});
    vertex_.push_back(v);
    face_.push_back(f);
    if (vertexCorner_[size_t(v)] < 0)
      vertexCorner_[size_t(v)] = int64_t(corners_.size()) - 1;
  });
  local.clear();
  faceTriangles(obj, f, corners, local);
  faceFirst_[size_t(f)] = int32_t(triangles_.size());
  faceCount_[size_t(f)] = int32_t(local.size());
  drawnFaces_ += local.empty() ? 0 : 1;
  for (int32_t index : local)
    triangles_.push_back(base + GLuint(index));
}

void ObjectArrays::appendLooseVertices(const moObject &obj) {
  for (int32_t v = 0; v < obj.vertices.count(); ++v) {
    if (!obj.vertices[v].active() || vertexCorner_[size_t(v)] >= 0)
      continue;
    vertexCorner_[size_t(v)] = int64_t(corners_.size());
    corners_.push_back({{0, 0, 0}, {0, 0, 0}, {255, 255, 255, 255}});
    vertex_.push_back(v);
    face_.push_back(-1);
  }
}

void ObjectArrays::refill(const moObject &obj, bool smooth) {
  static std::atomic<uint64_t> generations{0};
  generation_ = ++generations;
  const std::vector<moVec3> unitNormals = unitFaceNormals(obj);
  for (size_t k = 0; k < corners_.size(); ++k) {
    const int32_t v = vertex_[k], f = face_[k];
    if (!obj.vertices.contains(v) || (f >= 0 && size_t(f) >= unitNormals.size()))
      continue; // the mesh changed under the arrays; the next build replaces them
    put(corners_[k].position, obj.vertices[v].Coordinates);
    if (f >= 0)
      put(corners_[k].normal,
          smooth ? cornerNormal(obj, v, f, unitNormals) : unitNormals[size_t(f)]);
  }
  refillPlanes(obj, unitNormals);
}

void ObjectArrays::refillPlanes(const moObject &obj, const std::vector<moVec3> &unitNormals) {
  planes_.assign(size_t(obj.faces.count()), FacePlane{});
  for (int32_t f = 0; f < obj.faces.count(); ++f)
    if (obj.faces[f].active())
      planes_[size_t(f)] = {unitNormals[size_t(f)],
                            obj.vertices[obj.endVertex(obj.faces[f].EdgeIndex, f)].Coordinates};
}

void ObjectArrays::appendFace(int32_t f, std::vector<GLuint> &out) const {
  if (f < 0 || size_t(f) >= faceCount_.size())
    return;
  const auto first = triangles_.begin() + faceFirst_[size_t(f)];
  out.insert(out.end(), first, first + faceCount_[size_t(f)]);
}

void ObjectArrays::appendEdge(int32_t e, std::vector<GLuint> &out) const {
  if (e < 0 || size_t(e) * 2 >= edgeEnds_.size() ||
      edgeEnds_[size_t(e) * 2] == edgeEnds_[size_t(e) * 2 + 1])
    return;
  out.push_back(edgeEnds_[size_t(e) * 2]);
  out.push_back(edgeEnds_[size_t(e) * 2 + 1]);
}

void ObjectArrays::appendVertex(int32_t v, std::vector<GLuint> &out) const {
  if (v >= 0 && size_t(v) < vertexCorner_.size() && vertexCorner_[size_t(v)] >= 0)
    out.push_back(GLuint(vertexCorner_[size_t(v)]));
}

void ObjectArrays::appendFacing(const std::vector<GLuint> &triangles, const Eye &eye,
                                std::vector<GLuint> &out) const {
  // A triangle is kept unless the sine of the angle between its plane and the line to the eye
  // is below -1e-3: the projection keeps the orientation of what lies in front of the eye, and
  // rounding moves nearly edge-on triangles only.
  constexpr double kMargin2 = 1e-6;
  const double ex = eye.at.x, ey = eye.at.y, ez = eye.at.z;
  out.reserve(out.size() + triangles.size());
  for (size_t t = 0; t + 2 < triangles.size(); t += 3) {
    const float *a = corners_[triangles[t]].position, *b = corners_[triangles[t + 1]].position,
                *c = corners_[triangles[t + 2]].position;
    const double ux = double(b[0]) - a[0], uy = double(b[1]) - a[1], uz = double(b[2]) - a[2];
    const double vx = double(c[0]) - a[0], vy = double(c[1]) - a[1], vz = double(c[2]) - a[2];
    const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    const double tx = eye.perspective ? ex - a[0] : ex, ty = eye.perspective ? ey - a[1] : ey,
                 tz = eye.perspective ? ez - a[2] : ez;
    const double d = nx * tx + ny * ty + nz * tz;
    if (d < 0 && d * d > kMargin2 * (nx * nx + ny * ny + nz * nz) * (tx * tx + ty * ty + tz * tz))
      continue;
    out.insert(out.end(), triangles.begin() + std::ptrdiff_t(t),
               triangles.begin() + std::ptrdiff_t(t) + 3);
  }
}

void ObjectArrays::draw(GLenum mode, const std::vector<GLuint> &indices, bool withColours) const {
  if (indices.empty())
    return;
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glVertexPointer(3, GL_FLOAT, sizeof(Corner), corners_.data()->position);
  glNormalPointer(GL_FLOAT, sizeof(Corner), corners_.data()->normal);
  if (withColours) {
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(3, GL_UNSIGNED_BYTE, sizeof(Corner), corners_.data()->rgb);
  }
  glDrawElements(mode, GLsizei(indices.size()), GL_UNSIGNED_INT, indices.data());
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}
