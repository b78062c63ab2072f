#include "ops/combine_separate.h"

#include "ops/selected_objects.h"

#include <cstdint>
#include <limits>
#include <memory>

namespace {

int32_t shifted(int32_t index, int32_t base) { return index == -1 ? -1 : index + base; }

// Assigns every active edge the number of its connected piece, counting pieces in order of their
// lowest edge; -1 for inactive edges. Returns the number of pieces.
int32_t labelPieces(const moObject &obj, std::vector<int32_t> &piece) {
  piece.assign(size_t(obj.edges.count()), -1);
  int32_t pieces = 0;
  std::vector<int32_t> work;
  for (int32_t seed = 0; seed < obj.edges.count(); ++seed) {
    if (!obj.edges[seed].active() || piece[seed] != -1)
      continue;
    work.push_back(seed);
    piece[seed] = pieces;
    while (!work.empty()) {
      const moEdge &d = obj.edges[work.back()];
      work.pop_back();
      for (int32_t w : {d.ForeWing, d.BackWing, d.ccwForeWing, d.ccwBackWing})
        if (obj.edges.contains(w) && obj.edges[w].active() && piece[w] == -1) {
          piece[w] = pieces;
          work.push_back(w);
        }
    }
    ++pieces;
  }
  return pieces;
}

// New dense indices of the elements of each piece, in their old order.
struct PieceNumbering {
  std::vector<int32_t> vertexPiece, facePiece;
  std::vector<int32_t> newVertex, newEdge, newFace;
};

void number(const std::vector<int32_t> &pieceOf, std::vector<int32_t> &index, int32_t pieces) {
  std::vector<int32_t> next(size_t(pieces), 0);
  index.assign(pieceOf.size(), -1);
  for (size_t i = 0; i < pieceOf.size(); ++i)
    if (pieceOf[i] != -1)
      index[i] = next[pieceOf[i]]++;
}

PieceNumbering numberPieces(const moObject &obj, const std::vector<int32_t> &edgePiece,
                            int32_t pieces) {
  PieceNumbering n;
  n.vertexPiece.assign(size_t(obj.vertices.count()), -1);
  n.facePiece.assign(size_t(obj.faces.count()), -1);
  const auto pieceOf = [&](int32_t e) { return obj.edges.contains(e) ? edgePiece[e] : -1; };
  for (int32_t v = 0; v < obj.vertices.count(); ++v)
    n.vertexPiece[v] = pieceOf(obj.vertices[v].EdgeIndex);
  for (int32_t f = 0; f < obj.faces.count(); ++f)
    n.facePiece[f] = pieceOf(obj.faces[f].EdgeIndex);
  number(edgePiece, n.newEdge, pieces);
  number(n.vertexPiece, n.newVertex, pieces);
  number(n.facePiece, n.newFace, pieces);
  return n;
}

void copyPieces(moObject &obj, const std::vector<int32_t> &edgePiece, const PieceNumbering &n,
                std::vector<moObject> &parts) {
  const auto map = [](const std::vector<int32_t> &to, int32_t i) { return i == -1 ? -1 : to[i]; };
  for (int32_t v = 0; v < obj.vertices.count(); ++v)
    if (n.vertexPiece[v] > 0) {
      moVertex copy = obj.vertices[v];
      copy.EdgeIndex = n.newEdge[copy.EdgeIndex];
      parts[n.vertexPiece[v] - 1].vertices.append(copy);
      obj.vertices[v].EdgeIndex = -1;
    }
  for (int32_t e = 0; e < obj.edges.count(); ++e)
    if (edgePiece[e] > 0) {
      moEdge d = obj.edges[e];
      d.Head = map(n.newVertex, d.Head);
      d.Tail = map(n.newVertex, d.Tail);
      d.LeftFace = map(n.newFace, d.LeftFace);
      d.RightFace = map(n.newFace, d.RightFace);
      for (int32_t *w : {&d.ForeWing, &d.BackWing, &d.ccwForeWing, &d.ccwBackWing})
        *w = map(n.newEdge, *w);
      parts[edgePiece[e] - 1].edges.append(d);
      obj.edges[e].Head = -1;
    }
  for (int32_t f = 0; f < obj.faces.count(); ++f)
    if (n.facePiece[f] > 0) {
      parts[n.facePiece[f] - 1].faces.append(moFace{n.newEdge[obj.faces[f].EdgeIndex]});
      obj.faces[f].EdgeIndex = -1;
    }
}

} // namespace

void mergeInto(moObject &a, const moObject &b) {
  const auto fits = [](int32_t x, int32_t y, int64_t limit) { return int64_t(x) + y <= limit; };
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  if (!fits(a.faces.count(), b.faces.count(), kMaxFaceSlots))
    throw moTooManyFacesException();
  if (!fits(a.vertices.count(), b.vertices.count(), kMax))
    throw moTooManyVerticesException();
  if (!fits(a.edges.count(), b.edges.count(), kMax))
    throw moTooManyEdgesException();
  const int32_t v0 = a.vertices.count(), e0 = a.edges.count(), f0 = a.faces.count();
  for (moVertex v : b.vertices) {
    v.EdgeIndex = shifted(v.EdgeIndex, e0);
    a.vertices.append(v);
  }
  for (moEdge d : b.edges) {
    if (d.active()) {
      d.Head += v0;
      d.Tail = shifted(d.Tail, v0);
      d.LeftFace = shifted(d.LeftFace, f0);
      d.RightFace = shifted(d.RightFace, f0);
      for (int32_t *w : {&d.ForeWing, &d.BackWing, &d.ccwForeWing, &d.ccwBackWing})
        *w = shifted(*w, e0);
    }
    a.edges.append(d);
  }
  for (moFace f : b.faces) {
    f.EdgeIndex = shifted(f.EdgeIndex, e0);
    a.faces.append(f);
  }
  a.triangleVertices.clear(false);
  a.triangleFaces.clear(false);
}

std::vector<moObject> splitComponents(moObject &obj) {
  std::vector<int32_t> edgePiece;
  const int32_t pieces = labelPieces(obj, edgePiece);
  std::vector<moObject> parts;
  if (pieces <= 1)
    return parts;
  const PieceNumbering numbering = numberPieces(obj, edgePiece, pieces);
  for (int32_t k = 1; k < pieces; ++k)
    parts.push_back(withoutGeometry(obj));
  copyPieces(obj, edgePiece, numbering, parts);
  obj.triangleVertices.clear(false);
  obj.triangleFaces.clear(false);
  obj.compact();
  return parts;
}

bool combineObjects(Scene &scene) {
  return scene.runOperation({true, modeBit(moOBJECTS)}, [&] {
    const std::vector<int32_t> slots = selectedObjects(scene);
    if (slots.empty())
      return false;
    moObject &first = *scene.object(slots[0]);
    for (size_t i = 1; i < slots.size(); ++i) {
      mergeInto(first, *scene.object(slots[i]));
      scene.objects.remove(slots[i]);
    }
    first.compact();
    scene.clearSelection();
    return true;
  });
}

bool separateObjects(Scene &scene) {
  return scene.runOperation({true, modeBit(moOBJECTS)}, [&] {
    for (int32_t slot : selectedObjects(scene))
      for (moObject &part : splitComponents(*scene.object(slot)))
        insertObject(scene, std::make_shared<moObject>(std::move(part)), "separate");
    scene.clearSelection();
    scene.previousSelection.Clear();
    return true;
  });
}
