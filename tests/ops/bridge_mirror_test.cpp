#include "ops/bridge.h"
#include "ops/mirror.h"
#include "tests/ops/ops_fixture.h"

#include <cmath>

namespace {

using BridgeTest = OpsTest;
using MirrorTest = OpsTest;

TEST_F(BridgeTest, OppositeFacesOfASlabMakeATunnel) {
  const int32_t slot = addObject(makeObject(slabMesh(3, 3)));
  moObject &slab = *scene.object(slot);
  const int32_t top = faceNear(slab, {1.5f, 1.5f, 1}), bottom = faceNear(slab, {1.5f, 1.5f, 0});
  const moColor red{255, 0, 0, 255}, blue{0, 0, 255, 255};
  slab.setFaceColor(top, red);
  slab.setFaceColor(bottom, blue);
  selectFaces({{top, slot}, {bottom, slot}});
  ASSERT_TRUE(bridge(scene));
  const moObject &obj = *scene.object(slot);
  EXPECT_EQ(soundness(obj), "");
  EXPECT_EQ(obj.faces.count(), 30 - 2 + 4);
  EXPECT_NEAR(enclosedVolume(obj), 9 - 1, 1e-4);
  // A tunnel makes a surface of genus one.
  EXPECT_EQ(obj.vertices.count() - obj.edges.count() + obj.faces.count(), 0);
  EXPECT_TRUE(scene.selection.Empty());
  // The tunnel walls keep the colours the two faces had at their corners.
  int32_t walls = 0;
  std::vector<int32_t> corners;
  for (int32_t f = 0; f < obj.faces.count(); ++f) {
    const moVec3 c = obj.faceCentroid(f);
    if (c.z != 0.5f || c.x < 1 || c.x > 2 || c.y < 1 || c.y > 2)
      continue;
    ++walls;
    obj.faceVertices(f, corners);
    for (int32_t v : corners)
      EXPECT_EQ(obj.cornerColorAt(v, f), obj.vertices[v].Coordinates.z == 1 ? red : blue);
  }
  EXPECT_EQ(walls, 4);
}

TEST_F(BridgeTest, FacesOfTwoObjectsJoinThemIntoOne) {
  const int32_t a = addObject(boxObject({-10, -10, -10}, {10, 10, 10}));
  const int32_t b = addObject(boxObject({-10, 30, -10}, {10, 50, 10}));
  scene.SetMode(moFACES);
  scene.selection.Append({faceNear(*scene.object(a), {0, 10, 0}), a});
  scene.previousSelection.Append({faceNear(*scene.object(b), {0, 30, 0}), b});
  ASSERT_TRUE(bridge(scene));
  EXPECT_EQ(scene.objects.objectCount(), 1);
  EXPECT_EQ(soundness(*scene.object(a)), "");
  EXPECT_EQ(scene.object(a)->faces.count(), 14);
  EXPECT_NEAR(enclosedVolume(*scene.object(a)), 3 * 8000, 0.5);
  EXPECT_TRUE(scene.previousSelection.Empty());
}

struct Refusal {
  const char *what;
  const char *message;
};

class BridgeRefusalTest : public OpsTest, public testing::WithParamInterface<Refusal> {};

// Each case selects two faces that cannot be bridged; the scene must be exactly as before.
TEST_P(BridgeRefusalTest, ShowsTheReasonAndLeavesTheSceneAlone) {
  const std::string what = GetParam().what;
  const int32_t a = addObject(boxObject({-10, -10, -10}, {10, 10, 10}));
  moObject second = boxObject({30, -10, -10}, {50, 10, 10});
  moVec3 secondFace{40, 10, 0}; // the top, beside the first box's top
  if (what == "triangle") {
    second = moObject("pyramid");
    buildCone(second, 5, 10, 3, {0, 30, 0}); // a triangle facing down at the top face
    secondFace = {0, 25, 0};
  }
  const int32_t b = addObject(second);
  if (what == "hidden")
    scene.object(b)->visible = 0;
  const auto before = snapshot();
  const int32_t top = faceNear(*scene.object(a), {0, 10, 0});
  if (what == "neighbours")
    selectFaces({{top, a}, {faceNear(*scene.object(a), {10, 0, 0}), a}});
  else if (what == "three")
    selectFaces({{top, a}, {0, b}, {1, b}});
  else
    selectFaces({{top, a}, {faceNear(*scene.object(b), secondFace), b}});
  EXPECT_FALSE(bridge(scene));
  EXPECT_EQ(ui.messages, std::vector<std::string>{GetParam().message});
  EXPECT_EQ(differenceFrom(before), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BridgeRefusalTest,
    testing::Values(
        Refusal{"coplanar", "Faces co-planar or facing same direction. Skipping bridge."},
        Refusal{"triangle", "Faces do not have same number of edges.  Skipping bridge."},
        Refusal{"neighbours", "Faces are neighbors.  Skipping bridge."},
        Refusal{"hidden", "Bridge implemented for two faces only"},
        Refusal{"three", "Bridge implemented for two faces only"}),
    [](const testing::TestParamInfo<Refusal> &p) { return std::string(p.param.what); });

TEST_F(BridgeTest, JoiningObjectsPastTheFaceLimitRestoresTheScene) {
  const int32_t a = addObject(makeObject(slabMesh(90, 90)));                   // 16560 faces
  const int32_t b = addObject(moved(makeObject(slabMesh(90, 90)), {0, 0, 5})); // the same, above
  const auto before = snapshot();
  selectFaces({{faceNear(*scene.object(a), {0.5f, 0.5f, 1}), a},
               {faceNear(*scene.object(b), {0.5f, 0.5f, 5}), b}});
  EXPECT_FALSE(bridge(scene));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"That would exceed the maximum face count."});
  EXPECT_EQ(differenceFrom(before), "");
}

