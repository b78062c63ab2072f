#include "scene/scene.h"

#include "core/mesh_validation.h"
#include "scene/progress_task.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>

Scene::Scene(UserInterface &ui) : ui_(ui) {}

moObject *Scene::objectOf(const ElementRef &ref, bool usableOnly) const {
  moObject *obj = objects.get(ref.object);
  if (obj && usableOnly && !(obj->visible && obj->sensitive))
    return nullptr;
  return obj;
}

bool Scene::elementExists(const ElementRef &ref, SelectionMode m) const {
  const moObject *obj = objects.get(ref.object);
  if (!obj)
    return false;
  switch (m) {
  case moVERTICES:
    return obj->vertices.contains(ref.element) && obj->vertices[ref.element].active();
  case moEDGES:
    return obj->edges.contains(ref.element) && obj->edges[ref.element].active();
  case moFACES:
    return obj->faces.contains(ref.element) && obj->faces[ref.element].active();
  case moOBJECTS:
    return true;
  default:
    return false;
  }
}

moVec3 Scene::selectionCentre() const {
  PointAverage centre;
  for (int32_t i = 0; i < selection.Count(); ++i) {
    const ElementRef ref = selection.Get(i);
    const moObject *obj = objectOf(ref, true);
    if (!obj || !elementExists(ref, mode))
      continue;
    centre.add(mode == moVERTICES ? obj->vertices[ref.element].Coordinates
               : mode == moEDGES  ? obj->edgeMidpoint(ref.element)
               : mode == moFACES  ? obj->faceCentroid(ref.element)
                                  : obj->objectCentroid());
  }
  return centre.mean();
}

void Scene::clearSelection() {
  selection.Clear();
  elementVectors.clear();
  elementCentres.clear();
}

int32_t Scene::createPrimitive(PrimitiveType type) {
  auto obj = std::make_shared<moObject>(makePrimitive(type));
  SaveUndo();
  nameStep("Add " + obj->name);
  clearSelection();
  const int32_t slot = objects.insert(obj);
  obj->appendToName(std::to_string(slot));
  return slot;
}

void Scene::SetShading(bool shaded, bool selectedOnly) {
  if (!selectedOnly) {
    for (int32_t i = 0; i < objects.count(); ++i)
      if (moObject *obj = objects.get(i))
        obj->shaded = shaded;
    return;
  }
  if (mode != moOBJECTS)
    return;
  for (int32_t i = 0; i < selection.Count(); ++i)
    if (moObject *obj = objects.get(selection.Get(i).object))
      obj->shaded = shaded;
}

void Scene::SetObjectVisible(int32_t slot, bool value) {
  if (moObject *obj = objects.get(slot); obj && obj->visible != value) {
    beginObjectStep({slot}, value ? "Show object" : "Hide object");
    obj->visible = value;
    markChanged();
  }
}

void Scene::SetObjectSensitive(int32_t slot, bool value) {
  if (moObject *obj = objects.get(slot); obj && obj->sensitive != value) {
    beginObjectStep({slot}, value ? "Unlock object" : "Lock object");
    obj->sensitive = value;
    markChanged();
  }
}

void Scene::ShowInfo() {
  if (selection.Empty()) {
    ui_.messageBox("no elements selected");
    return;
  }
  static const char *const kKinds[] = {"vertex ", "edge ", "face "};
  for (int32_t i = 0; i < selection.Count(); ++i) {
    const ElementRef ref = selection.Get(i);
    const moObject *obj = objects.get(ref.object);
    if (mode == moOBJECTS) {
      if (!obj)
        continue;
      char text[512];
      std::snprintf(text, sizeof text, "Object: %s\nverts: %d\nedges: %d\nfaces: %d",
                    obj->name.c_str(), obj->vertices.count(), obj->edges.count(),
                    obj->faces.count());
      ui_.messageBox(text);
      continue;
    }
    if (mode > moFACES || !obj)
      continue;
    const bool exists = mode == moVERTICES ? obj->vertices.contains(ref.element)
                        : mode == moEDGES  ? obj->edges.contains(ref.element)
                                           : obj->faces.contains(ref.element);
    if (!exists)
      continue;
    std::cout << kKinds[mode] << ref.element << " in object " << ref.object << std::endl;
    if (mode == moVERTICES)
      dumpVertex(std::cout, obj->vertices[ref.element]);
    else if (mode == moEDGES)
      dumpEdge(std::cout, obj->edges[ref.element]);
    else
      dumpFace(std::cout, obj->faces[ref.element]);
  }
  std::cout << std::endl;
}

