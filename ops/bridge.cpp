#include "ops/bridge.h"

#include "ops/combine_separate.h"

#include <cmath>

namespace {

constexpr const char *kNeighbours = "Faces are neighbors.  Skipping bridge.";
constexpr const char *kNotFacing = "Faces co-planar or facing same direction. Skipping bridge.";
constexpr const char *kUnequal = "Faces do not have same number of edges.  Skipping bridge.";

// Sum over the pairs of the squared distance across `across` with b's corners rotated by start.
double crossDistance(const moObject &obj, const FacePairing &p, size_t start,
                     const moVec3 &across) {
  double sum = 0;
  const size_t k = p.aCorners.size();
  for (size_t i = 0; i < k; ++i) {
    const moVec3 s = subtract(obj.vertices[p.bCorners[(i + start) % k]].Coordinates,
                              obj.vertices[p.aCorners[i]].Coordinates);
    const double along = dot(s, across);
    sum += double(lengthSquared(s)) - along * along;
  }
  return sum;
}

template <class T> std::vector<T> rotated(const std::vector<T> &v, size_t start) {
  std::vector<T> out(v.begin() + long(start), v.end());
  out.insert(out.end(), v.begin(), v.begin() + long(start));
  return out;
}

// A stores its corner at aCorners[i] in aEdges[i]; B its corner at bCorners[i] in bEdges[i - 1].
moColor cornerOfA(const moObject &obj, const FacePairing &p, int32_t a, size_t i) {
  return obj.cornerColor(p.aEdges[i], a);
}
moColor cornerOfB(const moObject &obj, const FacePairing &p, int32_t b, size_t i) {
  const size_t k = p.bEdges.size();
  return obj.cornerColor(p.bEdges[(i + k - 1) % k], b);
}

void joinPairs(moObject &obj, int32_t a, int32_t b, const FacePairing &p) {
  const size_t k = p.aCorners.size();
  std::vector<int32_t> links(k);
  for (size_t i = 0; i < k; ++i) {
    links[i] = obj.makeEdge(p.aCorners[i], p.bCorners[i], true);
    obj.edges[links[i]].rightColor = cornerOfB(obj, p, b, i);
    obj.edges[links[i]].leftColor = cornerOfA(obj, p, a, i);
  }
  for (size_t i = 0; i < k; ++i) {
    const size_t j = (i + 1) % k;
    const int32_t ring[] = {p.aEdges[i], links[i], p.bEdges[i], links[j]};
    const int32_t starts[] = {p.aCorners[j], p.aCorners[i], p.bCorners[i], p.bCorners[j]};
    obj.makeFaceFromEdges(ring, starts, 4);
  }
  obj.deleteFace(a);
  obj.deleteFace(b);
}

bool facing(const moObject &obj, int32_t a, int32_t b, const moVec3 &across) {
  const float da = dot(obj.faceNormal(a, true), across);
  const float db = dot(obj.faceNormal(b, true), across);
  return std::abs(da) >= 0.1f && std::abs(db) >= 0.1f && da * db <= 0;
}

// The two faces Bridge joins, or false.
bool bridgeEnds(const Scene &scene, ElementRef &first, ElementRef &second) {
  const SelectionList &sel = scene.selection;
  if (sel.Count() == 2) {
    first = sel.Get(0);
    second = sel.Get(1);
  } else if (sel.Count() == 1 && scene.previousSelection.Count() == 1) {
    first = sel.Get(0);
    second = scene.previousSelection.Get(0);
  } else {
    return false;
  }
  for (const ElementRef &ref : {first, second})
    if (!scene.objectOf(ref, true) || !scene.elementExists(ref, moFACES))
      return false;
  return true;
}

} // namespace

const char *pairFaceCorners(const moObject &obj, int32_t a, int32_t b, const moVec3 &across,
                            FacePairing &p) {
  p = FacePairing();
  obj.forEachEdgeOfFace(a, true, [&](int32_t e) {
    p.aEdges.push_back(e);
    p.aCorners.push_back(obj.endVertex(e, a));
  });
  obj.forEachEdgeOfFace(b, false, [&](int32_t e) {
    p.bEdges.push_back(e);
    p.bCorners.push_back(obj.startVertex(e, b));
  });
  if (p.aCorners.size() != p.bCorners.size())
    return kUnequal;
  size_t best = 0;
  double bestSum = crossDistance(obj, p, 0, across);
  for (size_t start = 1; start < p.bCorners.size(); ++start) {
    const double sum = crossDistance(obj, p, start, across);
    if (sum < bestSum) {
      bestSum = sum;
      best = start;
    }
  }
  p.bCorners = rotated(p.bCorners, best);
  p.bEdges = rotated(p.bEdges, best);
  return nullptr;
}

const char *bridgeFaces(moObject &obj, int32_t a, int32_t b) {
  if (a == b || obj.facesShareVertex(a, b))
    return kNeighbours;
  const moVec3 across = unit(subtract(obj.faceCentroid(b), obj.faceCentroid(a)));
  if (!facing(obj, a, b, across))
    return kNotFacing;
  FacePairing pairing;
  if (const char *refusal = pairFaceCorners(obj, a, b, across, pairing))
    return refusal;
  joinPairs(obj, a, b, pairing);
  return nullptr;
}

bool bridge(Scene &scene) {
  return scene.runOperation({true, modeBit(moFACES), MirrorRule::None}, [&] {
    ElementRef first, second;
    if (!bridgeEnds(scene, first, second)) {
      scene.ui().messageBox("Bridge implemented for two faces only");
      return false;
    }
    moObject &obj = *scene.object(first.object);
    if (second.object != first.object) {
      const int32_t faceBase = obj.faces.count();
      mergeInto(obj, *scene.object(second.object));
      scene.objects.remove(second.object);
      second.element += faceBase;
    }
    if (const char *refusal = bridgeFaces(obj, first.element, second.element)) {
      scene.ui().messageBox(refusal);
      scene.Undo(true);
      scene.clearSelection();
      return false;
    }
    scene.compactSelectedObjects();
    scene.clearSelection();
    scene.previousSelection.Clear();
    return true;
  });
}
