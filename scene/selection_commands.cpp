// The selection commands. Each builds its result in the previous-selection list and swaps it in,
// so that the selection before the command becomes the previous selection.
#include "scene/scene.h"

namespace {

const char *const kNoElements = "no elements selected";

// The edge's wing (or ccw wing) at its end d; -1 when d is not an end.
int32_t wingAt(const moEdge &e, int32_t d, bool ccw) {
  if (d == e.Head)
    return ccw ? e.ccwForeWing : e.ForeWing;
  if (d == e.Tail)
    return ccw ? e.ccwBackWing : e.BackWing;
  return -1;
}

// Calls fn on each edge around v starting with `start`, turning with prevEdgeAtVertex.
template <class Fn> void aroundVertexFrom(const moObject &obj, int32_t start, int32_t v, Fn fn) {
  int32_t d = start;
  for (int32_t steps = 0; steps <= obj.edges.count() && d != -1; ++steps) {
    fn(d);
    d = obj.prevEdgeAtVertex(d, v, true);
    if (d == start)
      return;
  }
}

// Appends ref to a result unless the element is -1 or already there.
void appendOnce(SelectionList &result, int32_t element, int32_t slot) {
  if (element != -1 && !result.Contains({element, slot}))
    result.Append({element, slot});
}

} // namespace

bool Scene::deriveSelection(bool modeAccepted, const EntryVisitor &visit) {
  if (selection.Empty()) {
    ui_.messageBox(kNoElements);
    return false;
  }
  if (!modeAccepted)
    return false;
  previousSelection.Clear();
  for (int32_t i = selection.Count() - 1; i >= 0; --i) {
    const ElementRef ref = selection.Get(i);
    const moObject *obj = objectOf(ref, true);
    if (obj && elementExists(ref, mode))
      visit(ref, *obj);
  }
  return true;
}

void Scene::commitResult(SelectionMode resultMode) {
  selection.Swap(previousSelection);
  previousMode = mode;
  mode = resultMode;
  elementVectors.clear();
  elementCentres.clear();
}

void Scene::SetMode(SelectionMode m) {
  clearSelection();
  mode = m;
}

void Scene::DeselectReselect() {
  if (!selection.Empty()) {
    selection.Swap(previousSelection);
    std::swap(mode, previousMode);
    clearSelection();
    mode = moFREE;
  } else if (!previousSelection.Empty()) {
    selection.Swap(previousSelection);
    std::swap(mode, previousMode);
  } else {
    mode = moFREE;
  }
}

bool Scene::SelectAll(int32_t type) {
  previousSelection.Clear();
  if (type == moOBJECTS) {
    if (objects.objectCount() == 0) {
      ui_.messageBox("no objects in scene");
      return false;
    }
    for (int32_t i = 0; i < objects.count(); ++i)
      if (objects.get(i))
        previousSelection.Append({i, i});
  } else if (type >= moVERTICES && type <= moFACES) {
    if (selection.Empty()) {
      ui_.messageBox(kNoElements);
      return false;
    }
    std::vector<bool> seen(static_cast<size_t>(objects.count()));
    for (int32_t i = selection.Count() - 1; i >= 0; --i) {
      const int32_t slot = selection.Get(i).object;
      const moObject *obj = objects.get(slot);
      if (!obj || seen[slot])
        continue;
      seen[slot] = true;
      if (!obj->visible || !obj->sensitive)
        continue;
      const int32_t n = type == moVERTICES ? obj->vertices.count()
                        : type == moEDGES  ? obj->edges.count()
                                           : obj->faces.count();
      for (int32_t e = n - 1; e >= 0; --e)
        if (elementExists({e, slot}, SelectionMode(type)))
          previousSelection.Append({e, slot});
    }
  } else {
    ui_.messageBox(type == moFREE   ? "select all has mode of moFREE!"
                   : type == moNONE ? "select all has mode of moNONE!"
                                    : "something wrong in select all");
  }
  commitResult(SelectionMode(type));
  return true;
}

bool Scene::SelectAdjacent(int32_t type) {
  const auto add = [&](int32_t element, int32_t slot) {
    appendOnce(previousSelection, element, slot);
  };
  const bool ok = deriveSelection(
      mode >= moVERTICES && mode < moOBJECTS, [&](const ElementRef &ref, const moObject &o) {
        const moObject *obj = &o;
        const int32_t slot = ref.object;
        const auto addFromEdge = [&](int32_t e, bool withWings) {
          const moEdge &d = obj->edges[e];
          switch (type) {
          case moVERTICES:
            add(d.Head, slot);
            add(d.Tail, slot);
            break;
          case moEDGES:
            add(e, slot);
            if (withWings)
              for (int32_t w : {d.ForeWing, d.BackWing, d.ccwForeWing, d.ccwBackWing})
                add(w, slot);
            break;
          case moFACES:
            add(d.LeftFace, slot);
            add(d.RightFace, slot);
            break;
          case moOBJECTS:
            add(slot, slot);
            break;
          default:
            break;
          }
        };
        if (mode == moVERTICES) {
          const int32_t v = ref.element;
          if (type == moVERTICES)
            add(v, slot);
          obj->forEachEdgeAtVertex(v, [&](int32_t e) {
            switch (type) {
            case moVERTICES:
              add(obj->otherVertex(e, v), slot);
              break;
            case moEDGES:
            case moFACES:
            case moOBJECTS:
              addFromEdge(e, false);
              break;
            case moFREE:
              ui_.messageBox("select neighbor of mode moFREE");
              break;
            case moNONE:
              ui_.messageBox("select neighbor of mode moNONE");
              break;
            default:
              ui_.messageBox("something wrong in select neighbor");
            }
          });
        } else if (mode == moEDGES) {
          addFromEdge(ref.element, true);
        } else {
          const int32_t f = ref.element;
          if (type == moFACES)
            add(f, slot);
          obj->forEachEdgeOfFace(f, false, [&](int32_t e) {
            if (type == moFACES)
              add(obj->otherFace(e, f), slot);
            else if (type == moEDGES || type == moVERTICES || type == moOBJECTS)
              addFromEdge(e, false);
          });
        }
      });
  if (!ok)
    return false;
  commitResult(SelectionMode(type));
  return true;
}