void Scene::DeleteAll() {
  clearSelection();
  previousSelection.Clear();
  SaveUndo();
  nameStep("Delete all");
  for (int32_t i = objects.count() - 1; i >= 0; --i) {
    if (moObject *obj = objects.get(i)) {
      keepUncompacted(i);
      obj->compact();
    }
    objects.release(i); // the backup keeps the object alive for Undo
  }
  objects.clear(false);
}

void Scene::PaintedObjectGuard() {
  dropUnusableEntries();
  for (int32_t i = 0; i < selection.Count(); ++i) {
    moObject *obj = objects.get(selection.Get(i).object);
    if (!obj->paintLayer) {
      obj->triangleVertices.clear(false);
      obj->triangleFaces.clear(false);
    }
  }
}

bool Scene::RecoverFromFailure(const std::exception &failure) {
  ui_.messageBox(failure.what());
  Undo(true);
  clearSelection();
  return false;
}

void Scene::dropUnusableEntries() {
  for (int32_t i = 0; i < selection.Count();) {
    const ElementRef ref = selection.Get(i);
    if (objectOf(ref, true))
      ++i;
    else
      selection.Toggle(ref);
  }
}

void Scene::compactSelectedObjects() {
  for (int32_t i = 0; i < selection.Count(); ++i)
    if (moObject *obj = objects.get(selection.Get(i).object))
      obj->compact();
}

bool Scene::runOperation(const OperationRules &rules, const std::function<bool()> &change) {
  if (rules.paintGuard)
    PaintedObjectGuard();
  clearSelectionOnUndo = false;
  SaveUndo();
  if (mode < 0 || mode > moNONE || !(rules.acceptedModes & modeBit(mode))) {
    dropOpenStep();
    return false;
  }
  dropUnusableEntries();
  try {
    const bool symmetric = beginSymmetricOperation(*this, rules.mirrors);
    PaintCarrier carrier;
    if (rules.paintGuard)
      addPaintSources(carrier);
    paintCarrier = carrier.painted() ? &carrier : nullptr;
    const bool changed = change();
    paintCarrier = nullptr;
    if (!changed)
      dropOpenStep(); // refused: no step
    else if (symmetric && !finishSymmetricOperation(*this, rules.mirrors)) {
      Undo(true); // the change would leave the object less symmetric than it was
      clearSelection();
      for (const ElementRef &ref : mirrorFollowers.joined())
        selection.Append(ref);
      return false;
    }
    if (changed && carrier.painted())
      carryPaint(carrier);
    return changed;
  } catch (const moCancelledException &) {
    paintCarrier = nullptr;
    // Stopped by the user: the saved state comes back as it was, selection included.
    Undo(true);
    return false;
  } catch (const std::exception &failure) {
    paintCarrier = nullptr;
    return RecoverFromFailure(failure);
  }
}

void Scene::addPaintSources(PaintCarrier &carrier) const {
  std::vector<int32_t> slots;
  bool painted = false;
  for (int32_t i = 0; i < selection.Count(); ++i) {
    const int32_t slot = selection.Get(i).object;
    if (std::find(slots.begin(), slots.end(), slot) != slots.end())
      continue;
    slots.push_back(slot);
    const moObject *obj = objects.get(slot);
    painted = painted || (obj && obj->paintLayer);
  }
  if (!painted)
    return;
  for (int32_t slot : slots) {
    std::vector<int32_t> faces;
    for (int32_t i = 0; mode == moFACES && i < selection.Count(); ++i)
      if (selection.Get(i).object == slot)
        faces.push_back(selection.Get(i).element);
    // SaveUndo has made the backup's copy of every selected object: the object as it was.
    carrier.addSource(backup.pointer(slot), slot, faces);
  }
}

void Scene::carryPaint(const PaintCarrier &carrier) {
  for (int32_t j = 0; j < objects.count(); ++j) {
    moObject *obj = objects.get(j);
    if (!obj || (j < backup.count() && backup.pointer(j) == objects.pointer(j)))
      continue; // not changed by the operation
    carrier.carryTo(*obj, j);
  }
}
