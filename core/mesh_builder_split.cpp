// Separating non-manifold edges: faces are grouped into surfaces (sets joined across manifold
// edges), and every edge shared by several surfaces is split so that each copy carries the
// faces of one surface; vertices are split with their edges.
#include "core/mesh_builder.h"

#include "core/mesh_builder_lists.h"

using namespace mesh_builder_lists;

int32_t MeshBuilder::surfaceOf(int32_t f) {
  int32_t root = f;
  while (faces_[size_t(root)].parent != root)
    root = faces_[size_t(root)].parent;
  while (faces_[size_t(f)].parent != root) {
    const int32_t next = faces_[size_t(f)].parent;
    faces_[size_t(f)].parent = root;
    f = next;
  }
  return root;
}

void MeshBuilder::uniteSurfaces(int32_t a, int32_t b) {
  a = surfaceOf(a);
  b = surfaceOf(b);
  if (a == b)
    return;
  if (faces_[size_t(a)].surfaceSize < faces_[size_t(b)].surfaceSize)
    std::swap(a, b);
  faces_[size_t(b)].parent = a;
  faces_[size_t(a)].surfaceSize += faces_[size_t(b)].surfaceSize;
}

void MeshBuilder::groupSurfaces() {
  for (int32_t e = edgeCount() - 1; e >= 0; --e) {
    const Edge &d = edges_[size_t(e)];
    if (d.active() && d.left.size() == 1 && d.right.size() == 1)
      uniteSurfaces(d.left[0], d.right[0]);
  }
}

template <class List> bool MeshBuilder::anyFaceOnSurface(const List &faces, int32_t s) {
  for (int32_t f : faces)
    if (surfaceOf(f) == s)
      return true;
  return false;
}

bool MeshBuilder::allFacesOnSurface(int32_t e, int32_t s) {
  for (const auto *list : {&edges_[size_t(e)].left, &edges_[size_t(e)].right})
    for (int32_t f : *list)
      if (surfaceOf(f) != s)
        return false;
  return true;
}

void MeshBuilder::splitNonManifoldEdges() {
  for (int pass = 1; pass <= 3; ++pass) {
    runSplitPass(pass);
    builderValid();
  }
}

void MeshBuilder::runSplitPass(int pass) {
  for (int a = 3; a >= 0; --a)
    for (int b = 3; b >= 0; --b) {
      if (a <= 1 && b <= 1)
        continue;
      int32_t e = classHeads_[a][b];
      while (e != -1) {
        bool split;
        if (pass == 1)
          split = splitPassOne(e);
        else if (pass == 2)
          split = splitPassTwo(e);
        else
          split = takeEdgeApart(e);
        // After a split the walk starts again at the head of the class.
        e = split ? classHeads_[a][b] : edges_[size_t(e)].nextInClass;
      }
    }
}

bool MeshBuilder::splitPassOne(int32_t e) {
  const auto left = edges_[size_t(e)].left;
  for (size_t k = left.size(); k-- > 0;) {
    const int32_t s = surfaceOf(left[k]);
    if (anyFaceOnSurface(edges_[size_t(e)].right, s) && !allFacesOnSurface(e, s)) {
      splitEdgeForSurface(e, s);
      return true;
    }
  }
  return false;
}

bool MeshBuilder::splitPassTwo(int32_t e) {
  const Edge &d = edges_[size_t(e)];
  if (d.left.empty() && d.right.empty())
    return false;
  const int32_t s = surfaceOf(d.left.empty() ? d.right.front() : d.left.front());
  if (allFacesOnSurface(e, s))
    return false;
  splitEdgeForSurface(e, s);
  return true;
}

bool MeshBuilder::takeEdgeApart(int32_t e) {
  while (faceTotal(e) > 1) {
    const int32_t e2 = newEdge(edges_[size_t(e)].p0, edges_[size_t(e)].p1);
    if (e2 == -1)
      return false; // an edge from a vertex to itself: left for the final checks
    unclassify(e);
    const bool fromLeft = !edges_[size_t(e)].left.empty();
    auto &list = fromLeft ? edges_[size_t(e)].left : edges_[size_t(e)].right;
    const int32_t f = list.back();
    list.pop_back();
    (fromLeft ? edges_[size_t(e2)].left : edges_[size_t(e2)].right).push_back(f);
    classify(e);
    classify(e2);
    replaceAll(faces_[size_t(f)].edges, e, e2);
  }
  return true;
}

namespace {

// One level of the split recursion, kept on an explicit stack: splits spread along every edge
// and vertex that the surface shares with others, which may be a long way.
struct SplitFrame {
  bool isEdge;
  int32_t item;  // the edge or vertex being split
  int32_t copy;  // the new edge or vertex
  int32_t stage; // edge: the end handled next (0, 1, 2 = done); vertex: next edge-list index
};

} // namespace

