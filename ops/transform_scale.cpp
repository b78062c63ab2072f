#include "ops/transform_scale.h"

#include "ops/entry_vertices.h"

namespace {

moVec3 scaledAbout(const moVec3 &p, const moVec3 &centre, const moVec3 &factors) {
  return add(multiply(factors, subtract(p, centre)), centre);
}

// Per vertex of the selected edges or faces: the summed displacement and how many elements gave
// one, in the order the vertices were met.
class Displacements {
public:
  void add(moObject &obj, int32_t slot, int32_t v, const moVec3 &d) {
    if (size_t(slot) >= sums_.size())
      sums_.resize(size_t(slot) + 1);
    std::vector<Sum> &s = sums_[size_t(slot)];
    if (s.size() < size_t(obj.vertices.count()))
      s.resize(size_t(obj.vertices.count()));
    Sum &sum = s[size_t(v)];
    if (sum.count++ == 0)
      order_.push_back({&obj, slot, v});
    sum.x += d.x;
    sum.y += d.y;
    sum.z += d.z;
  }
  void apply() const {
    for (const Met &m : order_) {
      const Sum &s = sums_[size_t(m.slot)][size_t(m.v)];
      moVec3 &p = m.obj->vertices[m.v].Coordinates;
      p = ::add(p, moVec3{float(s.x / s.count), float(s.y / s.count), float(s.z / s.count)});
    }
  }

private:
  struct Sum {
    double x = 0, y = 0, z = 0;
    int32_t count = 0;
  };
  struct Met {
    moObject *obj;
    int32_t slot, v;
  };
  std::vector<std::vector<Sum>> sums_;
  std::vector<Met> order_;
};

} // namespace

bool Scale(Scene &scene) {
  const OperationRules rules{false, kElementModes, MirrorRule::Follow};
  return scene.runOperation(rules, [&] {
    scene.elementCentres = elementCentresNow(scene);
    return true;
  });
}

void scaleSelection(Scene &scene, const moVec3 &factors, const std::vector<moVec3> &centres) {
  if (scene.mode == moEDGES || scene.mode == moFACES) {
    const moVec3 less = subtract(factors, moVec3{1, 1, 1});
    Displacements moves;
    forEachEntryVertex(scene, false, [&](moObject &obj, int32_t v, int32_t entry) {
      if (size_t(entry) < centres.size())
        moves.add(obj, scene.selection.Get(entry).object, v,
                  multiply(less, subtract(obj.vertices[v].Coordinates, centres[size_t(entry)])));
    });
    moves.apply();
    return;
  }
  const bool single = scene.mode == moVERTICES;
  forEachEntryVertex(scene, true, [&](moObject &obj, int32_t v, int32_t entry) {
    const size_t c = single ? 0 : size_t(entry);
    if (c < centres.size())
      obj.vertices[v].Coordinates = scaledAbout(obj.vertices[v].Coordinates, centres[c], factors);
  });
}