TEST_F(MirrorTest, CubeMirroredOnOneFaceIsOneBoxTwiceAsLong) {
  const int32_t slot = addObject(boxObject({-10, -10, -10}, {10, 10, 10}));
  for (int32_t f = 0; f < 6; ++f)
    scene.object(slot)->setFaceColor(f, {uint8_t(40 * f), 0, 0, 255});
  selectFaces({{faceNear(*scene.object(slot), {10, 0, 0}), slot}});
  ASSERT_TRUE(mirrorFaces(scene));
  ASSERT_EQ(scene.objects.objectCount(), 1);
  const moObject &obj = *scene.object(slot);
  EXPECT_EQ(soundness(obj), "");
  EXPECT_EQ(obj.faces.count(), 10);
  EXPECT_NEAR(enclosedVolume(obj), 16000, 0.5);
  float highest = -kFloatMax;
  for (const moVertex &v : obj.vertices)
    highest = std::max(highest, v.Coordinates.x);
  EXPECT_FLOAT_EQ(highest, 30);
  // Every face, the ones along the weld included, keeps one colour at all its corners.
  std::vector<int32_t> corners;
  for (int32_t f = 0; f < obj.faces.count(); ++f) {
    obj.faceVertices(f, corners);
    for (int32_t v : corners)
      EXPECT_EQ(obj.cornerColorAt(v, f), obj.cornerColorAt(corners[0], f)) << f;
  }
}

TEST_F(MirrorTest, OppositeFacesGrowTheObjectBothWays) {
  const int32_t slot = addObject(boxObject({-10, -10, -10}, {10, 10, 10}));
  const moObject &box = *scene.object(slot);
  selectFaces({{faceNear(box, {10, 0, 0}), slot}, {faceNear(box, {-10, 0, 0}), slot}});
  ASSERT_TRUE(mirrorFaces(scene));
  EXPECT_EQ(scene.objects.objectCount(), 1);
  EXPECT_EQ(soundness(*scene.object(slot)), "");
  EXPECT_NEAR(enclosedVolume(*scene.object(slot)), 24000, 0.5);
}

TEST_F(MirrorTest, FacesInOnePlaneShareOneCopy) {
  const int32_t slot = addObject(makeObject(slabMesh(3, 3)));
  const moObject &slab = *scene.object(slot);
  selectFaces({{faceNear(slab, {0.5f, 0.5f, 1}), slot}, {faceNear(slab, {2.5f, 2.5f, 1}), slot}});
  ASSERT_TRUE(mirrorFaces(scene));
  EXPECT_EQ(scene.objects.objectCount(), 1);
  const moObject &obj = *scene.object(slot);
  EXPECT_EQ(soundness(obj), "");
  EXPECT_EQ(obj.faces.count(), 2 * 30 - 4);
  EXPECT_NEAR(enclosedVolume(obj), 18, 1e-4);
}

TEST_F(MirrorTest, NeighbouringFacesInOnePlaneAreRefusedAndRestored) {
  const int32_t slot = addObject(makeObject(slabMesh(3, 3)));
  const moObject &slab = *scene.object(slot);
  const auto before = snapshot();
  selectFaces({{faceNear(slab, {0.5f, 0.5f, 1}), slot}, {faceNear(slab, {1.5f, 0.5f, 1}), slot}});
  EXPECT_FALSE(mirrorFaces(scene));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Cannot weld neighboring faces."});
  EXPECT_EQ(differenceFrom(before), "");
}

TEST_F(MirrorTest, MirroredCopyNeedsOneObjectAndAFaceOnIt) {
  const int32_t a = addObject(boxObject({0, 0, 0}, {10, 10, 10}));
  const int32_t b = addObject(boxObject({20, 0, 0}, {30, 10, 10}));
  selectObjects({a});
  EXPECT_FALSE(copyMirrored(scene, {0, b}));
  EXPECT_EQ(ui.messages.back(), "copyMirrored: selected face not on selected object");
  EXPECT_FALSE(copyMirrored(scene, {999, a}));
  ASSERT_TRUE(copyMirrored(scene, {faceNear(*scene.object(a), {0, 5, 5}), a}));
  const int32_t copy = 2;
  EXPECT_EQ(scene.object(copy)->name, "mirror2");
  EXPECT_EQ(soundness(*scene.object(copy)), "");
  EXPECT_FLOAT_EQ(scene.object(copy)->objectCentroid().x, -5);
  selectObjects({});
  ui.messages.clear();
  EXPECT_FALSE(copyMirrored(scene, {0, a}));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"copyMirrored Implemented for one element only"});
  EXPECT_EQ(scene.objects.objectCount(), 3);
}

} // namespace