void MeshBuilder::splitEdgeForSurface(int32_t first, int32_t s) {
  std::vector<SplitFrame> stack;
  // Steps 1 and 2 of splitting edge e: the copy takes over the faces of s.
  const auto startEdge = [&](int32_t e) {
    const int32_t e2 = newEdgeSlot(); // its ends are set as its vertices are reached
    edges_[size_t(e)].splitPartner = e2;
    edges_[size_t(e)].splitSurface = s;
    unclassify(e);
    for (int side = 0; side < 2; ++side) {
      auto &from = side == 0 ? edges_[size_t(e)].left : edges_[size_t(e)].right;
      auto &to = side == 0 ? edges_[size_t(e2)].left : edges_[size_t(e2)].right;
      bool stopped = false;
      for (size_t k = 0; k < from.size() && !stopped;) {
        const int32_t f = from[k];
        if (surfaceOf(f) != s) {
          ++k;
          continue;
        }
        from.erase(from.begin() + long(k));
        to.push_back(f);
        if (!replaceAll(faces_[size_t(f)].edges, e, e2)) {
          diag_ << "edge " << e << " not on face " << f << std::endl;
          stopped = true;
        }
      }
    }
    classify(e);
    classify(e2);
    stack.push_back({true, e, e2, 0});
  };
  const auto startVertex = [&](int32_t v) {
    const int32_t w = newVertexLike(v);
    vertices_[size_t(v)].duplicate = w;
    auto &faces = vertices_[size_t(v)].faces;
    for (size_t k = 0; k < faces.size();) {
      const int32_t f = faces[k];
      if (surfaceOf(f) != s) {
        ++k;
        continue;
      }
      faces.erase(faces.begin() + long(k));
      addUnique(vertices_[size_t(w)].faces, f);
      if (!replaceAll(faces_[size_t(f)].vertices, v, w))
        diag_ << "vertex " << v << " not on face " << f << std::endl;
    }
    stack.push_back({false, v, w, int32_t(vertices_[size_t(v)].edges.size()) - 1});
  };
  // The copy's end matching end v of e: v's duplicate when v has no face of s left.
  const auto setCopyEnd = [&](int32_t e2, bool atP0, int32_t v) {
    int32_t &end = atP0 ? edges_[size_t(e2)].p0 : edges_[size_t(e2)].p1;
    if (end >= 0)
      return;
    const int32_t dup = vertices_[size_t(v)].duplicate;
    end = dup >= 0 ? dup : v;
    addUnique(vertices_[size_t(end)].edges, e2);
  };

  startEdge(first);
  while (!stack.empty()) {
    const SplitFrame frame = stack.back();
    if (frame.isEdge) {
      const int32_t e = frame.item;
      if (frame.stage > 0) // the end just handled must be set by now
        setCopyEnd(frame.copy, frame.stage == 1,
                   frame.stage == 1 ? edges_[size_t(e)].p0 : edges_[size_t(e)].p1);
      if (frame.stage == 2) {
        edges_[size_t(e)].splitPartner = edges_[size_t(e)].splitSurface = -1;
        stack.pop_back();
        continue;
      }
      stack.back().stage = frame.stage + 1;
      const int32_t v = frame.stage == 0 ? edges_[size_t(e)].p0 : edges_[size_t(e)].p1;
      if (anyFaceOnSurface(vertices_[size_t(v)].faces, s))
        startVertex(v); // gives the copy its end through the mark on e
      continue;
    }
    // Vertex frame: visit v's edges from the last to the first.
    const int32_t v = frame.item, w = frame.copy;
    auto &vEdges = vertices_[size_t(v)].edges;
    int32_t k = std::min(frame.stage, int32_t(vEdges.size()) - 1);
    if (k < 0) {
      stack.pop_back();
      continue;
    }
    stack.back().stage = k - 1;
    const int32_t f = vEdges[size_t(k)];
    Edge &d = edges_[size_t(f)];
    if (!d.active())
      continue;
    if (allFacesOnSurface(f, s)) {
      (d.p0 == v ? d.p0 : d.p1) = w;
      vEdges.erase(vEdges.begin() + k);
      addUnique(vertices_[size_t(w)].edges, f);
    } else if (anyFaceOnSurface(d.left, s) || anyFaceOnSurface(d.right, s)) {
      startEdge(f);
    } else if (d.splitPartner >= 0 && d.splitSurface == s) {
      Edge &partner = edges_[size_t(d.splitPartner)];
      if (d.p0 == v)
        partner.p0 = w;
      if (d.p1 == v)
        partner.p1 = w;
      addUnique(vertices_[size_t(w)].edges, d.splitPartner);
    }
  }
}
