#include "ops/transform_move.h"

#include "ops/entry_vertices.h"
#include "ops/transform_directions.h"

namespace {

bool liveVertex(const moObject &obj, int32_t v) {
  return obj.vertices.contains(v) && obj.vertices[v].active();
}

} // namespace

bool Move(Scene &scene, bool normals) {
  const OperationRules rules{false, kElementModes, MirrorRule::Follow};
  return scene.runOperation(rules, [&] {
    if (scene.mode == moVERTICES && normals)
      fillVertexNormals(scene);
    else if (scene.mode == moEDGES || scene.mode == moFACES)
      updateAuxSelectionForMove(scene, normals);
    return true;
  });
}

void forEachMovingVertex(Scene &scene,
                         const std::function<void(moObject &, int32_t, int32_t)> &fn) {
  const bool aux = scene.mode == moEDGES || scene.mode == moFACES;
  const SelectionList &list = aux ? scene.previousSelection : scene.selection;
  if (scene.mode > moOBJECTS || scene.mode < moVERTICES)
    return;
  int32_t index = 0;
  for (int32_t i = 0; i < list.Count(); ++i) {
    const ElementRef ref = list.Get(i);
    moObject *obj = scene.object(ref.object);
    if (scene.mode != moOBJECTS) {
      if (obj && liveVertex(*obj, ref.element))
        fn(*obj, ref.element, i);
      continue;
    }
    if (!obj)
      continue;
    for (int32_t v = 0; v < obj->vertices.count(); ++v)
      if (obj->vertices[v].active())
        fn(*obj, v, index++);
  }
}

void translateSelection(Scene &scene, const moVec3 &v) {
  forEachMovingVertex(scene, [&](moObject &obj, int32_t vertex, int32_t) {
    moVec3 &p = obj.vertices[vertex].Coordinates;
    p = add(p, v);
  });
}

void normalMove(Scene &scene, float a) {
  if (scene.mode == moOBJECTS || scene.mode == moFREE) {
    scene.ui().messageBox(scene.mode == moOBJECTS ? "normalMove has mode of moOBJECTS"
                                                  : "normalMove has mode of moFREE");
    return;
  }
  if (scene.mode > moFACES)
    return;
  const std::vector<moVec3> &vectors = scene.elementVectors;
  forEachMovingVertex(scene, [&](moObject &obj, int32_t vertex, int32_t i) {
    if (size_t(i) < vectors.size()) {
      moVec3 &p = obj.vertices[vertex].Coordinates;
      p = add(p, scale(a, vectors[size_t(i)]));
    }
  });
}

namespace {

// The classic linear congruential generator of C runtimes, so that noise is the same everywhere.
class NoiseRandom {
public:
  explicit NoiseRandom(uint32_t seed) : state_(seed) {}
  float next() {
    state_ = state_ * 214013u + 2531011u;
    return float((state_ >> 16) & 0x7FFFu);
  }

private:
  uint32_t state_;
};

} // namespace

void noiseStep(Scene &scene, NoiseKind kind, float m, const moVec3 &axis) {
  NoiseRandom random(54321);
  const std::vector<moVec3> &vectors = scene.elementVectors;
  forEachMovingVertex(scene, [&](moObject &obj, int32_t vertex, int32_t i) {
    moVec3 step;
    if (kind == NoiseKind::Random) {
      const float x = random.next(), y = random.next(), z = random.next();
      step = scale(m / 32767.0f, moVec3{x, y, z});
    } else {
      const float amount = m * random.next() / 32767.0f;
      const moVec3 along = kind == NoiseKind::AlongAxis ? axis
                           : size_t(i) < vectors.size() ? vectors[size_t(i)]
                                                        : moVec3{};
      step = scale(amount, along);
    }
    moVec3 &p = obj.vertices[vertex].Coordinates;
    p = add(p, step);
  });
}
