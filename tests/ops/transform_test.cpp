#include "ops/transform_directions.h"
#include "ops/transform_move.h"
#include "ops/transform_rotate.h"
#include "ops/transform_scale.h"
#include "ops/transform_shape.h"
#include "tests/ops/ops_fixture.h"

// Cube faces of the fixture: 0 is x = +1, 2 is y = +1, 4 is z = +1; vertex i has x = +1 for
// bit 0, y for bit 1, z for bit 2.
using TransformDirections = OpsTest;

TEST_F(TransformDirections, VertexNormalOfACubeCornerPointsOutAlongTheDiagonal) {
  const int32_t slot = add(cubeMesh());
  const float c = 1 / std::sqrt(3.0f);
  expectNear({c, c, c}, vertexNormal(*scene.object(slot), 7));
  expectNear({-c, -c, -c}, vertexNormal(*scene.object(slot), 0));
}

TEST_F(TransformDirections, TwoFacesAtARightAngleMoveTheirSharedEdgeDiagonally) {
  const int32_t slot = add(cubeMesh());
  select(moFACES, {{0, slot}, {2, slot}});
  ASSERT_TRUE(Move(scene, true));
  // Auxiliary list: face 0's corners, then face 2's new ones, each once.
  ASSERT_EQ(6, scene.previousSelection.Count());
  normalMove(scene, 1);
  expectNear({2, 2, 1}, at(slot, 7)); // on both faces
  expectNear({2, 2, -1}, at(slot, 3));
  expectNear({2, -1, 1}, at(slot, 5)); // on the x face only
  expectNear({-1, 2, 1}, at(slot, 6));
  expectNear({-1, -1, -1}, at(slot, 0)); // not selected
}

TEST_F(TransformDirections, FacesMeetingInTwoPlanesStillMoveBothPlanesEqually) {
  // Along the front top edge of a slab the faces lie in two planes only; the system is singular
  // but the vertex must still move so that both planes move by the step.
  const int32_t slot = add(slabMesh(2, 1));
  scene.SetMode(moFACES);
  for (int32_t f = 0; f < scene.object(slot)->faces.count(); ++f)
    scene.selection.Append({f, slot});
  const moVec3 d = offsetDirection(*scene.object(slot), 7, moFACES, [](int32_t) { return true; });
  expectNear({0, -1, 1}, d);
}

TEST_F(TransformDirections, EdgeOffsetKeepsBothFacePlanesAtTheSameDistance) {
  const int32_t slot = add(cubeMesh());
  const moObject &obj = *scene.object(slot);
  const int32_t e = obj.findEdge(7, 3); // between faces x = +1 and y = +1
  const moVec3 d = offsetDirection(obj, 7, moEDGES, [&](int32_t edge) { return edge == e; });
  const float c = 1 / std::sqrt(2.0f);
  expectNear({c, c, 0}, d);
}

TEST_F(TransformDirections, AuxiliaryListRefusesVertexAndObjectModes) {
  const int32_t slot = add(cubeMesh());
  select(moOBJECTS, {{slot, slot}});
  updateAuxSelectionForMove(scene, true);
  EXPECT_EQ(0, scene.previousSelection.Count());
  ASSERT_EQ(1u, ui.messages.size());
  EXPECT_EQ("updateAuxSelectionForMove has mode of moOBJECTS!", ui.messages[0]);
}

using TransformSetups = OpsTest;

TEST_F(TransformSetups, RotateFacesSharesOnePivotPerConnectedRegion) {
  const int32_t slot = add(cubeMesh());
  select(moFACES, {{4, slot}, {0, slot}, {1, slot}});
  ASSERT_TRUE(Rotate(scene, true, true));
  ASSERT_EQ(3u, scene.elementCentres.size());
  // Faces x = -1 and x = +1 both border z = +1: one region, pivot the mean of three centres.
  for (int32_t i = 0; i < 3; ++i) {
    expectNear({0, 0, 1 / 3.0f}, scene.elementCentres[size_t(i)]);
    expectNear({0, 0, 1}, scene.elementVectors[size_t(i)]);
  }
}

