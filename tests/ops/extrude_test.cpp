#include "ops/extrude.h"
#include "ops/mesh_rebuild.h"
#include "ops/transform_move.h"
#include "tests/ops/ops_test_support.h"

namespace {

class ExtrudeTest : public OpsSceneTest {};

TEST_F(ExtrudeTest, NormalExtrusionOfOneCubeFaceAddsARingAndMovesOutward) {
  add(PrimitiveType::Cube);
  select(moFACES, {{0, 0}});
  const std::vector<moObject> before = snapshot();
  const moVec3 n = obj().faceNormal(0, true);
  const std::vector<moVec3> was = facePoints(obj(), 0);
  ASSERT_TRUE(Extrude(scene, 3.0f, true));
  expectAllValid();
  EXPECT_EQ((ElementCounts{12, 20, 10}), countElements(obj()));
  EXPECT_EQ(scene.previousSelection.Count(), 4);
  normalMove(scene, 2.5f);
  const std::vector<moVec3> now = facePoints(obj(), 0);
  for (size_t i = 0; i < now.size(); ++i)
    EXPECT_NEAR(dot(subtract(now[i], was[i]), n), 2.5f, 1e-4f);
  EXPECT_NEAR(length(obj().faceNormal(0, false)), length(before[0].faceNormal(0, false)), 1e-3f);
  expectUndoRestores(before);
}

TEST_F(ExtrudeTest, SideFacesTakeTheColoursOfTheCornersTheyStartFrom) {
  moObject cube = makeObject(cubeMesh());
  cube.setFaceColor(0, {10, 20, 30, 255});
  std::vector<int32_t> corners;
  cube.faceVertices(0, corners);
  const moColor red{200, 0, 0, 255};
  cube.setCornerColor(corners[0], 0, red);
  const moVec3 redPoint = cube.vertices[corners[0]].Coordinates;
  extrudeFaces(cube, {0});
  ASSERT_TRUE(objectLocallyValid(cube, true));
  int32_t redCorners = 0;
  for (int32_t f = 6; f < 10; ++f) {
    std::vector<int32_t> side;
    cube.faceVertices(f, side);
    for (int32_t v : side) {
      const bool atRed = equals(cube.vertices[v].Coordinates, redPoint);
      EXPECT_EQ(cube.cornerColorAt(v, f), atRed ? red : (moColor{10, 20, 30, 255}));
      redCorners += atRed;
    }
  }
  EXPECT_EQ(redCorners, 4); // two side faces meet at the red corner, each with two corners
  EXPECT_EQ(cube.cornerColorAt(cube.vertices.count() - 4, 0), red);
}

TEST_F(ExtrudeTest, RegionOfTwoAdjacentFacesKeepsTheirSharedEdge) {
  add(PrimitiveType::Cube);
  select(moFACES, {{0, 0}, {2, 0}});
  const std::vector<moObject> before = snapshot();
  ASSERT_TRUE(ExtrudeRegion(scene, false));
  expectAllValid();
  EXPECT_EQ((ElementCounts{14, 24, 12}), countElements(obj()));
  EXPECT_EQ(scene.previousSelection.Count(), 6);
  expectUndoRestores(before);
}

TEST_F(ExtrudeTest, RegionTouchingItselfAtAVertexGetsANewVertexPerFan) {
  moObject grid = makeObject(slabMesh(2, 2)); // top cells 0..3 in a 2 x 2 grid
  extrudeRegion(grid, {0, 3});                // diagonal cells meet only at the centre
  EXPECT_TRUE(objectLocallyValid(grid, true)) << wingProblem(grid);
  const ElementCounts c = countElements(grid);
  EXPECT_EQ(c.faces, 16 + 8);
  EXPECT_EQ(c.vertices, 18 + 8);
  EXPECT_EQ(c.vertices - c.edges + c.faces, 2);
}

TEST_F(ExtrudeTest, VertexExtrusionCutsEveryFaceAroundIt) {
  add(PrimitiveType::Cube);
  select(moVERTICES, {{7, 0}});
  const std::vector<moObject> before = snapshot();
  ASSERT_TRUE(Extrude(scene, 3.0f, true));
  expectAllValid();
  EXPECT_EQ((ElementCounts{11, 18, 9}), countElements(obj()));
  ASSERT_EQ(scene.elementVectors.size(), 1u);
  for (int32_t e : edgesAround(obj(), 7))
    EXPECT_FLOAT_EQ(length(obj().edgeVector(e, 7)), 3.0f);
  expectUndoRestores(before);
}

TEST_F(ExtrudeTest, VertexWithOnlyShortEdgesLeavesTheFacesUncut) {
  scene.objects.insert(std::make_shared<moObject>(makeObject(cubeMesh())));
  select(moVERTICES, {{7, 0}});
  ASSERT_TRUE(Extrude(scene, 3.0f, false));
  EXPECT_EQ((ElementCounts{8, 12, 6}), countElements(obj()));
}

TEST_F(ExtrudeTest, EdgeExtrusionCutsARidgeBesideTheEdge) {
  add(PrimitiveType::Cube);
  select(moEDGES, {{0, 0}});
  const std::vector<moObject> before = snapshot();
  ASSERT_TRUE(Extrude(scene, 3.0f, false));
  expectAllValid();
  EXPECT_EQ((ElementCounts{12, 20, 10}), countElements(obj()));
  EXPECT_EQ(scene.previousSelection.Count(), 2);
  expectUndoRestores(before);
}

TEST_F(ExtrudeTest, ExceedingTheFaceLimitRestoresTheScene) {
  scene.objects.insert(std::make_shared<moObject>(makeObject(slabMesh(90, 90))));
  select(moFACES, {});
  for (int32_t f = 0; f < obj().faces.count(); ++f)
    scene.selection.Append({f, 0});
  const std::vector<moObject> before = snapshot();
  EXPECT_FALSE(Extrude(scene, 3.0f, false));
  EXPECT_EQ(ui.messages.back(), "That would exceed the maximum face count.");
  EXPECT_TRUE(scene.selection.Empty());
  EXPECT_EQ(meshDifference(obj(), before[0]), "");
}

} // namespace
