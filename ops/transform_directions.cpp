#include "ops/transform_directions.h"

#include "ops/vertex_marks.h"

#include <cmath>
#include <unordered_map>
#include <vector>

namespace {

constexpr double kPivotTolerance = 0.0001;

struct NormalEquations {
  double a[3][3] = {};
  double b[3] = {};
  moVec3 sum; // of the normals
  int32_t count = 0;

  void addOuter(const moVec3 &n) {
    const double v[3] = {n.x, n.y, n.z};
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c)
        a[r][c] += v[r] * v[c];
  }
  void addNormal(const moVec3 &n) {
    addOuter(n);
    b[0] += n.x;
    b[1] += n.y;
    b[2] += n.z;
    sum = add(sum, n);
    ++count;
  }
};

// Gaussian elimination with partial pivoting on a copy of the system; false when a pivot falls
// below the tolerance.
bool solve(double a[3][3], double b[3], double tolerance, moVec3 &out) {
  for (int col = 0; col < 3; ++col) {
    int pivot = col;
    for (int r = col + 1; r < 3; ++r)
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col]))
        pivot = r;
    if (std::fabs(a[pivot][col]) < tolerance)
      return false;
    std::swap(a[pivot], a[col]);
    std::swap(b[pivot], b[col]);
    for (int r = col + 1; r < 3; ++r) {
      const double f = a[r][col] / a[col][col];
      for (int c = col; c < 3; ++c)
        a[r][c] -= f * a[col][c];
      b[r] -= f * b[col];
    }
  }
  double x[3];
  for (int r = 2; r >= 0; --r) {
    double s = b[r];
    for (int c = r + 1; c < 3; ++c)
      s -= a[r][c] * x[c];
    x[r] = s / a[r][r];
  }
  out = {float(x[0]), float(x[1]), float(x[2])};
  return std::isfinite(out.x) && std::isfinite(out.y) && std::isfinite(out.z);
}

// A singular system whose normals lie in one plane (for example faces meeting in only two
// distinct planes) still has a best direction: the least-squares solution of smallest length,
// found here with a small ridge term. Normals that cancel give (0, 0, 0) this way too.
moVec3 leastSquares(const NormalEquations &eq) {
  double a[3][3], b[3];
  const double ridge = 1e-7 * (eq.a[0][0] + eq.a[1][1] + eq.a[2][2]);
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c)
      a[r][c] = eq.a[r][c] + (r == c ? ridge : 0);
    b[r] = eq.b[r];
  }
  moVec3 d;
  if (!solve(a, b, 1e-12, d) || lengthSquared(d) < 1e-8f)
    return {};
  return d;
}

} // namespace

void forEachFaceAtVertex(const moObject &obj, int32_t v,
                         const std::function<void(int32_t, int32_t)> &fn) {
  obj.forEachEdgeAtVertex(v, [&](int32_t e) {
    const moEdge &d = obj.edges[e];
    const int32_t face = d.Tail == v ? d.RightFace : d.LeftFace;
    if (face != -1)
      fn(face, e);
  });
}

moVec3 vertexNormal(const moObject &obj, int32_t v) {
  if (!obj.vertices.contains(v) || !obj.vertices[v].active())
    return {};
  const moVec3 p = obj.vertices[v].Coordinates;
  moVec3 sum;
  forEachFaceAtVertex(obj, v, [&](int32_t face, int32_t leaving) {
    const int32_t before = obj.prevEdgeOfFace(leaving, face);
    const moVec3 e1 = unit(subtract(obj.vertices[obj.startVertex(before, face)].Coordinates, p));
    const moVec3 e2 = unit(subtract(obj.vertices[obj.otherVertex(leaving, v)].Coordinates, p));
    const moVec3 f = obj.faceNormal(face, true);
    const moVec3 corner = unit(cross(e1, e2));
    const float cosine = dot(e1, e2), side = dot(corner, f);
    if (side > 0 && cosine > -0.98f)
      sum = add(sum, scale(1 - cosine, corner));
    else
      sum = add(sum, scale(side < 0 ? cosine + 3 : 1 - cosine, f));
  });
  return unit(sum);
}

