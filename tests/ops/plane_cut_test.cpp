#include "core/primitives.h"
#include "ops/plane_cut.h"
#include "tests/ops/ops_fixture.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace {

using PlaneCutTest = OpsTest;

struct Extent {
  float lowest = kFloatMax, highest = -kFloatMax;
};
Extent extent(const moObject &obj, int axis) {
  Extent e;
  for (const moVertex &v : obj.vertices) {
    e.lowest = std::min(e.lowest, (&v.Coordinates.x)[axis]);
    e.highest = std::max(e.highest, (&v.Coordinates.x)[axis]);
  }
  return e;
}

TEST_F(PlaneCutTest, CubeCutAtXGivesTwoClosedBoxes) {
  scene.createPrimitive(PrimitiveType::Cube);
  selectObjects({0});
  ASSERT_TRUE(planeCut(scene, 0));
  ASSERT_EQ(scene.objects.objectCount(), 2);
  const moObject &lower = *scene.object(0), &upper = *scene.object(1);
  EXPECT_EQ(upper.name, "planecut1");
  for (const moObject *half : {&lower, &upper}) {
    EXPECT_EQ(soundness(*half), "");
    EXPECT_EQ(half->faces.count(), 6);
    EXPECT_NEAR(enclosedVolume(*half), 4000, 0.01);
  }
  EXPECT_FLOAT_EQ(extent(lower, 0).highest, 0);
  EXPECT_FLOAT_EQ(extent(upper, 0).lowest, 0);
  EXPECT_TRUE(scene.selection.Empty());
}

class TorusCutTest : public OpsTest, public testing::WithParamInterface<int> {};

// Across the hole (z) each section is a ring, joined with its hole through the triangulation;
// along x the plane meets two separate discs. Either way both halves are closed and keep the
// volume, although the z plane runs through a ring of vertices.
TEST_P(TorusCutTest, HalvesAreClosedAndKeepTheVolume) {
  const int axis = GetParam();
  scene.createPrimitive(PrimitiveType::Torus);
  const double volume = enclosedVolume(*scene.object(0));
  selectObjects({0});
  ASSERT_TRUE(planeCut(scene, axis));
  const moObject &lower = *scene.object(0), &upper = *scene.object(1);
  EXPECT_EQ(soundness(lower), "");
  EXPECT_EQ(soundness(upper), "");
  EXPECT_NEAR(enclosedVolume(lower) + enclosedVolume(upper), volume, volume * 1e-5);
  EXPECT_NEAR(enclosedVolume(lower), volume / 2, volume * 1e-5);
  EXPECT_NEAR(extent(lower, axis).highest, 0, kPlaneTolerance);
  EXPECT_NEAR(extent(upper, axis).lowest, 0, kPlaneTolerance);
  // No face of the section faces against the cut (a hole left unjoined would).
  const AxisPlane plane{axis, 0};
  int32_t sectionFaces = 0;
  for (int32_t f = 0; f < lower.faces.count(); ++f) {
    sectionFaces += std::abs(plane.distance(lower.faceCentroid(f))) < kPlaneTolerance;
    if (std::abs(plane.distance(lower.faceCentroid(f))) < kPlaneTolerance) {
      EXPECT_GT(dot(lower.faceNormal(f, true), plane.normal()), 0.99f) << f;
    }
  }
  EXPECT_EQ(sectionFaces, axis == 2 ? 2 * 16 : 2); // the ring in triangles, or two discs
}

INSTANTIATE_TEST_SUITE_P(Axes, TorusCutTest, testing::Values(0, 2));

TEST_F(PlaneCutTest, PlaneThroughVerticesOnlyCutsAlongThem) {
  moObject octahedron;
  buildOctahedron(octahedron, 10, {0, 0, 0});
  const int32_t vertexCount = octahedron.vertices.count();
  addObject(std::move(octahedron));
  selectObjects({0});
  ASSERT_TRUE(planeCut(scene, 1));
  for (int32_t slot : {0, 1}) {
    const moObject &half = *scene.object(slot);
    EXPECT_EQ(soundness(half), "");
    EXPECT_EQ(half.faces.count(), 5); // a pyramid: four sides and the square cut
    EXPECT_EQ(half.vertices.count(), vertexCount - 1);
  }
}

TEST_F(PlaneCutTest, PlanesThatLeaveOneSideEmptyChangeNothing) {
  addObject(boxObject({0, -10, -10}, {20, 10, 10}));  // one face in the plane x = 0
  addObject(boxObject({30, -10, -10}, {40, 10, 10})); // wholly on one side
  for (const std::vector<int32_t> &slots : {std::vector<int32_t>{0}, {1}, {1, 0}}) {
    ui.messages.clear();
    const auto before = snapshot();
    selectObjects(slots);
    EXPECT_FALSE(planeCut(scene, 0));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"The plane does not cut the object."});
    EXPECT_EQ(differenceFrom(before), "");
  }
}

TEST_F(PlaneCutTest, CutPastTheFaceLimitRestoresTheScene) {
  addObject(makeObject(torusMesh(181, 181))); // 32761 faces: the cut must add more than seven
  const auto before = snapshot();
  selectObjects({0});
  EXPECT_FALSE(planeCut(scene, 0));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"That would exceed the maximum face count."});
  EXPECT_EQ(differenceFrom(before), "");
  EXPECT_EQ(scene.objects.objectCount(), 1);
}

TEST_F(PlaneCutTest, ThirdsOfABoxAreCutAtTheRightPlanes) {
  addObject(boxObject({-30, -5, -5}, {0, 5, 5}));
  selectObjects({0});
  ASSERT_TRUE(axisMultiCut(scene, 0, 2));
  ASSERT_EQ(scene.objects.objectCount(), 1);
  const moObject &obj = *scene.object(0);
  EXPECT_EQ(soundness(obj), "");
  EXPECT_NEAR(enclosedVolume(obj), 3000, 0.01);
  std::set<float> xs;
  for (const moVertex &v : obj.vertices)
    xs.insert(v.Coordinates.x);
  EXPECT_EQ(xs, (std::set<float>{-30, -20, -10, 0}));
  EXPECT_EQ(obj.faces.count(), 2 + 4 * 3);
}

TEST_F(PlaneCutTest, ThirdsOfATorusKeepItWhole) {
  scene.createPrimitive(PrimitiveType::Torus);
  const int32_t faces = scene.object(0)->faces.count();
  selectObjects({0});
  ASSERT_TRUE(axisMultiCut(scene, 0, 2));
  EXPECT_EQ(soundness(*scene.object(0)), "");
  EXPECT_GT(scene.object(0)->faces.count(), faces);
  EXPECT_FALSE(axisMultiCut(scene, 1, 0));
  EXPECT_FALSE(planeCut(scene, 3));
}

} // namespace
