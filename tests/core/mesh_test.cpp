#include "core/mesh.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

const moColor kRed{255, 0, 0, 255};
const moColor kBlue{0, 0, 255, 255};

// Cube face 4 is the top (z = +1) with corners 4, 6, 7, 5 clockwise seen from above.
constexpr int32_t kTop = 4;
const PolygonMesh kCube = cubeMesh();

std::vector<int32_t> rotatedToStart(std::vector<int32_t> ring, int32_t first) {
  std::rotate(ring.begin(), std::find(ring.begin(), ring.end(), first), ring.end());
  return ring;
}

TEST(MeshCube, EveryEdgeHasTwoFacesAndFacesWalkClockwise) {
  moObject cube = makeObject(cubeMesh());
  EXPECT_EQ(cube.vertices.count(), 8);
  EXPECT_EQ(cube.edges.count(), 12);
  EXPECT_EQ(cube.faces.count(), 6);
  EXPECT_EQ(wingProblem(cube), "");
  const PolygonMesh mesh = cubeMesh();
  std::vector<int32_t> corners;
  for (int32_t f = 0; f < 6; ++f) {
    ASSERT_EQ(cube.faceVertices(f, corners), 4);
    EXPECT_EQ(rotatedToStart(corners, mesh.faces[f][0]), mesh.faces[f]) << "face " << f;
    // The reverse walk visits the same corners the other way round.
    std::vector<int32_t> back;
    cube.faceVertices(f, back, true);
    std::reverse(back.begin(), back.end());
    EXPECT_EQ(rotatedToStart(back, mesh.faces[f][0]), mesh.faces[f]) << "face " << f;
  }
  const moVec3 n = cube.faceNormal(kTop, true);
  EXPECT_FLOAT_EQ(n.x, 0);
  EXPECT_FLOAT_EQ(n.y, 0);
  EXPECT_FLOAT_EQ(n.z, 1);
  EXPECT_FLOAT_EQ(cube.faceNormal(kTop, false).z, 8.0f); // twice the area
}

TEST(MeshCube, TraversalQueriesAreMutuallyConsistent) {
  moObject cube = makeObject(cubeMesh());
  for (int32_t e = 0; e < cube.edges.count(); ++e) {
    const moEdge &d = cube.edges[e];
    for (int32_t f : {d.LeftFace, d.RightFace}) {
      EXPECT_EQ(cube.prevEdgeOfFace(cube.nextEdgeOfFace(e, f), f), e);
      EXPECT_EQ(cube.startVertex(cube.nextEdgeOfFace(e, f), f), cube.endVertex(e, f));
      EXPECT_EQ(cube.otherFace(e, f), f == d.LeftFace ? d.RightFace : d.LeftFace);
    }
    for (int32_t v : {d.Head, d.Tail}) {
      EXPECT_EQ(cube.prevEdgeAtVertex(cube.nextEdgeAtVertex(e, v), v), e);
      EXPECT_EQ(cube.otherVertex(e, cube.otherVertex(e, v)), v);
      EXPECT_EQ(cube.edgeOfFaceEndingAt(cube.faceOfCorner(e, v), v), e);
    }
    EXPECT_FALSE(cube.leftFaceIsTriangle(e));
    EXPECT_FALSE(cube.rightFaceIsTriangle(e));
  }
  for (int32_t v = 0; v < 8; ++v) {
    int32_t ring = 0;
    cube.forEachEdgeAtVertex(v, [&](int32_t) { ++ring; });
    EXPECT_EQ(ring, 3);
  }
  EXPECT_EQ(cube.commonVertex(cube.findEdge(4, 6), cube.findEdge(6, 7)), 6);
  EXPECT_EQ(cube.commonVertex(cube.findEdge(4, 6), cube.findEdge(1, 3)), -1);
  EXPECT_TRUE(cube.facesShareVertex(0, 2));
  EXPECT_FALSE(cube.facesShareVertex(0, 1));
  EXPECT_EQ(cube.sharedEdgeCount(0, 2), 1);
  EXPECT_FALSE(cube.isSingleNeighbour(0));
}

