#include "core/mesh_validation.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

const PolygonMesh kCube = cubeMesh();
const moColor kRed{255, 0, 0, 255};

moObject withPoints(const std::vector<moVec3> &points) {
  moObject obj;
  for (const moVec3 &p : points)
    obj.addVertex(p.x, p.y, p.z);
  return obj;
}

moObject cubeByMakeFace() {
  moObject obj = withPoints(kCube.points);
  for (const auto &f : kCube.faces)
    obj.makeFace(f[0], f[1], f[2], f[3]);
  return obj;
}

std::vector<int32_t> ringFrom(const moObject &obj, int32_t f, int32_t first) {
  std::vector<int32_t> ring;
  obj.faceVertices(f, ring);
  std::rotate(ring.begin(), std::find(ring.begin(), ring.end(), first), ring.end());
  return ring;
}

TEST(MakeFace, ReusesTheSharedEdgeOnTheOtherSide) {
  moObject obj = withPoints({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, -1, 0}, {1, -1, 0}});
  const int32_t a = obj.makeFace(1, 0, 4, 5); // makes edge 1->0 as its first edge
  const int32_t shared = obj.findEdge(1, 0);
  ASSERT_EQ(shared, 0);
  EXPECT_EQ(obj.edges[shared].Tail, 1);
  EXPECT_EQ(obj.edges[shared].RightFace, a);
  const int32_t b = obj.makeFace(0, 1, 2, 3);
  EXPECT_EQ(obj.edges.count(), 7);
  EXPECT_EQ(obj.edges[shared].LeftFace, b);
  EXPECT_EQ(obj.edges[shared].RightFace, a);
  EXPECT_EQ(obj.faces[b].EdgeIndex, shared);
  EXPECT_EQ(obj.nextEdgeOfFace(shared, b), obj.findEdge(1, 2));
  EXPECT_EQ(obj.prevEdgeOfFace(shared, b), obj.findEdge(3, 0));
}

TEST(MakeFace, CubeFaceByFaceIsValidAndWalksAsGiven) {
  moObject cube = cubeByMakeFace();
  EXPECT_EQ(cube.edges.count(), 12);
  EXPECT_TRUE(objectLocallyValid(cube, false));
  for (int32_t f = 0; f < 6; ++f)
    EXPECT_EQ(ringFrom(cube, f, kCube.faces[f][0]), kCube.faces[f]);
  // Edges are numbered in the order makeEdge creates them.
  EXPECT_EQ(cube.findEdge(1, 5), 0);
  EXPECT_EQ(cube.findEdge(3, 1), 3);
}

TEST(MakeFace, SlabBuiltFaceByFaceMatchesTheFixture) {
  const PolygonMesh slab = slabMesh(7, 5);
  moObject built = withPoints(slab.points);
  for (const auto &f : slab.faces)
    built.makeFace(f[0], f[1], f[2], f[3]);
  const moObject fixture = makeObject(slab);
  EXPECT_TRUE(objectLocallyValid(built, false));
  EXPECT_TRUE(objectLocallyValid(fixture, false));
  ASSERT_EQ(built.edges.count(), fixture.edges.count());
  for (int32_t f = 0; f < built.faces.count(); ++f) {
    EXPECT_EQ(ringFrom(built, f, slab.faces[f][0]), slab.faces[f]);
    EXPECT_GT(
        dot(built.faceNormal(f, true), subtract(built.faceCentroid(f), built.objectCentroid())),
        0.0f);
  }
}

TEST(MakeFace, TriangleTakesCornerColoursFromItsNeighbours) {
  // Closing the last face of a tetrahedron: its corners copy the colours of the corners across
  // its edges at the same vertices.
  moObject tet = withPoints({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}});
  tet.makeFace(0, 1, 2);
  tet.makeFace(0, 3, 1);
  tet.makeFace(1, 3, 2);
  tet.setFaceColor(0, kRed);
  tet.setFaceColor(1, kRed);
  tet.setFaceColor(2, kRed);
  const int32_t last = tet.makeFace(0, 2, 3);
  EXPECT_TRUE(objectLocallyValid(tet, false));
  for (int32_t v : {0, 2, 3})
    EXPECT_EQ(tet.cornerColorAt(v, last), kRed);
}