TEST_F(TransformSetups, RotateAboutNormalsTurnsSeparateFacesInPlace) {
  const int32_t slot = add(cubeMesh());
  select(moFACES, {{0, slot}, {1, slot}}); // opposite faces: two regions
  ASSERT_TRUE(Rotate(scene, true, true));
  expectNear({1, 0, 0}, scene.elementCentres[0]);
  expectNear({-1, 0, 0}, scene.elementCentres[1]);
  rotateAboutNormals(scene, 90);
  expectNear({1, -1, 1}, at(slot, 7)); // (1, 1, 1) turned about +x through (1, 0, 0)
  expectNear({-1, 1, 1}, at(slot, 4)); // (-1, -1, 1) turned about -x
}

TEST_F(TransformSetups, ScaleOfTwoFacesAveragesTheSharedCornerDisplacement) {
  const int32_t slot = add(cubeMesh());
  select(moFACES, {{0, slot}, {2, slot}});
  ASSERT_TRUE(Scale(scene));
  scaleSelection(scene, {2, 2, 2}, scene.elementCentres);
  // Vertex 7 is (0, 1, 1) from face 0's centre and (1, 0, 1) from face 2's.
  expectNear({1.5f, 1.5f, 2}, at(slot, 7));
  expectNear({1, -2, 2}, at(slot, 5)); // face 0 only: (0, -1, 1) doubled about (1, 0, 0)
}

TEST_F(TransformSetups, TightenPullsTowardNeighboursAndTwistTurnsOppositeEnds) {
  const int32_t slot = add(cubeMesh());
  select(moVERTICES, {{7, slot}});
  ASSERT_TRUE(Tighten(scene));
  tightenStep(scene, 5); // t = 0.5: half-way to the neighbours' mean (1/3, 1/3, 1/3)
  expectNear({2 / 3.0f, 2 / 3.0f, 2 / 3.0f}, at(slot, 7));
  expectNear({-1 / 3.0f, -1 / 3.0f, -1 / 3.0f}, scene.elementVectors[0]);

  const int32_t other = add(cubeMesh());
  select(moOBJECTS, {{other, other}});
  ASSERT_TRUE(Twist(scene));
  twistStep(scene, 10, {0, 1, 0}); // 10 degrees per unit along y from the centre
  const auto angle = [&](int32_t v) { return std::atan2(at(other, v).z, at(other, v).x); };
  const float start = std::atan2(-1.0f, -1.0f), tenDegrees = 10 * float(kDegreesToRadians);
  EXPECT_NEAR(start - tenDegrees, angle(2), 1e-4f); // y = +1 (rotation about +y: x toward -z)
  EXPECT_NEAR(start + tenDegrees, angle(0), 1e-4f); // y = -1 turns the other way
}

TEST_F(TransformSetups, FlattenAxisPutsSelectedVerticesOnOnePlane) {
  const int32_t slot = add(cubeMesh());
  select(moVERTICES, {{0, slot}, {2, slot}, {7, slot}});
  ASSERT_TRUE(Flatten(scene, false, {0, 1, 0}));
  const float y = (-1 + 1 + 1) / 3.0f;
  for (int32_t v : {0, 2, 7})
    EXPECT_NEAR(y, at(slot, v).y, 1e-5f);
  EXPECT_EQ(-1.0f, at(slot, 1).y);
}

TEST_F(TransformSetups, FlattenNormalLevelsABentRegionOntoItsAveragePlane) {
  const int32_t slot = add(cubeMesh());
  select(moFACES, {{0, slot}, {2, slot}});
  ASSERT_TRUE(Flatten(scene, true, {}));
  const moVec3 n = unit({1, 1, 0});
  const float level = dot(at(slot, 5), n);
  for (int32_t v : {1, 3, 6, 7, 2})
    EXPECT_NEAR(level, dot(at(slot, v), n), 1e-5f);
}

TEST_F(TransformSetups, FlattenRefusesEdgesMode) {
  const int32_t slot = add(cubeMesh());
  select(moEDGES, {{0, slot}});
  EXPECT_FALSE(Flatten(scene, false, {1, 0, 0}));
}

TEST_F(TransformSetups, HiddenObjectsLeaveTheSelectionAndStayPut) {
  const int32_t a = add(cubeMesh()), b = add(cubeMesh());
  scene.SetObjectVisible(b, false);
  select(moOBJECTS, {{a, a}, {b, b}});
  ASSERT_TRUE(Move(scene, false));
  translateSelection(scene, {1, 0, 0});
  EXPECT_EQ(1, scene.selection.Count());
  EXPECT_EQ(2.0f, at(a, 7).x);
  EXPECT_EQ(1.0f, at(b, 7).x);
}