TEST(MeshCube, QueriesAboutForeignElementsRaiseOrReturnNone) {
  moObject cube = makeObject(cubeMesh());
  const int32_t e = cube.findEdge(4, 6);
  const int32_t foreignFace = 0; // the +x face does not touch edge 4-6
  EXPECT_THROW(cube.nextEdgeOfFace(e, foreignFace), moInvalidTopologyException);
  EXPECT_THROW(cube.prevEdgeOfFace(e, foreignFace), moInvalidTopologyException);
  EXPECT_THROW(cube.nextEdgeAtVertex(e, 1), moInvalidTopologyException);
  EXPECT_EQ(cube.nextEdgeAtVertex(e, 1, true), -1);
  EXPECT_EQ(cube.prevEdgeAtVertex(e, 1, true), -1);
  EXPECT_EQ(cube.nextEdgeOfFace(e, -1), -1);
  EXPECT_EQ(cube.nextEdgeAtVertex(-1, 3), cube.vertices[3].EdgeIndex);
  EXPECT_EQ(cube.otherVertex(e, 1), -1);
  EXPECT_EQ(cube.startVertex(e, foreignFace), -1);
  EXPECT_THROW(cube.cornerColorAt(1, kTop), moInvalidTopologyException);
  EXPECT_THROW(cube.leftFaceIsTriangle(-1), moInvalidTopologyException);
  EXPECT_THROW(cube.nextEdgeOfFace(99, 0), moInvalidTopologyException);
  EXPECT_EQ(std::string(moInvalidTopologyException().what()), "invalid topology");
}

TEST(MeshFindEdge, FindsEitherDirectionLowestActiveOnly) {
  moObject cube = makeObject(cubeMesh());
  const int32_t e = cube.findEdge(4, 6);
  ASSERT_NE(e, -1);
  EXPECT_EQ(cube.findEdge(6, 4), e);
  EXPECT_EQ(cube.findEdge(4, 7), -1); // diagonal of the top face
  // A second edge joining the same vertices is found only once the first is gone.
  const int32_t twin = cube.appendEdge();
  cube.edges[twin].Tail = 6;
  cube.edges[twin].Head = 4;
  EXPECT_EQ(cube.findEdge(4, 6), e);
  cube.edges[e].Head = -1;
  EXPECT_EQ(cube.findEdge(4, 6), twin);
  EXPECT_EQ(cube.findEdgeLinear(6, 4), twin);
}

TEST(MeshLimits, FaceSlotLimitCountsInactiveSlotsUntilCompaction) {
  moObject obj;
  for (int32_t i = 0; i < kMaxFaceSlots; ++i)
    obj.appendFace();
  try {
    obj.appendFace();
    FAIL() << "a 32769th face slot was allocated";
  } catch (const moTooManyElementsException &ex) {
    EXPECT_EQ(std::string(ex.what()), "That would exceed the maximum face count.");
  }
  EXPECT_EQ(obj.faces.count(), kMaxFaceSlots);
  obj.compact(); // all slots inactive: they disappear
  EXPECT_EQ(obj.faces.count(), 0);
  EXPECT_EQ(obj.appendFace(), 0);
  EXPECT_EQ(std::string(moTooManyVerticesException().what()), "too many vertices per object");
  EXPECT_EQ(std::string(moTooManyEdgesException().what()), "too many edges per object");
}

TEST(MeshArray, GrowsByQuantumThenDoublesKeepingIndices) {
  moArray<int32_t> a;
  EXPECT_EQ(a.capacity(), 0);
  a.append(10);
  EXPECT_EQ(a.capacity(), 4);
  for (int i = 1; i < 5; ++i)
    a.append(10 + i);
  EXPECT_EQ(a.capacity(), 8);
  EXPECT_EQ(a[4], 14);
  a.clear(false);
  EXPECT_EQ(a.capacity(), 8);
  a.reserve(3);
  EXPECT_EQ(a.count(), 0);
  EXPECT_EQ(a.capacity(), 3);
}

// Builds a cube surrounded by inactive slots: edge, vertex and face 0 and the last slot of each
// array are holes, so compaction must move elements from both ends.
moObject cubeWithHolesAtBothEnds() {
  moObject obj("holes");
  obj.appendEdge();
  obj.addVertex(9, 9, 9);
  obj.appendFace();
  appendPolygonMesh(obj, cubeMesh());
  obj.appendEdge();
  obj.addVertex(9, 9, 9);
  obj.appendFace();
  for (int32_t t = 0; t < 3; ++t) { // one paint triangle per face on three faces
    obj.triangleFaces.append(1 + t);
    obj.triangleVertices.append(8);
    obj.triangleVertices.append(1);
    obj.triangleVertices.append(2);
  }
  return obj;
}

