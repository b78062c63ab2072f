// Scenes and checks shared by the tests of the object operations.
#pragma once

#include "core/mesh_validation.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/mesh_fixtures.h"

#include <cmath>
#include <memory>
#include <string>

// The enclosed volume, positive when the faces face outward.
double enclosedVolume(const moObject &obj);

// Every active element of obj, compact, locally valid with every wing pointing back: empty, or
// what is wrong.
std::string validity(const moObject &obj);
// validity, and the faces face outward (positive volume).
std::string soundness(const moObject &obj);

// A box with the given corners, built by the primitive code.
moObject boxObject(const moVec3 &min, const moVec3 &max);
// The face whose centre is nearest to p.
int32_t faceNear(const moObject &obj, const moVec3 &p);
// obj moved by offset.
moObject moved(moObject obj, const moVec3 &offset);

class OpsTest : public SceneTest {
protected:
  int32_t addMesh(const PolygonMesh &mesh) {
    return scene.objects.insert(std::make_shared<moObject>(makeObject(mesh)));
  }
  moVec3 &at(int32_t slot, int32_t v) { return scene.object(slot)->vertices[v].Coordinates; }
  int32_t addObject(moObject obj) {
    return scene.objects.insert(std::make_shared<moObject>(std::move(obj)));
  }
  void selectObjects(const std::vector<int32_t> &slots) {
    scene.SetMode(moOBJECTS);
    scene.clearSelection();
    for (int32_t s : slots)
      scene.selection.Append({s, s});
  }
  void selectFaces(std::initializer_list<ElementRef> faces) {
    scene.SetMode(moFACES);
    scene.clearSelection();
    for (const ElementRef &f : faces)
      scene.selection.Append(f);
  }
  // Copies of every object, to compare the scene with after a refusal.
  std::vector<std::shared_ptr<moObject>> snapshot() const {
    std::vector<std::shared_ptr<moObject>> copies;
    for (int32_t i = 0; i < scene.objects.count(); ++i)
      copies.push_back(scene.object(i) ? std::make_shared<moObject>(*scene.object(i)) : nullptr);
    return copies;
  }
  // Empty when the scene holds exactly the snapshot's objects in the same slots.
  std::string differenceFrom(const std::vector<std::shared_ptr<moObject>> &copies) const {
    if (scene.objects.count() != int32_t(copies.size()))
      return "object count " + std::to_string(scene.objects.count());
    for (size_t i = 0; i < copies.size(); ++i) {
      const moObject *now = scene.object(int32_t(i));
      if (!now != !copies[i])
        return "slot " + std::to_string(i);
      if (now && (now->name != copies[i]->name || !meshDifference(*now, *copies[i]).empty()))
        return "object " + std::to_string(i) + ": " + meshDifference(*now, *copies[i]);
    }
    return "";
  }
};

inline void expectNear(const moVec3 &expected, const moVec3 &actual, float tolerance = 1e-4f) {
  EXPECT_NEAR(expected.x, actual.x, tolerance);
  EXPECT_NEAR(expected.y, actual.y, tolerance);
  EXPECT_NEAR(expected.z, actual.z, tolerance);
}
