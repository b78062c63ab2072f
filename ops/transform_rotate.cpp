#include "ops/transform_rotate.h"

#include "ops/entry_vertices.h"
#include "ops/transform_directions.h"
#include "ops/transform_regions.h"

namespace {

void turn(moVec3 &p, const moMatrix4 &r, const moVec3 &centre) {
  p = add(transformPoint(r, subtract(p, centre)), centre);
}

} // namespace

bool Rotate(Scene &scene, bool normals, bool centres) {
  const OperationRules rules{false, kElementModes, MirrorRule::Follow};
  return scene.runOperation(rules, [&] {
    scene.elementVectors.clear();
    scene.elementCentres.clear();
    if (scene.mode == moVERTICES || scene.mode == moOBJECTS) {
      if (normals && scene.mode == moVERTICES)
        fillVertexNormals(scene);
      if (centres)
        scene.elementCentres = elementCentresNow(scene);
    } else if (centres) {
      for (const RegionFrame &frame : regionFrames(scene)) {
        scene.elementCentres.push_back(frame.centre);
        if (normals)
          scene.elementVectors.push_back(frame.normal);
      }
    } else if (normals) {
      updateAuxSelectionForMove(scene, true);
    }
    return true;
  });
}

void rotateSelection(Scene &scene, const moVec3 &axis, float degrees) {
  const std::vector<moVec3> &centres = scene.elementCentres;
  if (lengthSquared(axis) == 0 || centres.empty())
    return;
  const moMatrix4 r = rotation(unit(axis), degrees);
  const bool single = scene.mode == moVERTICES;
  forEachEntryVertex(scene, true, [&](moObject &obj, int32_t v, int32_t entry) {
    const size_t c = single ? 0 : size_t(entry);
    if (c < centres.size())
      turn(obj.vertices[v].Coordinates, r, centres[c]);
  });
}

void rotateAboutNormals(Scene &scene, float degrees) {
  if (scene.mode != moEDGES && scene.mode != moFACES)
    return;
  const std::vector<moVec3> &axes = scene.elementVectors, &centres = scene.elementCentres;
  std::vector<moMatrix4> turns(axes.size());
  for (size_t i = 0; i < axes.size(); ++i)
    turns[i] = lengthSquared(axes[i]) > 0 ? rotation(unit(axes[i]), degrees) : identity();
  forEachEntryVertex(scene, true, [&](moObject &obj, int32_t v, int32_t entry) {
    const size_t i = size_t(entry);
    if (i < turns.size() && i < centres.size())
      turn(obj.vertices[v].Coordinates, turns[i], centres[i]);
  });
}