TEST(MeshCompact, HighestActiveElementsFillLowestHoles) {
  moObject obj = cubeWithHolesAtBothEnds();
  ASSERT_EQ(obj.edges.count(), 14);
  const moEdge highest = obj.edges[12];
  const moVec3 highestVertex = obj.vertices[8].Coordinates;
  obj.compact();
  EXPECT_EQ(obj.edges.count(), 12);
  EXPECT_EQ(obj.vertices.count(), 8);
  EXPECT_EQ(obj.faces.count(), 6);
  EXPECT_EQ(wingProblem(obj), "");
  // Edge 12 moved into slot 0 and vertex 8 into slot 0; face 6 into face slot 0.
  EXPECT_TRUE(equals(obj.vertices[0].Coordinates, highestVertex));
  EXPECT_EQ(obj.edges[0].Head, highest.Head == 8 ? 0 : highest.Head);
  EXPECT_EQ(obj.edges[0].LeftFace, highest.LeftFace == 6 ? 0 : highest.LeftFace);
  EXPECT_EQ(obj.triangleVertices[0], 0);
  EXPECT_EQ(obj.triangleVertices[1], 1);
  EXPECT_EQ(obj.triangleFaces[0], 1);
  // The shape survived: every face is still a quad with an outward unit normal.
  for (int32_t f = 0; f < 6; ++f) {
    std::vector<int32_t> corners;
    EXPECT_EQ(obj.faceVertices(f, corners), 4);
    EXPECT_GT(dot(obj.faceNormal(f, true), obj.faceCentroid(f)), 0.99f);
  }
}

TEST(MeshCompact, FollowsTheTwoPointerOrderExactly) {
  // Active pattern by slot: - A - B C - ; C fills slot 0, B fills slot 2.
  moObject obj;
  obj.addVertex(0, 0, 0);
  for (int32_t i = 0; i < 6; ++i)
    obj.appendEdge();
  for (int32_t slot : {1, 3, 4}) {
    obj.edges[slot].Head = 0;
    obj.edges[slot].Tail = 0;
    obj.edges[slot].hard = static_cast<uint8_t>(slot);
  }
  obj.compact();
  ASSERT_EQ(obj.edges.count(), 3);
  EXPECT_EQ(obj.edges[0].hard, 4);
  EXPECT_EQ(obj.edges[1].hard, 1);
  EXPECT_EQ(obj.edges[2].hard, 3);
}

TEST(MeshCompact, DenseObjectIsUnchanged) {
  moObject obj = makeObject(cubeMesh());
  const moObject before(obj);
  obj.compact();
  ASSERT_EQ(obj.edges.count(), before.edges.count());
  for (int32_t e = 0; e < obj.edges.count(); ++e) {
    EXPECT_EQ(obj.edges[e].Head, before.edges[e].Head);
    EXPECT_EQ(obj.edges[e].ForeWing, before.edges[e].ForeWing);
    EXPECT_EQ(obj.edges[e].ccwBackWing, before.edges[e].ccwBackWing);
  }
}

TEST(MeshColors, SettersReachExactlyTheirCorners) {
  moObject cube = makeObject(cubeMesh());
  cube.setFaceColor(kTop, kRed);
  for (int32_t v : {4, 6, 7, 5})
    EXPECT_EQ(cube.cornerColorAt(v, kTop), kRed);
  EXPECT_EQ(cube.cornerColorAt(4, 1), kWhite);

  cube = makeObject(cubeMesh());
  cube.setVertexColor(7, kBlue);
  int32_t blue = 0;
  for (int32_t f = 0; f < 6; ++f)
    for (int32_t v : kCube.faces[f])
      blue += cube.cornerColorAt(v, f) == kBlue ? 1 : 0;
  EXPECT_EQ(blue, 3);
  EXPECT_EQ(cube.cornerColorAt(7, kTop), kBlue);

  // An edge's colour covers both ends on both of its faces: four corners.
  cube = makeObject(cubeMesh());
  const int32_t e = cube.findEdge(6, 7);
  cube.setEdgeColor(e, kRed);
  int32_t red = 0;
  for (int32_t f = 0; f < 6; ++f)
    for (int32_t v : kCube.faces[f]) {
      const bool expected = (v == 6 || v == 7) && (f == kTop || f == 2);
      EXPECT_EQ(cube.cornerColorAt(v, f) == kRed, expected) << "corner " << v << " of " << f;
      red += expected ? 1 : 0;
    }
  EXPECT_EQ(red, 4);
  cube.setCornerColor(1, kTop, kBlue); // not a corner of the top: nothing happens
  EXPECT_EQ(cube.cornerColorAt(5, kTop), kWhite);
}

