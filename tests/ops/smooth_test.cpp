#include "core/primitives.h"
#include "ops/smooth.h"
#include "tests/ops/ops_fixture.h"

namespace {

using SmoothTest = OpsTest;

TEST_F(SmoothTest, CubeBecomesTwentyFourQuadsInsideItself) {
  scene.createPrimitive(PrimitiveType::Cube);
  scene.object(0)->setFaceColor(0, {200, 100, 0, 255});
  selectObjects({0});
  ASSERT_TRUE(smooth(scene));
  const moObject &obj = *scene.object(0);
  EXPECT_EQ(soundness(obj), "");
  ASSERT_EQ(obj.faces.count(), 24);
  std::vector<int32_t> corners;
  for (int32_t f = 0; f < 24; ++f)
    EXPECT_EQ(obj.faceVertices(f, corners), 4);
  EXPECT_EQ(obj.vertices.count(), 8 + 12 + 6);
  // An old corner moves to (n - 2) / n V + (far ends + face points) / n^2 with n = 3.
  const moVec3 corner = obj.vertices[0].Coordinates;
  EXPECT_NEAR(std::abs(corner.x), 10.0f * 5 / 9, 1e-4);
  EXPECT_NEAR(enclosedVolume(obj), 8000 * 0.6, 8000 * 0.2);
  // The colour of a face stays on every corner of the four quads made from it, and only there.
  int32_t coloured = 0;
  for (int32_t f = 0; f < 24; ++f) {
    obj.faceVertices(f, corners);
    for (int32_t v : corners)
      coloured += obj.cornerColorAt(v, f) == moColor{200, 100, 0, 255};
  }
  EXPECT_EQ(coloured, 16);
  EXPECT_EQ(scene.selection.Count(), 1);
}

TEST_F(SmoothTest, HardEdgesKeepTheCornersAndCreases) {
  scene.createPrimitive(PrimitiveType::Cube);
  moObject &cube = *scene.object(0);
  for (moEdge &d : cube.edges)
    d.hard = 1;
  std::vector<moVec3> before;
  for (const moVertex &v : cube.vertices)
    before.push_back(v.Coordinates);
  selectObjects({0});
  ASSERT_TRUE(smooth(scene));
  const moObject &obj = *scene.object(0);
  EXPECT_EQ(soundness(obj), "");
  for (size_t v = 0; v < before.size(); ++v)
    EXPECT_TRUE(equals(obj.vertices[int32_t(v)].Coordinates, before[v])) << v;
  EXPECT_NEAR(enclosedVolume(obj), 8000, 0.01); // every new point stays on the cube's faces
}

TEST_F(SmoothTest, TwoHardEdgesPullAVertexAlongTheCrease) {
  moObject obj = makeObject(torusMesh(8, 8));
  // The crease is the ring of edges at s = 0 across all rings: each vertex there has two.
  for (moEdge &d : obj.edges) {
    const int32_t a = d.Head % 8, b = d.Tail % 8;
    d.hard = a == 0 && b == 0;
  }
  const moObject result = subdivide(obj);
  EXPECT_EQ(soundness(result), "");
  for (int32_t v = 0; v < obj.vertices.count(); v += 8) {
    const moVec3 &p = obj.vertices[v].Coordinates;
    const moVec3 a = obj.vertices[(v + 8) % 64].Coordinates,
                 b = obj.vertices[(v + 56) % 64].Coordinates;
    const moVec3 expected = scale(0.125f, add(scale(6, p), add(a, b)));
    EXPECT_NEAR(distance(result.vertices[v].Coordinates, expected), 0, 1e-5) << v;
  }
}

TEST_F(SmoothTest, ResultPastTheFaceLimitRestoresTheScene) {
  addObject(makeObject(torusMesh(128, 66))); // 8448 quads would become 33792
  const auto before = snapshot();
  selectObjects({0});
  EXPECT_FALSE(smooth(scene));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"That would exceed the maximum face count."});
  EXPECT_EQ(differenceFrom(before), "");
}

} // namespace
