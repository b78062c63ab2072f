#include "ops/edge_ops.h"
#include "tests/ops/ops_test_support.h"

#include <cmath>

namespace {

class EdgeOpsTest : public OpsSceneTest {
protected:
  int32_t addBox(float side) {
    auto box = std::make_shared<moObject>("box");
    buildBox(*box, side, side, side, {0, 0, 0});
    return scene.objects.insert(box);
  }
  // The two edges of face f that do not meet its first edge.
  std::pair<int32_t, int32_t> oppositeEdges(int32_t f) {
    std::vector<int32_t> ring;
    obj().faceEdges(f, ring);
    return {ring[0], ring[2]};
  }
};

TEST_F(EdgeOpsTest, CutEdgesIntoThreeGivesSelectedPiecesOfEqualLength) {
  addBox(3);
  select(moEDGES, {{0, 0}});
  const std::vector<moObject> before = snapshot();
  ASSERT_TRUE(CutEdges(scene, 3));
  expectAllValid();
  ASSERT_EQ(scene.selection.Count(), 3);
  for (int32_t i = 0; i < 3; ++i) {
    const moEdge &e = obj().edges[scene.selection.Get(i).element];
    EXPECT_FLOAT_EQ(
        distance(obj().vertices[e.Head].Coordinates, obj().vertices[e.Tail].Coordinates), 1.0f);
  }
  EXPECT_EQ(scene.previousSelection.Count(), 1);
  EXPECT_EQ((ElementCounts{10, 14, 6}), countElements(obj()));
  expectUndoRestores(before);
}

TEST_F(EdgeOpsTest, ConnectingOppositeEdgesOfAFaceSplitsItThroughTheirMiddles) {
  add(PrimitiveType::Cube);
  const auto [a, b] = oppositeEdges(0);
  select(moEDGES, {{a, 0}, {b, 0}});
  const std::vector<moObject> before = snapshot();
  ASSERT_TRUE(Connect(scene));
  expectAllValid();
  EXPECT_EQ((ElementCounts{10, 15, 7}), countElements(obj()));
  EXPECT_TRUE(scene.selection.Empty());
  expectUndoRestores(before);
}

TEST_F(EdgeOpsTest, ConnectingEdgesWithoutACommonFaceLeavesTheMeshAlone) {
  add(PrimitiveType::Cube);
  const std::vector<moObject> before = snapshot();
  // Edges 0 and the edge opposite to it across the cube's centre share no face.
  int32_t far = -1;
  const moVec3 mid0 = obj().edgeMidpoint(0);
  for (int32_t e = 0; e < obj().edges.count(); ++e)
    if (lengthSquared(::add(obj().edgeMidpoint(e), mid0)) < 1e-6f)
      far = e;
  ASSERT_NE(far, -1);
  select(moEDGES, {{0, 0}, {far, 0}});
  ASSERT_TRUE(Connect(scene));
  EXPECT_EQ(ui.messages.back(), "Edges must share one or more faces to connect");
  expectAllValid();
  EXPECT_EQ(countElements(obj()), countElements(before[0]));
  EXPECT_TRUE(scene.selection.Empty());
}

TEST_F(EdgeOpsTest, ConnectVerticesAcrossAFace) {
  add(PrimitiveType::Cube);
  std::vector<int32_t> corners;
  obj().faceVertices(0, corners);
  select(moVERTICES, {{corners[0], 0}, {corners[2], 0}});
  ASSERT_TRUE(Connect(scene));
  expectAllValid();
  EXPECT_EQ((ElementCounts{8, 13, 7}), countElements(obj()));
  EXPECT_EQ(scene.selection.Count(), 2);
}

TEST_F(EdgeOpsTest, ConnectNeedsTwoElements) {
  add(PrimitiveType::Cube);
  select(moVERTICES, {{0, 0}});
  EXPECT_FALSE(Connect(scene));
  select(moEDGES, {});
  EXPECT_FALSE(Connect(scene));
  EXPECT_EQ(ui.messages, (std::vector<std::string>{"Connect requires at least 2 vertices",
                                                   "Connect requires at least 2 edges"}));
}

TEST_F(EdgeOpsTest, CollapseOfOneCubeEdgeMakesTwoTriangles) {
  add(PrimitiveType::Cube);
  select(moEDGES, {{0, 0}});
  const std::vector<moObject> before = snapshot();
  const moVec3 mid = obj().edgeMidpoint(0);
  ASSERT_TRUE(Collapse(scene));
  expectAllValid();
  EXPECT_EQ((ElementCounts{7, 11, 6}), countElements(obj()));
  EXPECT_NE(obj().findVertexAt(mid), -1);
  EXPECT_EQ(obj().vertices.count(), 7); // compacted
  expectUndoRestores(before);
}

TEST_F(EdgeOpsTest, DeletingEveryFaceRemovesTheObject) {
  add(PrimitiveType::Cube);
  add(PrimitiveType::Cube);
  select(moFACES, {});
  for (int32_t f = 0; f < 6; ++f)
    scene.selection.Append({f, 1});
  const std::vector<moObject> before = snapshot();
  ASSERT_TRUE(Collapse(scene));
  EXPECT_EQ(scene.object(1), nullptr);
  EXPECT_NE(scene.object(0), nullptr);
  expectUndoRestores(before);
}

TEST_F(EdgeOpsTest, DeleteCommandOnlyRemovesObjects) {
  add(PrimitiveType::Cube);
  select(moFACES, {{0, 0}});
  EXPECT_FALSE(DeleteSelected(scene));
  EXPECT_EQ(ui.messages.back(), "You must have objects selected");
  select(moOBJECTS, {{0, 0}});
  EXPECT_TRUE(DeleteSelected(scene));
  EXPECT_EQ(scene.objects.objectCount(), 0);
}

TEST_F(EdgeOpsTest, DissolvingTheEdgeBetweenTwoCubeFacesMakesAHexagon) {
  add(PrimitiveType::Cube);
  select(moEDGES, {{0, 0}});
  ASSERT_TRUE(Dissolve(scene));
  expectAllValid();
  EXPECT_EQ((ElementCounts{8, 11, 5}), countElements(obj()));
  bool hexagon = false;
  for (int32_t f = 0; f < 5; ++f) {
    std::vector<int32_t> corners;
    hexagon = hexagon || obj().faceVertices(f, corners) == 6;
  }
  EXPECT_TRUE(hexagon);
}

TEST_F(EdgeOpsTest, DissolvingFacesClosesTheHoleWithOneFace) {
  add(PrimitiveType::Cube);
  select(moFACES, {{0, 0}, {2, 0}});
  const std::vector<moObject> before = snapshot();
  ASSERT_TRUE(Dissolve(scene));
  expectAllValid();
  EXPECT_EQ((ElementCounts{8, 11, 5}), countElements(obj()));
  EXPECT_EQ(obj().name, before[0].name);
  expectUndoRestores(before);
}

TEST_F(EdgeOpsTest, FreeCutJoinsTheTwoPickedVertices) {
  add(PrimitiveType::Cube);
  std::vector<int32_t> corners;
  obj().faceVertices(0, corners);
  select(moFACES, {{0, 0}});
  scene.previousSelection.Append({corners[0], 0});
  scene.previousSelection.Append({corners[2], 0});
  ASSERT_TRUE(freeCut(scene));
  expectAllValid();
  EXPECT_EQ((ElementCounts{8, 13, 7}), countElements(obj()));
  const int32_t e = obj().findEdge(corners[0], corners[2]);
  ASSERT_NE(e, -1);
  EXPECT_EQ(obj().edges[e].Tail, corners[0]);
  scene.previousSelection.Clear();
  scene.previousSelection.Append({corners[0], 1});
  EXPECT_FALSE(freeCut(scene));
  EXPECT_EQ(ui.messages.back(), "cut face: must select 2 vertices on face!");
}

TEST_F(EdgeOpsTest, CreaseAngleHardensACubeButNotASphere) {
  add(PrimitiveType::Cube);
  add(PrimitiveType::Sphere);
  select(moOBJECTS, {{0, 0}, {1, 1}});
  ASSERT_TRUE(CreaseAngle(scene, 60));
  int32_t cubeHard = 0, sphereHard = 0;
  for (const moEdge &e : obj(0).edges)
    cubeHard += e.hard;
  for (const moEdge &e : obj(1).edges)
    sphereHard += e.hard;
  EXPECT_EQ(cubeHard, 12);
  EXPECT_EQ(sphereHard, 0);
  EXPECT_FLOAT_EQ(obj(0).material.creaseAngle, float(60 * kDegreesToRadians));
}

TEST_F(EdgeOpsTest, HardenAndSoftenSelectedEdges) {
  add(PrimitiveType::Cube);
  select(moEDGES, {{3, 0}});
  ASSERT_TRUE(SetHard(scene, true));
  EXPECT_EQ(obj().edges[3].hard, 1);
  EXPECT_EQ(obj().edges[4].hard, 0);
  select(moOBJECTS, {{0, 0}});
  ASSERT_TRUE(SetHard(scene, false));
  EXPECT_EQ(obj().edges[3].hard, 0);
}

TEST_F(EdgeOpsTest, ApplyColorPaintsFaceCornersAndObjectMaterial) {
  add(PrimitiveType::Cube);
  const moColor c{255, 0, 51, 255};
  scene.SetCurrentColour(c);
  select(moFACES, {{1, 0}});
  ASSERT_TRUE(ApplyColor(scene));
  std::vector<int32_t> corners;
  obj().faceVertices(1, corners);
  for (int32_t v : corners)
    EXPECT_EQ(obj().cornerColorAt(v, 1), c);
  EXPECT_EQ(obj().cornerColorAt(corners[0], obj().otherFace(obj().faces[1].EdgeIndex, 1)), kWhite);
  select(moOBJECTS, {{0, 0}});
  ASSERT_TRUE(ApplyColor(scene));
  EXPECT_NEAR(obj().material.diffuse[2], 0.2f, 1e-6f);
  for (const moEdge &e : obj().edges)
    EXPECT_EQ(e.rightColor, c);
}

} // namespace