TEST(MeshColors, CopyFromWingsTakesTheNeighbouringCornersAcrossTheEdge) {
  moObject cube = makeObject(cubeMesh());
  const int32_t e = cube.findEdge(6, 7);
  const moEdge d = cube.edges[e];
  // The corners of e's faces at its ends on the far side of e come from the wings.
  cube.setCornerColor(d.Head, d.LeftFace, kRed);
  cube.setCornerColor(d.Tail, d.RightFace, kBlue);
  cube.copyCornerColorsFromWings(e);
  EXPECT_EQ(cube.cornerColorAt(d.Head, d.RightFace), kRed);
  EXPECT_EQ(cube.cornerColorAt(d.Tail, d.LeftFace), kBlue);
}

// Paints every corner a colour of its own so that moved colours show.
void paintCornersDistinctly(moObject &obj) {
  uint8_t k = 0;
  for (int32_t f = 0; f < obj.faces.count(); ++f) {
    std::vector<int32_t> corners;
    obj.faceVertices(f, corners);
    for (int32_t v : corners)
      obj.setCornerColor(v, f, {k++, uint8_t(f), uint8_t(v), 255});
  }
}

TEST(MeshOrientation, FlipKeepsEveryCornerColourAndReversesNormals) {
  moObject cube = makeObject(cubeMesh());
  paintCornersDistinctly(cube);
  const moObject before(cube);
  cube.flipOrientation();
  EXPECT_EQ(wingProblem(cube), "");
  for (int32_t f = 0; f < 6; ++f) {
    EXPECT_LT(dot(cube.faceNormal(f, true), cube.faceCentroid(f)), -0.99f);
    for (int32_t v : kCube.faces[f])
      EXPECT_EQ(cube.cornerColorAt(v, f), before.cornerColorAt(v, f));
  }
  cube.flipOrientation();
  for (int32_t e = 0; e < cube.edges.count(); ++e) {
    const moEdge &a = cube.edges[e], &b = before.edges[e];
    EXPECT_EQ(a.ForeWing, b.ForeWing);
    EXPECT_EQ(a.BackWing, b.BackWing);
    EXPECT_EQ(a.ccwForeWing, b.ccwForeWing);
    EXPECT_EQ(a.ccwBackWing, b.ccwBackWing);
    EXPECT_EQ(a.LeftFace, b.LeftFace);
    EXPECT_EQ(a.rightColor, b.rightColor);
    EXPECT_EQ(a.leftColor, b.leftColor);
  }
}

TEST(MeshOrientation, MirrorKeepsTheSurfaceClosedAndFacingOutward) {
  moObject torus = makeObject(torusMesh(8, 6));
  paintCornersDistinctly(torus);
  const moObject before(torus);
  torus.mirror({1, 0, 0}, {5, 0, 0}); // plane x = 5
  EXPECT_EQ(wingProblem(torus), "");
  for (int32_t f = 0; f < torus.faces.count(); ++f) {
    // Mirrored normal of the original face equals the new face's normal.
    moVec3 n = before.faceNormal(f, true);
    n.x = -n.x;
    const moVec3 m = torus.faceNormal(f, true);
    EXPECT_NEAR(dot(n, m), 1.0f, 1e-4f);
    std::vector<int32_t> corners;
    before.faceVertices(f, corners);
    for (int32_t v : corners)
      EXPECT_EQ(torus.cornerColorAt(v, f), before.cornerColorAt(v, f));
  }
  EXPECT_FLOAT_EQ(torus.vertices[0].Coordinates.x, 10.0f - before.vertices[0].Coordinates.x);
}

TEST(MeshDeleteComponent, MarksOnlyTheConnectedPartInactive) {
  moObject obj = makeObject(cubeMesh());
  PolygonMesh second = cubeMesh();
  for (moVec3 &p : second.points)
    p.x += 5;
  appendPolygonMesh(obj, second);
  obj.deleteComponent(15); // an edge of the second cube
  for (int32_t e = 0; e < 24; ++e)
    EXPECT_EQ(obj.edges[e].active(), e < 12);
  for (int32_t v = 0; v < 16; ++v)
    EXPECT_EQ(obj.vertices[v].active(), v < 8);
  for (int32_t f = 0; f < 12; ++f)
    EXPECT_EQ(obj.faces[f].active(), f < 6);
  obj.compact();
  EXPECT_EQ(obj.edges.count(), 12);
  EXPECT_EQ(wingProblem(obj), "");
}