bool Scene::Grow() {
  const auto add = [&](int32_t element, int32_t slot) {
    appendOnce(previousSelection, element, slot);
  };
  const bool ok = deriveSelection(
      mode >= moVERTICES && mode <= moFACES, [&](const ElementRef &ref, const moObject &o) {
        const moObject *obj = &o;
        const int32_t slot = ref.object;
        if (mode == moVERTICES) {
          add(ref.element, slot);
          obj->forEachEdgeAtVertex(ref.element,
                                   [&](int32_t e) { add(obj->otherVertex(e, ref.element), slot); });
        } else if (mode == moEDGES) {
          const moEdge &d = obj->edges[ref.element];
          for (int32_t end : {d.Head, d.Tail})
            aroundVertexFrom(*obj, ref.element, end, [&](int32_t e) { add(e, slot); });
        } else {
          const int32_t f = ref.element;
          add(f, slot);
          obj->forEachEdgeOfFace(f, false, [&](int32_t e) {
            if (selection.Contains({obj->otherFace(e, f), slot}))
              return;
            const moEdge &d = obj->edges[e];
            for (int32_t end : {d.Head, d.Tail})
              aroundVertexFrom(*obj, e, end, [&](int32_t around) {
                add(obj->edges[around].LeftFace, slot);
                add(obj->edges[around].RightFace, slot);
              });
          });
        }
      });
  if (!ok)
    return false;
  commitResult(mode);
  return true;
}

bool Scene::Shrink() {
  const bool ok = deriveSelection(mode >= moVERTICES && mode <= moFACES, [&](const ElementRef &ref,
                                                                             const moObject &o) {
    const moObject *obj = &o;
    const int32_t slot = ref.object;
    const auto selected = [&](int32_t element) { return selection.Contains({element, slot}); };
    bool keep = true;
    const auto edgesAroundEnds = [&](int32_t e, auto test) {
      const moEdge &d = obj->edges[e];
      for (int32_t end : {d.Head, d.Tail})
        aroundVertexFrom(*obj, e, end, [&](int32_t around) { keep = keep && test(around); });
    };
    if (mode == moVERTICES) {
      obj->forEachEdgeAtVertex(ref.element, [&](int32_t e) {
        keep = keep && selected(obj->otherVertex(e, ref.element));
      });
    } else if (mode == moEDGES) {
      edgesAroundEnds(ref.element, selected);
    } else {
      const int32_t f = ref.element;
      obj->forEachEdgeOfFace(f, false, [&](int32_t e) {
        keep = keep && selected(obj->otherFace(e, f));
        edgesAroundEnds(e, [&](int32_t around) {
          return selected(obj->edges[around].LeftFace) && selected(obj->edges[around].RightFace);
        });
      });
    }
    if (keep)
      previousSelection.Append(ref);
  });
  if (!ok)
    return false;
  commitResult(mode);
  return true;
}

bool Scene::EdgeLoop() {
  const bool ok = deriveSelection(mode == moEDGES, [&](const ElementRef &ref, const moObject &o) {
    const moObject *obj = &o;
    const int32_t slot = ref.object;
    if (!previousSelection.Contains(ref))
      previousSelection.Append(ref);
    const moEdge &s = obj->edges[ref.element];
    for (int32_t start : {s.Head, s.Tail}) {
      int32_t c = ref.element, d = start;
      for (int32_t steps = 0; steps < obj->edges.count(); ++steps) {
        const moEdge &current = obj->edges[c];
        const int32_t w = wingAt(current, d, false), u = wingAt(current, d, true);
        int32_t next;
        if (w == u) {
          next = w; // d has two edges
        } else {
          if (!obj->edges.contains(w) || !obj->edges.contains(u))
            break;
          // Only at a vertex of four edges is there an edge straight across.
          const int32_t across = wingAt(obj->edges[w], d, false);
          if (wingAt(obj->edges[u], d, true) != across)
            break;
          next = across;
        }
        if (!obj->edges.contains(next) || !obj->edges[next].active() ||
            previousSelection.Contains({next, slot}))
          break;
        previousSelection.Append({next, slot});
        d = obj->otherVertex(next, d);
        c = next;
      }
    }
  });
  if (!ok)
    return false;
  commitResult(moEDGES);
  return true;
}

bool Scene::SetModeEmpty(SelectionMode m) {
  if (selection.Empty()) {
    ui_.messageBox(kNoElements);
    return false;
  }
  if (mode < moVERTICES || mode > moFACES)
    return false;
  previousSelection.Clear();
  commitResult(m);
  return true;
}

bool Scene::ClickSelect(const ElementRef &picked, SelectionMode pickedType,
                        bool automaticPickMode) {
  if (automaticPickMode && selection.Empty()) {
    mode = pickedType;
  }
  return selection.Toggle(picked);
}

void Scene::DragSelect(const ElementRef &picked, bool add) { selection.Set(picked, add); }

std::vector<ElementRef> liveEntries(const Scene &scene) {
  std::vector<ElementRef> out;
  for (int32_t i = 0; i < scene.selection.Count(); ++i) {
    const ElementRef ref = scene.selection.Get(i);
    if (scene.objectOf(ref, true) && scene.elementExists(ref, scene.mode))
      out.push_back(ref);
  }
  return out;
}