namespace {

// offsetDirection with faceNormal(face) giving the unit normal of a face.
template <class Selected, class FaceNormal>
moVec3 offsetDirectionWith(const moObject &obj, int32_t v, SelectionMode mode,
                           const Selected &selected, const FaceNormal &faceNormal) {
  NormalEquations eq;
  moVec3 first, second;
  const auto take = [&](const moVec3 &n) {
    (eq.count == 0 ? first : second) = n;
    eq.addNormal(n);
  };
  if (mode == moFACES) {
    forEachFaceAtVertex(obj, v, [&](int32_t face, int32_t) {
      if (selected(face))
        take(faceNormal(face));
    });
  } else if (mode == moEDGES) {
    obj.forEachEdgeAtVertex(v, [&](int32_t e) {
      if (!selected(e))
        return;
      const moVec3 n = obj.edgeNormal(e, true);
      take(n);
      eq.addOuter(unit(cross(n, obj.edgeVector(e, obj.edges[e].Tail))));
    });
  }
  if (eq.count == 0)
    return {};
  if (eq.count == 1)
    return first;
  if (mode == moFACES && eq.count == 2) {
    const float denominator = 1 + dot(first, second);
    return std::fabs(denominator) < 0.0001f ? moVec3{} : scale(1 / denominator, add(first, second));
  }
  NormalEquations copy = eq;
  moVec3 d;
  if (solve(copy.a, copy.b, kPivotTolerance, d))
    return d;
  const float k = float(eq.count);
  if (lengthSquared(eq.sum) >= k * k - 0.5f)
    return unit(eq.sum);
  return leastSquares(eq);
}

// What a move of many elements asks of one object again and again: whether an element is
// selected (a flag instead of a lookup in the selection) and each face normal (made once).
class ObjectLookup {
public:
  ObjectLookup(const moObject &obj, const SelectionList &selection, int32_t slot,
               SelectionMode mode)
      : obj_(obj), selected_(size_t(mode == moEDGES ? obj.edges.count() : obj.faces.count())),
        normals_(mode == moFACES ? size_t(obj.faces.count()) : 0), known_(normals_.size()) {
    for (int32_t i = 0; i < selection.Count(); ++i) {
      const ElementRef ref = selection.Get(i);
      if (ref.object == slot && ref.element >= 0 && size_t(ref.element) < selected_.size())
        selected_[size_t(ref.element)] = 1;
    }
  }
  moVec3 direction(int32_t v, SelectionMode mode) {
    return offsetDirectionWith(
        obj_, v, mode, [this](int32_t e) { return selected_[size_t(e)] != 0; },
        [this](int32_t f) {
          if (!known_[size_t(f)]) {
            normals_[size_t(f)] = obj_.faceNormal(f, true);
            known_[size_t(f)] = 1;
          }
          return normals_[size_t(f)];
        });
  }

private:
  const moObject &obj_;
  std::vector<uint8_t> selected_;
  std::vector<moVec3> normals_;
  std::vector<uint8_t> known_; // which normals are made
};

} // namespace

moVec3 offsetDirection(const moObject &obj, int32_t v, SelectionMode mode,
                       const std::function<bool(int32_t)> &selected) {
  return offsetDirectionWith(obj, v, mode, selected,
                             [&obj](int32_t f) { return obj.faceNormal(f, true); });
}

void fillVertexNormals(Scene &scene) {
  scene.elementVectors.clear();
  for (int32_t i = 0; i < scene.selection.Count(); ++i) {
    const ElementRef ref = scene.selection.Get(i);
    const moObject *obj = scene.object(ref.object);
    scene.elementVectors.push_back(obj ? vertexNormal(*obj, ref.element) : moVec3{});
  }
}

void updateAuxSelectionForMove(Scene &scene, bool normals) {
  if (normals)
    scene.elementVectors.clear();
  scene.previousSelection.Clear();
  if (scene.mode == moVERTICES || scene.mode == moOBJECTS) {
    scene.ui().messageBox(scene.mode == moVERTICES
                              ? "updateAuxSelectionForMove has mode of moVERTICES!"
                              : "updateAuxSelectionForMove has mode of moOBJECTS!");
    return;
  }
  if (scene.mode != moEDGES && scene.mode != moFACES)
    return;
  VertexMarks listed;
  const auto append = [&](int32_t slot, const moObject &obj, int32_t v) {
    if (listed.mark(slot, obj, v))
      scene.previousSelection.Append({v, slot});
  };
  for (int32_t i = 0; i < scene.selection.Count(); ++i) {
    const ElementRef ref = scene.selection.Get(i);
    const moObject *obj = scene.object(ref.object);
    if (!obj || !scene.elementExists(ref, scene.mode))
      continue;
    if (scene.mode == moEDGES) {
      append(ref.object, *obj, obj->edges[ref.element].Head);
      append(ref.object, *obj, obj->edges[ref.element].Tail);
    } else {
      obj->forEachEdgeOfFace(ref.element, false, [&](int32_t e) {
        append(ref.object, *obj, obj->startVertex(e, ref.element));
      });
    }
  }
  if (!normals)
    return;
  std::unordered_map<int32_t, ObjectLookup> lookups; // by object slot
  for (int32_t i = 0; i < scene.previousSelection.Count(); ++i) {
    const ElementRef aux = scene.previousSelection.Get(i);
    auto found = lookups.find(aux.object);
    if (found == lookups.end())
      found = lookups
                  .emplace(aux.object, ObjectLookup(*scene.object(aux.object), scene.selection,
                                                    aux.object, scene.mode))
                  .first;
    scene.elementVectors.push_back(found->second.direction(aux.element, scene.mode));
  }
}