TEST(MeshDeleteComponent, LongChainDoesNotExhaustTheStack) {
  moObject obj;
  obj.addVertex(0, 0, 0);
  const int32_t n = 300000;
  for (int32_t i = 0; i < n; ++i) {
    const int32_t e = obj.appendEdge();
    obj.edges[e].Head = obj.edges[e].Tail = 0;
    obj.edges[e].ForeWing = i + 1 < n ? i + 1 : -1;
  }
  obj.deleteComponent(0);
  EXPECT_FALSE(obj.edges[n - 1].active());
}

TEST(MeshGeometry, CubeMeasures) {
  moObject cube = makeObject(cubeMesh());
  const moVec3 c = cube.faceCentroid(kTop);
  EXPECT_TRUE(equals(c, {0, 0, 1}));
  moVec3 lo, hi;
  cube.faceBounds(kTop, lo, hi);
  EXPECT_TRUE(equals(lo, {-1, -1, 1}));
  EXPECT_TRUE(equals(hi, {1, 1, 1}));
  const int32_t e = cube.findEdge(6, 7); // top edge at y = +1
  EXPECT_FLOAT_EQ(cube.edgeSharpness(e), 0.5f);
  const moVec3 en = cube.edgeNormal(e, true);
  EXPECT_NEAR(en.y, 0.70710678f, 1e-6f);
  EXPECT_NEAR(en.z, 0.70710678f, 1e-6f);
  EXPECT_TRUE(equals(cube.edgeMidpoint(e), {0, 1, 1}));
  EXPECT_TRUE(equals(cube.edgeVector(e, 6), {2, 0, 0}));
  EXPECT_TRUE(equals(cube.vertexNeighbourCentroid(7), {1.0f / 3, 1.0f / 3, 1.0f / 3}));
  EXPECT_TRUE(equals(cube.objectCentroid(), {0, 0, 0}));
  EXPECT_EQ(cube.findVertexAt({1, 1, 1}), 7);
  EXPECT_EQ(cube.findVertexAt({1, 1, 0.5f}), -1);
  EXPECT_EQ(cube.nearestEdgeOfFace(kTop, {0.9f, 1.1f, 1}), e);
  EXPECT_TRUE(moObject::nearlyCollinear({0, 0, 0}, {1, 0, 0}, {-2, 0.001f, 0}, 1e-3f));
  EXPECT_FALSE(moObject::nearlyCollinear({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 1e-3f));
  cube.scaleFaceAbout(kTop, {0, 0, 1}, {0.5f, 0.5f, 1});
  EXPECT_TRUE(equals(cube.vertices[7].Coordinates, {0.5f, 0.5f, 1}));
  EXPECT_TRUE(equals(cube.vertices[3].Coordinates, {1, 1, -1}));
}

struct CountingLayer : PaintLayer {
  explicit CountingLayer(int *live) : live_(live) { ++*live_; }
  ~CountingLayer() override { --*live_; }
  std::unique_ptr<PaintLayer> clone() const override {
    return std::make_unique<CountingLayer>(live_);
  }
  Kind kind() const override { return kAtlas; }
  void cornerTexCoords(const moObject &, int32_t, float uv[6]) const override {
    std::fill(uv, uv + 6, 0.0f);
  }
  int *live_;
};

TEST(MeshCopy, DeepCopiesElementsAndClonesPaint) {
  int live = 0;
  {
    moObject cube = makeObject(cubeMesh());
    cube.paintLayer = std::make_unique<CountingLayer>(&live);
    cube.edges[3].Head = -1; // inactive slots are copied too
    moObject copy(cube, "copy");
    EXPECT_EQ(copy.name, "copy");
    EXPECT_EQ(live, 2);
    EXPECT_EQ(copy.edges.count(), 12);
    EXPECT_FALSE(copy.edges[3].active());
    copy.vertices[0].Coordinates.x = 42;
    EXPECT_EQ(cube.vertices[0].Coordinates.x, -1);
    moObject third(copy);
    EXPECT_EQ(third.name, "copy");
    third = cube;
    EXPECT_EQ(live, 3);
  }
  EXPECT_EQ(live, 0);
  EXPECT_EQ(moObject().name, "unnamed_object");
  moObject named("box");
  named.appendToName("3");
  EXPECT_EQ(named.name, "box3");
}

} // namespace
