#include "ops/puff.h"

#include "ops/selected_objects.h"

namespace {

// Number of edges at each vertex slot.
std::vector<int32_t> edgeCounts(const moObject &obj) {
  std::vector<int32_t> count(size_t(obj.vertices.count()), 0);
  for (const moEdge &d : obj.edges)
    if (d.active()) {
      ++count[d.Head];
      ++count[d.Tail];
    }
  return count;
}

} // namespace

std::vector<moVec3> puffVectors(const moObject &obj) {
  std::vector<moVec3> vectors(size_t(obj.vertices.count()));
  for (const moEdge &d : obj.edges) {
    if (!d.active())
      continue;
    const moVec3 n = add(obj.faceNormal(d.LeftFace, true), obj.faceNormal(d.RightFace, true));
    vectors[d.Head] = add(vectors[d.Head], n);
    vectors[d.Tail] = add(vectors[d.Tail], n);
  }
  return vectors;
}

bool puffObjects(Scene &scene) {
  return scene.runOperation({false, modeBit(moOBJECTS)}, [&] {
    scene.elementVectors.clear();
    for (int32_t slot : selectedObjects(scene)) {
      const std::vector<moVec3> vectors = puffVectors(*scene.object(slot));
      scene.elementVectors.insert(scene.elementVectors.end(), vectors.begin(), vectors.end());
    }
    return true;
  });
}

void puffStep(Scene &scene, float amount) {
  if (scene.mode != moOBJECTS)
    return;
  const std::vector<int32_t> slots = selectedObjects(scene);
  size_t total = 0;
  for (int32_t slot : slots)
    total += size_t(scene.object(slot)->vertices.count());
  if (total != scene.elementVectors.size())
    return;
  size_t next = 0;
  for (int32_t slot : slots) {
    moObject &obj = *scene.object(slot);
    const std::vector<int32_t> count = edgeCounts(obj);
    for (int32_t v = 0; v < obj.vertices.count(); ++v, ++next)
      if (count[v] > 0) {
        const moVec3 step = scale(amount / float(count[v]), scene.elementVectors[next]);
        obj.vertices[v].Coordinates = add(obj.vertices[v].Coordinates, step);
      }
  }
}
