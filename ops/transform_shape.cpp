#include "ops/transform_shape.h"

#include "ops/entry_vertices.h"
#include "ops/transform_regions.h"

#include <functional>
#include <unordered_map>

namespace {

moVec3 ontoPlane(const moVec3 &p, const moVec3 &centre, const moVec3 &normal) {
  return subtract(p, scale(dot(subtract(p, centre), normal), normal));
}

// Calls fn(object, vertex, i) for each moving vertex of a tighten drag.
void forEachTightenVertex(Scene &scene,
                          const std::function<void(moObject &, int32_t, int32_t)> &fn) {
  const SelectionList &list = scene.mode == moVERTICES ? scene.selection : scene.previousSelection;
  for (int32_t i = 0; i < list.Count(); ++i) {
    const ElementRef ref = list.Get(i);
    moObject *obj = scene.object(ref.object);
    if (obj && obj->vertices.contains(ref.element) && obj->vertices[ref.element].active())
      fn(*obj, ref.element, i);
  }
}

void computeTightenVectors(Scene &scene) {
  scene.elementVectors.clear();
  forEachTightenVertex(scene, [&](moObject &obj, int32_t v, int32_t i) {
    scene.elementVectors.resize(size_t(i) + 1);
    scene.elementVectors[size_t(i)] =
        subtract(obj.vertexNeighbourCentroid(v), obj.vertices[v].Coordinates);
  });
}

} // namespace

bool Flatten(Scene &scene, bool normals, const moVec3 &axis) {
  scene.elementVectors.clear();
  scene.elementCentres.clear();
  const OperationRules rules{false, modeBit(moVERTICES) | modeBit(moFACES), MirrorRule::Follow};
  return scene.runOperation(rules, [&] {
    if (scene.mode == moVERTICES) {
      const moVec3 centre = elementCentresNow(scene)[0];
      const moVec3 a = normals ? moVec3{} : axis;
      forEachEntryVertex(scene, true, [&](moObject &obj, int32_t v, int32_t) {
        obj.vertices[v].Coordinates = ontoPlane(obj.vertices[v].Coordinates, centre, a);
      });
      return true;
    }
    const std::vector<RegionFrame> frames = regionFrames(scene);
    forEachEntryVertex(scene, false, [&](moObject &obj, int32_t v, int32_t entry) {
      const RegionFrame &frame = frames[size_t(entry)];
      obj.vertices[v].Coordinates =
          ontoPlane(obj.vertices[v].Coordinates, frame.centre, normals ? frame.normal : axis);
    });
    return true;
  });
}

bool Tighten(Scene &scene) {
  return scene.runOperation({false, kElementModes, MirrorRule::Follow}, [&] {
    scene.previousSelection.Clear();
    if (scene.mode == moOBJECTS) {
      for (int32_t i = 0; i < scene.selection.Count(); ++i) {
        const int32_t slot = scene.selection.Get(i).object;
        const moObject *obj = scene.object(slot);
        for (int32_t v = obj ? obj->vertices.count() - 1 : -1; v >= 0; --v)
          if (obj->vertices[v].active())
            scene.previousSelection.Append({v, slot});
      }
    } else if (scene.mode != moVERTICES) {
      forEachEntryVertex(scene, true, [&](moObject &, int32_t v, int32_t entry) {
        scene.previousSelection.Append({v, scene.selection.Get(entry).object});
      });
    }
    computeTightenVectors(scene);
    return true;
  });
}

void tightenStep(Scene &scene, float m) {
  const float t = 0.1f * m;
  forEachTightenVertex(scene, [&](moObject &obj, int32_t v, int32_t i) {
    if (size_t(i) < scene.elementVectors.size()) {
      moVec3 &p = obj.vertices[v].Coordinates;
      p = add(p, scale(t, scene.elementVectors[size_t(i)]));
    }
  });
  computeTightenVectors(scene);
}

bool Twist(Scene &scene) {
  return scene.runOperation({false, kElementModes}, [&] {
    std::unordered_map<int32_t, moVec3> centreOf; // one centroid per object, however many entries
    scene.elementCentres.clear();
    for (int32_t i = 0; i < scene.selection.Count(); ++i) {
      const int32_t slot = scene.selection.Get(i).object;
      auto found = centreOf.find(slot);
      if (found == centreOf.end()) {
        const moObject *obj = scene.object(slot);
        found = centreOf.emplace(slot, obj ? obj->objectCentroid() : moVec3{}).first;
      }
      scene.elementCentres.push_back(found->second);
    }
    return true;
  });
}

void twistStep(Scene &scene, float m, const moVec3 &axis) {
  if (scene.mode != moOBJECTS || lengthSquared(axis) == 0)
    return;
  const moVec3 a = unit(axis);
  forEachEntryVertex(scene, true, [&](moObject &obj, int32_t v, int32_t entry) {
    if (size_t(entry) >= scene.elementCentres.size())
      return;
    const moVec3 c = scene.elementCentres[size_t(entry)];
    moVec3 &p = obj.vertices[v].Coordinates;
    const moVec3 offset = subtract(p, c);
    p = add(transformPoint(rotation(a, m * dot(offset, a)), offset), c);
  });
}
