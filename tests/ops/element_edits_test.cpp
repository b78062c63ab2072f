#include "ops/element_edits.h"
#include "tests/ops/ops_test_support.h"

#include <cmath>

namespace {

class ElementEdits : public testing::Test {
protected:
  RecordingUi ui;
  moObject cube = makeObject(cubeMesh());
  void expectValid() { EXPECT_TRUE(objectLocallyValid(cube, true)) << wingProblem(cube); }
};

int32_t edgeBetween(const moObject &obj, int32_t a, int32_t b) { return obj.findEdge(a, b); }

TEST_F(ElementEdits, SplitEdgeKeepsThePartAtTheNamedVertex) {
  const int32_t e = edgeBetween(cube, 0, 1);
  const int32_t tail = cube.edges[e].Tail;
  const int32_t n = splitEdge(cube, e, 0.25f, tail);
  expectValid();
  EXPECT_EQ((ElementCounts{9, 13, 6}), countElements(cube));
  const int32_t p = cube.otherVertex(e, tail);
  EXPECT_EQ(p, 8);
  EXPECT_EQ(cube.otherVertex(n, p), tail == 0 ? 1 : 0);
  EXPECT_FLOAT_EQ(cube.vertices[p].Coordinates.x, tail == 0 ? -0.5f : 0.5f);
  EXPECT_EQ(cube.edges[e].Tail, tail); // e keeps its direction
}

TEST_F(ElementEdits, SplitAtDistanceLeavesShortEdgesWhole) {
  const int32_t e = edgeBetween(cube, 0, 1);
  EXPECT_EQ(splitEdgeAtDistance(cube, e, 2.0f, 0), -1);
  EXPECT_EQ(splitEdgeAtDistance(cube, e, 0.0f, 0), -1);
  EXPECT_NE(splitEdgeAtDistance(cube, e, 0.5f, 0), -1);
  expectValid();
}

TEST_F(ElementEdits, CutFaceMovesTheCornersFromAToBIntoTheNewFace) {
  const int32_t g = cutFace(cube, ui, 0, 1, 7); // face 0 is 1, 5, 7, 3
  ASSERT_NE(g, -1);
  expectValid();
  EXPECT_EQ((ElementCounts{8, 13, 7}), countElements(cube));
  std::vector<int32_t> corners;
  cube.faceVertices(g, corners);
  EXPECT_EQ(corners.size(), 3u);
  EXPECT_NE(std::find(corners.begin(), corners.end(), 5), corners.end());
  EXPECT_EQ(cube.faceVertices(0, corners), 3);
  EXPECT_NE(std::find(corners.begin(), corners.end(), 3), corners.end());
}

TEST_F(ElementEdits, CutFaceRefusals) {
  const moObject before = cube;
  EXPECT_EQ(cutFace(cube, ui, 0, 1, 1), -1);
  EXPECT_EQ(cutFace(cube, ui, 0, 1, 0), -1);
  EXPECT_EQ(cutFace(cube, ui, 0, 1, 5), -1);
  EXPECT_EQ(ui.messages,
            (std::vector<std::string>{"Vertices identical. Skipping face cut",
                                      "Vertices not on perimeter of face.  Skipping face cut",
                                      "Edge exists between the two vertices.  Skipping face cut"}));
  EXPECT_EQ(meshDifference(cube, before), "");
}

TEST_F(ElementEdits, CollapseVertexClosesTheHoleOverItsNeighbours) {
  const int32_t f = collapseVertex(cube, ui, 7, -1);
  ASSERT_NE(f, -1);
  expectValid();
  EXPECT_EQ((ElementCounts{7, 12, 7}), countElements(cube));
  std::vector<int32_t> corners;
  EXPECT_EQ(cube.faceVertices(f, corners), 3);
  EXPECT_EQ(cube.faceVertices(0, corners), 3);
}

TEST_F(ElementEdits, CollapseVertexAmongTrianglesDropsThem) {
  moObject ico;
  buildIcosahedron(ico, 1.0f);
  ASSERT_NE(collapseVertex(ico, ui, 0, -1), -1);
  EXPECT_TRUE(objectLocallyValid(ico, true)) << wingProblem(ico);
  EXPECT_EQ((ElementCounts{11, 25, 16}), countElements(ico));
}

TEST_F(ElementEdits, CollapseVertexWithDistanceCutsTheCornerOff) {
  const int32_t f = collapseVertex(cube, ui, 7, 0.5f);
  ASSERT_NE(f, -1);
  expectValid();
  EXPECT_EQ((ElementCounts{10, 15, 7}), countElements(cube));
  for (const moVec3 &p : facePoints(cube, f))
    EXPECT_FLOAT_EQ(std::fabs(p.x - 1) + std::fabs(p.y - 1) + std::fabs(p.z - 1), 0.5f);
  // The new face faces away from the cube's centre.
  const moVec3 n = cube.faceNormal(f, true);
  EXPECT_GT(n.x + n.y + n.z, 1.7f);
}

TEST_F(ElementEdits, CollapseEdgeMeetsAtTheMidpointAndMakesTriangles) {
  const int32_t e = edgeBetween(cube, 5, 7);
  ASSERT_TRUE(collapseEdge(cube, ui, e));
  expectValid();
  EXPECT_EQ((ElementCounts{7, 11, 6}), countElements(cube));
  EXPECT_FLOAT_EQ(cube.vertices[5].Coordinates.y, 0.0f);
  EXPECT_FALSE(cube.vertices[7].active());
  std::vector<int32_t> corners;
  EXPECT_EQ(cube.faceVertices(0, corners), 3);
}

TEST_F(ElementEdits, CollapseEdgeOfATetrahedronDropsBothTriangles) {
  moObject tet;
  buildTetrahedron(tet, 1.0f);
  ASSERT_TRUE(collapseEdge(tet, ui, 0));
  EXPECT_TRUE(objectLocallyValid(tet, true)) << wingProblem(tet);
  EXPECT_EQ((ElementCounts{3, 3, 2}), countElements(tet));
}

TEST_F(ElementEdits, CollapseFaceShrinksItToItsCentre) {
  ASSERT_TRUE(collapseFace(cube, ui, 0));
  expectValid();
  EXPECT_EQ((ElementCounts{5, 8, 5}), countElements(cube));
  EXPECT_FLOAT_EQ(cube.vertices[8].Coordinates.x, 1.0f);
  EXPECT_FLOAT_EQ(cube.vertices[8].Coordinates.y, 0.0f);
}

TEST_F(ElementEdits, CollapseFaceDropsNeighbouringTrianglesLeftWithTwoSides) {
  moObject ico;
  buildIcosahedron(ico, 1.0f);
  ASSERT_TRUE(collapseFace(ico, ui, 0));
  EXPECT_TRUE(objectLocallyValid(ico, true)) << wingProblem(ico);
  EXPECT_EQ((ElementCounts{10, 24, 16}), countElements(ico));
}

TEST_F(ElementEdits, CollapseRefusals) {
  PolygonMesh lamina;
  lamina.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  lamina.faces = {{0, 1, 2}, {0, 2, 1}};
  moObject obj = makeObject(lamina);
  const moObject before = obj;
  EXPECT_FALSE(collapseFace(obj, ui, 0));
  EXPECT_EQ(ui.messages.back(), "Face is a lamina.  Skipping Collapse.");
  obj.edges[0].ForeWing = -1;
  EXPECT_FALSE(collapseEdge(obj, ui, 0));
  EXPECT_EQ(ui.messages.back(), "Edge is not fully connected.  Skipping collapse.");
  obj.edges[0].ForeWing = before.edges[0].ForeWing;
  EXPECT_EQ(meshDifference(obj, before), "");
}

TEST_F(ElementEdits, DissolveEdgeJoinsTwoCubeFacesIntoAHexagon) {
  const int32_t e = edgeBetween(cube, 5, 7);
  ASSERT_TRUE(dissolveEdge(cube, ui, e));
  expectValid();
  EXPECT_EQ((ElementCounts{8, 11, 5}), countElements(cube));
  std::vector<int32_t> corners;
  EXPECT_EQ(cube.faceVertices(0, corners), 6);
}

TEST_F(ElementEdits, DissolveJoinsAtAnEndOfTwoEdges) {
  ASSERT_TRUE(dissolveEdge(cube, ui, edgeBetween(cube, 5, 7)));
  ASSERT_TRUE(dissolveEdge(cube, ui, edgeBetween(cube, 1, 5))); // 5 has two edges left
  expectValid();
  EXPECT_FALSE(cube.vertices[5].active());
  EXPECT_EQ((ElementCounts{7, 10, 5}), countElements(cube));
}

TEST_F(ElementEdits, DissolveRefusesFacesSharingTwoEdges) {
  moObject ring = makeObject(torusMesh(4, 4, 2)); // neighbours along a ring share two edges
  const moObject before = ring;
  EXPECT_FALSE(dissolveEdge(ring, ui, edgeBetween(ring, 2, 6)));
  EXPECT_EQ(ui.messages.back(), "Face will have holes, not dissolving");
  EXPECT_EQ(meshDifference(ring, before), "");
}

} // namespace