TEST(MakeFacePolygon, ReversedListGivesTheSameFaces) {
  moObject forward = withPoints(kCube.points);
  moObject backward = withPoints(kCube.points);
  for (const auto &f : kCube.faces) {
    forward.makeFacePolygon(f.data(), 4);
    std::vector<int32_t> reversed(f.rbegin(), f.rend());
    backward.makeFacePolygon(reversed.data(), 4, true);
  }
  EXPECT_TRUE(objectLocallyValid(forward, false));
  EXPECT_TRUE(objectLocallyValid(backward, false));
  for (int32_t f = 0; f < 6; ++f) {
    EXPECT_EQ(ringFrom(forward, f, kCube.faces[f][0]), kCube.faces[f]);
    EXPECT_EQ(ringFrom(backward, f, kCube.faces[f][0]), kCube.faces[f]);
  }
  // A reversed face names the edge from its last listed vertex back to the one before it.
  moObject tri = withPoints({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
  const int32_t f = tri.makeFacePolygon(nullptr, 3, true);
  EXPECT_EQ(tri.faces[f].EdgeIndex, tri.findEdge(2, 1));
  EXPECT_THROW(tri.makeFacePolygon(nullptr, 2), moInvalidTopologyException);
}

TEST(MakeFaceFromEdges, BuildsATetrahedronFromExistingEdges) {
  moObject tet = withPoints({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}});
  const int32_t e01 = tet.makeEdge(0, 1), e12 = tet.makeEdge(1, 2), e20 = tet.makeEdge(2, 0);
  const int32_t e03 = tet.makeEdge(0, 3), e31 = tet.makeEdge(3, 1), e32 = tet.makeEdge(3, 2);
  const int32_t faces[4][3] = {{e01, e12, e20}, {e03, e31, e01}, {e31, e32, e12}, {e20, e32, e03}};
  const int32_t starts[4][3] = {{0, 1, 2}, {0, 3, 1}, {-1, -1, -1}, {0, 2, -1}};
  for (int k = 0; k < 4; ++k)
    tet.makeFaceFromEdges(faces[k], k == 2 ? nullptr : starts[k], 3);
  EXPECT_EQ(tet.edges.count(), 6);
  EXPECT_TRUE(objectLocallyValid(tet, false));
  EXPECT_EQ(tet.makeEdge(1, 0), e01);
  EXPECT_EQ(tet.makeEdge(1, 0, true), 6);
}

TEST(MakeFace, FaceLimitLeavesTheNewEdgesUnlinked) {
  moObject obj = withPoints({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
  while (obj.faces.count() < kMaxFaceSlots)
    obj.appendFace();
  EXPECT_THROW(obj.makeFace(0, 1, 2), moTooManyFacesException);
  EXPECT_EQ(obj.edges.count(), 3);
  for (const moEdge &d : obj.edges)
    EXPECT_EQ(d.RightFace, -1);
}

TEST(TopologyEdits, RefuseEdgesThatDoNotHoldTheVertexOrFace) {
  moObject cube = cubeByMakeFace();
  const int32_t e = cube.findEdge(4, 6);
  EXPECT_THROW(cube.linkEdgeIntoFace(e, 1, -1, 0, -1), moInvalidTopologyException);
  EXPECT_THROW(cube.setWingAtVertex(-1, 4, 0, false), moInvalidTopologyException);
  EXPECT_THROW(cube.setWingAtVertex(e, 1, 0, false), moInvalidTopologyException);
  EXPECT_THROW(cube.setPrevWingOfFace(e, 0, 1), moInvalidTopologyException);
  EXPECT_THROW(cube.makeEdge(0, 99), moInvalidTopologyException);
  // A wing that does not touch the end it is set at cannot take a back-link.
  EXPECT_THROW(cube.setWingAtVertex(e, 4, cube.findEdge(3, 1), false), moInvalidTopologyException);
}

TEST(TopologyEdits, SetAllWingsRestoresBackLinks) {
  moObject cube = cubeByMakeFace();
  const int32_t e = cube.findEdge(6, 7);
  const moEdge d = cube.edges[e];
  for (int32_t w : {d.ForeWing, d.BackWing, d.ccwForeWing, d.ccwBackWing})
    for (int32_t *field : {&cube.edges[w].ForeWing, &cube.edges[w].BackWing,
                           &cube.edges[w].ccwForeWing, &cube.edges[w].ccwBackWing})
      if (*field == e)
        *field = -1;
  EXPECT_FALSE(objectLocallyValid(cube, false));
  cube.setAllWings(e, d.ForeWing, d.BackWing, d.ccwForeWing, d.ccwBackWing);
  EXPECT_TRUE(objectLocallyValid(cube, false));
  // A missing wing takes its partner at the same end.
  cube.setAllWings(e, -1, d.BackWing, d.ccwForeWing, d.ccwBackWing);
  EXPECT_EQ(cube.edges[e].ForeWing, d.ccwForeWing);
}

// Dissolves the edge between two faces the way an operation does: detach it, give the second
// face's edges to the first, drop the second face.
TEST(TopologyEdits, DetachEdgeMergesTheWingRingsOfItsFaces) {
  moObject cube = cubeByMakeFace();
  const int32_t e = cube.findEdge(6, 7);
  const int32_t keep = cube.edges[e].RightFace, gone = cube.edges[e].LeftFace;
  std::vector<int32_t> goneEdges;
  cube.faceEdges(gone, goneEdges);
  cube.detachEdge(e);
  for (int32_t g : goneEdges) {
    moEdge &d = cube.edges[g];
    (d.LeftFace == gone ? d.LeftFace : d.RightFace) = keep;
  }
  cube.deleteFace(gone);
  cube.repairFaceReference(keep, e, cube.edges[e].ForeWing, cube.edges[e].BackWing);
  EXPECT_FALSE(cube.edges[e].active());
  EXPECT_TRUE(objectLocallyValid(cube, false));
  std::vector<int32_t> ring;
  EXPECT_EQ(cube.faceVertices(keep, ring), 6);
  EXPECT_NE(cube.faces[keep].EdgeIndex, e);
}

TEST(TopologyEdits, SetEdgeVertexMovesTheOldVertexReferenceAndTheLookup) {
  moObject cube = cubeByMakeFace();
  const int32_t e = cube.findEdge(6, 7);
  const bool headIs7 = cube.edges[e].Head == 7;
  cube.vertices[7].EdgeIndex = e;
  cube.addVertex(2, 2, 2);
  cube.setEdgeVertex(e, headIs7, 8, -1, -1);
  EXPECT_NE(cube.vertices[7].EdgeIndex, e);
  EXPECT_NE(cube.vertices[7].EdgeIndex, -1);
  EXPECT_EQ(cube.findEdge(6, 7), -1);
  EXPECT_EQ(cube.findEdge(8, 6), e);
}

TEST(TopologyEdits, RepairFaceReferenceFallsBackAndFinallyDeactivates) {
  moObject cube = cubeByMakeFace();
  const int32_t f = 4;
  const int32_t removed = cube.faces[f].EdgeIndex;
  const int32_t next = cube.nextEdgeOfFace(removed, f);
  cube.edges[removed].Head = -1;
  cube.repairFaceReference(f, removed, -1, -1);
  EXPECT_EQ(cube.faces[f].EdgeIndex, next);
  moObject lone = cubeByMakeFace();
  std::vector<int32_t> ring;
  lone.faceEdges(f, ring);
  for (int32_t e : ring)
    lone.edges[e].Head = -1;
  lone.repairFaceReference(f, ring[0], -1, -1);
  EXPECT_FALSE(lone.faces[f].active());
}

TEST(CloseHoles, FillsAMissingFace) {
  moObject cube = cubeByMakeFace();
  std::vector<int32_t> ring;
  cube.faceEdges(4, ring);
  for (int32_t e : ring) {
    moEdge &d = cube.edges[e];
    (d.LeftFace == 4 ? d.LeftFace : d.RightFace) = -1;
  }
  cube.deleteFace(4);
  CaptureStderr();
  EXPECT_TRUE(cube.closeHoles());
  EXPECT_EQ(GetCapturedStderr(), "testing local validity of object\n");
  ASSERT_EQ(cube.faces.count(), 7);
  EXPECT_EQ(ringFrom(cube, 6, 4), kCube.faces[4]);
  EXPECT_NEAR(cube.faceNormal(6, true).z, 1.0f, 1e-6f);
}

TEST(CloseHoles, BrokenBoundaryRaisesInsteadOfLooping) {
  moObject obj = withPoints({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
  obj.makeFace(0, 1, 2); // a lone triangle: its back side is open but its wings end there
  for (moEdge &d : obj.edges)
    d.ccwForeWing = d.ccwBackWing = -1;
  CaptureStderr();
  EXPECT_THROW(obj.closeHoles(), moInvalidTopologyException);
  GetCapturedStderr();
}

TEST(BuildFromFaces, FiveFacesOfACubeCloseIntoACube) {
  moObject cube = cubeByMakeFace();
  cube.setFaceColor(4, kRed); // the face left out
  std::vector<int32_t> list{0, 1, 2, 3, 5};
  moObject part;
  CaptureStderr();
  part.buildFromFaces(list, cube);
  const std::string out = GetCapturedStderr();
  EXPECT_EQ(out.rfind("chipoff faces\n", 0), 0u);
  EXPECT_EQ(list, (std::vector<int32_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(part.vertices.count(), 8);
  EXPECT_EQ(part.edges.count(), 12);
  EXPECT_EQ(part.faces.count(), 6);
  EXPECT_TRUE(objectLocallyValid(part, false));
  std::vector<int32_t> corners;
  part.faceVertices(5, corners);
  ASSERT_EQ(corners.size(), 4u);
  for (int32_t v : corners)
    EXPECT_EQ(part.cornerColorAt(v, 5), kRed);
  EXPECT_NEAR(part.faceNormal(5, true).z, 1.0f, 1e-6f);
}

TEST(BuildFromFaces, TwoAdjacentFacesCloseWithOneSixSidedFace) {
  moObject cube = cubeByMakeFace();
  std::vector<int32_t> list{4, 2}; // top and +y share edge 6-7
  moObject part;
  CaptureStderr();
  part.buildFromFaces(list, cube);
  GetCapturedStderr();
  EXPECT_EQ(part.faces.count(), 3);
  EXPECT_EQ(part.edges.count(), 7);
  EXPECT_EQ(part.vertices.count(), 6);
  EXPECT_TRUE(objectLocallyValid(part, false));
  std::vector<int32_t> corners;
  EXPECT_EQ(part.faceVertices(2, corners), 6);
}

TEST(BuildFromFaces, RejectsRepeatedOrInactiveFaces) {
  moObject cube = cubeByMakeFace();
  moObject part;
  std::vector<int32_t> twice{1, 1};
  CaptureStderr();
  EXPECT_THROW(part.buildFromFaces(twice, cube), moInvalidTopologyException);
  cube.deleteFace(3);
  std::vector<int32_t> inactive{3};
  EXPECT_THROW(part.buildFromFaces(inactive, cube), moInvalidTopologyException);
  std::vector<int32_t> none;
  part.buildFromFaces(none, cube);
  GetCapturedStderr();
  EXPECT_EQ(part.edges.count() + part.vertices.count() + part.faces.count(), 0);
}

// The fast lookup must agree with the plain scan through every kind of change to the edges.
TEST(EdgeLookup, AgreesWithTheScanThroughRandomEdits) {
  std::mt19937 rng(7);
  moObject obj;
  for (int i = 0; i < 40; ++i)
    obj.addVertex(float(i), 0, 0);
  const auto vertex = [&] { return int32_t(rng() % 40); };
  for (int round = 0; round < 3000; ++round) {
    const unsigned op = rng() % 10;
    if (op < 4 || obj.edges.count() == 0) {
      int32_t a = vertex(), b = vertex();
      if (a != b)
        obj.makeEdge(a, b, rng() % 3 == 0);
    } else if (op < 6) {
      obj.edges[int32_t(rng() % obj.edges.count())].Head = -1;
    } else if (op < 8) {
      const int32_t e = int32_t(rng() % obj.edges.count());
      if (obj.edges[e].active())
        obj.setEdgeVertex(e, rng() % 2 == 0, vertex(), -1, -1);
    } else if (op == 8 && rng() % 20 == 0) {
      for (moVertex &v : obj.vertices) // keep every vertex slot through the compaction
        v.EdgeIndex = std::max(v.EdgeIndex, 0);
      obj.compact();
    }
    for (int q = 0; q < 5; ++q) {
      const int32_t a = vertex(), b = vertex();
      ASSERT_EQ(obj.findEdge(a, b), obj.findEdgeLinear(a, b)) << "round " << round;
    }
  }
}

} // namespace
