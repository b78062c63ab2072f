#include "core/mesh_builder.h"
#include "core/mesh_validation.h"
#include "tests/support/mesh_fixtures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <vector>

namespace {

using testing::HasSubstr;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

// Runs fix and convertInto with the object's validity message kept off the test output.
bool fixAndConvert(MeshBuilder &builder, moObject &obj) {
  if (!builder.fix())
    return false;
  CaptureStderr();
  const bool ok = builder.convertInto(obj);
  GetCapturedStderr();
  return ok;
}

void addPoints(MeshBuilder &builder, const std::vector<moVec3> &points) {
  for (const moVec3 &p : points)
    builder.addVertex(p.x, p.y, p.z);
}

void addPolygon(MeshBuilder &builder, std::vector<int32_t> loop, bool forward = false) {
  builder.addPolygon(loop.data(), int32_t(loop.size()), forward);
}

// The corners of f starting at its lowest vertex index, clockwise seen from outside.
std::vector<int32_t> cornersFromLowest(const moObject &obj, int32_t f) {
  std::vector<int32_t> corners;
  obj.faceVertices(f, corners);
  std::rotate(corners.begin(), std::min_element(corners.begin(), corners.end()), corners.end());
  return corners;
}

// Every triangle corner its own vertex, as an STL file gives it.
void addSoup(MeshBuilder &builder, const PolygonMesh &mesh, moVec3 offset = {}) {
  for (const auto &face : mesh.faces)
    for (size_t k = 1; k + 1 < face.size(); ++k) {
      std::vector<int32_t> loop;
      for (size_t corner : {size_t(0), k, k + 1}) {
        const moVec3 &p = mesh.points[size_t(face[corner])];
        loop.push_back(builder.addVertex(p.x + offset.x, p.y + offset.y, p.z + offset.z));
      }
      addPolygon(builder, loop);
    }
}

// Every face's outward normal points away from the centre of a convex object.
bool facesPointOutward(const moObject &obj, const moVec3 &centre) {
  for (int32_t f = 0; f < obj.faces.count(); ++f)
    if (obj.faces[f].active() &&
        dot(obj.faceNormal(f, false), subtract(obj.faceCentroid(f), centre)) <= 0)
      return false;
  return true;
}

const std::vector<moVec3> kTriangle = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

TEST(MeshBuilderPolygons, RepeatedConsecutiveIndexIsSkipped) {
  std::ostringstream diag;
  MeshBuilder builder(diag);
  addPoints(builder, kTriangle);
  addPolygon(builder, {0, 1, 1, 2});
  ASSERT_EQ(builder.faceCount(), 1);
  EXPECT_EQ(builder.edgeCount(), 3);
  // The builder loop runs against the given order.
  EXPECT_EQ(builder.face(0).vertices, (std::vector<int32_t>{2, 1, 0}));
  addPolygon(builder, {0, 2, 3, 0}, true); // a closing repeat of the first index
  EXPECT_EQ(builder.face(1).vertices, (std::vector<int32_t>{2, 3, 0}));
  EXPECT_TRUE(builder.builderValid());
  EXPECT_EQ(diag.str(), "");
}

TEST(MeshBuilderPolygons, EdgesAreSharedAndClassifiedBySide) {
  std::ostringstream diag;
  MeshBuilder builder(diag);
  addPoints(builder, kTriangle);
  addPolygon(builder, {0, 1, 2});
  addPolygon(builder, {0, 2, 3});
  addPolygon(builder, {0, 1, 3}); // passes 1 -> 0 and 0 -> 3 as the other two do
  EXPECT_EQ(builder.edgeCount(), 6);
  EXPECT_EQ(builder.classCount(1, 1), 1); // edge 0-2, passed both ways
  EXPECT_EQ(builder.classCount(2, 0), 2); // created by the first pass, the later ones agree
  EXPECT_EQ(builder.classCount(1, 0), 3); // the far sides
  EXPECT_EQ(builder.edge(builder.face(2).edges[0]).left, (std::vector<int32_t>{1, 2}));
}

TEST(MeshBuilderPolygons, CollapsedPolygonLeavesNothing) {
  std::ostringstream diag;
  MeshBuilder builder(diag);
  addPoints(builder, kTriangle);
  addPolygon(builder, {0, 1, 1, 0, 0});
  EXPECT_EQ(builder.faceCount(), 0);
  for (int32_t e = 0; e < builder.edgeCount(); ++e)
    EXPECT_FALSE(builder.edge(e).active());
  EXPECT_TRUE(builder.vertex(0).edges.empty());
  EXPECT_TRUE(builder.vertex(1).faces.empty());

  // Next to a real face the shared edge stays, with the real face only.
  addPolygon(builder, {0, 1, 2});
  addPolygon(builder, {1, 0, 1});
  ASSERT_EQ(builder.faceCount(), 1);
  const int32_t shared = builder.face(0).edges.back();
  EXPECT_EQ(builder.edge(shared).left.size() + builder.edge(shared).right.size(), 1u);
  EXPECT_TRUE(builder.builderValid());
}

TEST(MeshBuilderPolygons, AntennaPolygonIsDropped) {
  std::ostringstream diag;
  MeshBuilder builder(diag);
  addPoints(builder, kTriangle);
  addPolygon(builder, {0, 1, 2, 1}); // passes 1-2 there and back
  EXPECT_EQ(builder.faceCount(), 0);
  EXPECT_EQ(builder.vertex(1).edges.size(), 0u);
}

TEST(MeshBuilderPolygons, LoopPassingAnEdgeTwiceIsSplitInTwo) {
  std::ostringstream diag;
  MeshBuilder builder(diag);
  // A figure-eight: the loop passes 0 -> 1 twice, once in each lobe.
  addPoints(builder, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {1, -1, 0}, {0, -1, 0}});
  addPolygon(builder, {0, 1, 2, 3, 0, 1, 4, 5});
  ASSERT_EQ(builder.faceCount(), 2);
  for (int32_t f = 0; f < 2; ++f) {
    std::vector<int32_t> sorted = builder.face(f).edges;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "face " << f;
    EXPECT_EQ(builder.face(f).ids, (std::vector<int32_t>{0}));
  }
  EXPECT_TRUE(builder.builderValid()) << diag.str();
}

TEST(MeshBuilderPolygons, IndicesNeverAddedAreRefused) {
  std::ostringstream diag;
  MeshBuilder builder(diag);
  addPoints(builder, kTriangle);
  addPolygon(builder, {0, 1, 4});
  addPolygon(builder, {-1, 1, 2});
  EXPECT_EQ(builder.faceCount(), 0);
  EXPECT_EQ(builder.edgeCount(), 0);
  EXPECT_EQ(diag.str(), "polygon 0 names vertex 4 which was never added, polygon ignored\n"
                        "polygon 1 names vertex -1 which was never added, polygon ignored\n");
  addPolygon(builder, {0, 1});
  builder.addPolygon(nullptr, 3, false);
  EXPECT_EQ(builder.faceCount(), 0);
}

TEST(MeshBuilderFix, EmptyListFails) {
  std::ostringstream diag;
  MeshBuilder builder(diag);
  addPoints(builder, kTriangle);
  moObject obj;
  EXPECT_FALSE(builder.fix());
  EXPECT_FALSE(builder.convertInto(obj));
  EXPECT_EQ(diag.str(), "object has no faces, aborting\nobject has no faces, aborting\n");
}

TEST(MeshBuilderFix, SingleTriangleIsClosedByItsTwin) {
  std::ostringstream diag;
  MeshBuilder builder(diag);
  addPoints(builder, kTriangle);
  addPolygon(builder, {0, 1, 2});
  moObject obj;
  ASSERT_TRUE(fixAndConvert(builder, obj)) << diag.str();
  const ElementCounts c = countElements(obj);
  EXPECT_EQ(c.faces, 2);
  EXPECT_EQ(c.edges, 3);
  EXPECT_EQ(cornersFromLowest(obj, 0), (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(cornersFromLowest(obj, 1), (std::vector<int32_t>{0, 2, 1}));
  EXPECT_TRUE(objectLocallyValid(obj, false));
}

TEST(MeshBuilderFix, ForwardFlagReversesTheFace) {
  std::ostringstream diag;
  MeshBuilder builder(diag);
  addPoints(builder, kTriangle);
  addPolygon(builder, {0, 1, 2}, true);
  moObject obj;
  ASSERT_TRUE(fixAndConvert(builder, obj));
  EXPECT_EQ(cornersFromLowest(obj, 0), (std::vector<int32_t>{0, 2, 1}));
}

TEST(MeshBuilderFix, ClosedCubeConvertsUnchanged) {
  std::ostringstream diag;
  MeshBuilder builder(diag);
  const PolygonMesh cube = cubeMesh();
  addPoints(builder, cube.points);
  for (const auto &f : cube.faces)
    addPolygon(builder, f);
  moObject obj;
  ASSERT_TRUE(fixAndConvert(builder, obj)) << diag.str();
  EXPECT_EQ(obj.vertices.count(), 8);
  EXPECT_EQ(obj.edges.count(), 12);
  EXPECT_EQ(obj.faces.count(), 6);
  for (int32_t f = 0; f < 6; ++f)
    EXPECT_EQ(cornersFromLowest(obj, f),
              cornersFromLowest(makeObject(cube), f)); // same corners, same order
  EXPECT_TRUE(facesPointOutward(obj, {0, 0, 0}));
  EXPECT_EQ(diag.str(), "");
}

TEST(MeshBuilderFix, TwoTriangleSoupCubesAreStitched) {
  std::ostringstream diag;
  MeshBuilder builder(diag);
  addSoup(builder, cubeMesh());
  addSoup(builder, cubeMesh(), {5, 0, 0});
  EXPECT_EQ(builder.vertexCount(), 72);
  moObject obj;
  ASSERT_TRUE(fixAndConvert(builder, obj)) << diag.str();
  const ElementCounts c = countElements(obj);
  EXPECT_EQ(c.vertices, 16);
  EXPECT_EQ(c.edges, 36);
  EXPECT_EQ(c.faces, 24);
  obj.compact();
  EXPECT_TRUE(objectLocallyValid(obj, false));
  // Two components, each a closed cube facing outward.
  std::vector<int32_t> firstCube;
  for (int32_t f = 0; f < obj.faces.count(); ++f)
    if (obj.faceCentroid(f).x < 2.5f)
      firstCube.push_back(f);
  EXPECT_EQ(firstCube.size(), 12u);
  for (int32_t f = 0; f < obj.faces.count(); ++f) {
    const moVec3 centre = obj.faceCentroid(f).x < 2.5f ? moVec3{0, 0, 0} : moVec3{5, 0, 0};
    EXPECT_GT(dot(obj.faceNormal(f, false), subtract(obj.faceCentroid(f), centre)), 0);
  }
}

TEST(MeshBuilderFix, CornersFartherThanTheThresholdStayApart) {
  std::ostringstream diag;
  MeshBuilder builder(diag);
  // Two triangles that would form a pillow, one corner off by far more than the threshold.
  addPoints(builder,
            {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 0}, {1, 0, 0}, {0, 1.01f, 0}, {0, 0, 1}});
  addPolygon(builder, {0, 1, 2});
  addPolygon(builder, {5, 4, 3});
  moObject obj;
  ASSERT_TRUE(fixAndConvert(builder, obj)) << diag.str();
  const ElementCounts c = countElements(obj);
  EXPECT_EQ(c.vertices, 4); // 0-1 stitched, the far corners kept
  EXPECT_EQ(c.faces, 3);    // the two triangles and a quad closing the open seam
  EXPECT_GT(builder.stitchThreshold(), 0.0f);
  EXPECT_LT(builder.stitchThreshold(), 1e-5f);
}

TEST(MeshBuilderFix, PinchedPolygonIsReportedAndSeparatedAtTheVertex) {
  std::ostringstream diag;
  MeshBuilder builder(diag);
  // A bow tie through vertex 0: the polygon passes it twice.
  addPoints(builder, {{0, 0, 0}, {1, 1, 0}, {1, -1, 0}, {-1, -1, 0}, {-1, 1, 0}});
  addPolygon(builder, {0, 1, 2, 0, 3, 4});
  moObject obj;
  ASSERT_TRUE(fixAndConvert(builder, obj)) << diag.str();
  EXPECT_THAT(diag.str(), HasSubstr("FAIL: vertex 0 has 4 edges but only 1 faces\n"));
  const ElementCounts c = countElements(obj);
  EXPECT_EQ(c.faces, 2);
  EXPECT_EQ(c.edges, 6);
  EXPECT_EQ(c.vertices, 6); // the pinch became two vertices at the same place
}

TEST(MeshBuilderFix, CubesSharingAnEdgeAreSeparated) {
  std::ostringstream diag;
  MeshBuilder builder(diag);
  const PolygonMesh cube = cubeMesh();
  addPoints(builder, cube.points);
  for (const auto &f : cube.faces)
    addPolygon(builder, f);
  // A second cube beside the first, on the far side of the edge 3-7 (x = y = 1).
  std::vector<int32_t> second(8);
  for (int i = 0; i < 8; ++i) {
    const moVec3 &p = cube.points[size_t(i)];
    const int32_t shared = (i & 3) == 0 ? (i == 0 ? 3 : 7) : -1;
    second[size_t(i)] = shared != -1 ? shared : builder.addVertex(p.x + 2, p.y + 2, p.z);
  }
  for (const auto &f : cube.faces)
    addPolygon(builder, {second[size_t(f[0])], second[size_t(f[1])], second[size_t(f[2])],
                         second[size_t(f[3])]});
  EXPECT_EQ(builder.classCount(2, 2), 1);
  moObject obj;
  ASSERT_TRUE(fixAndConvert(builder, obj)) << diag.str();
  const ElementCounts c = countElements(obj);
  EXPECT_EQ(c.vertices, 16);
  EXPECT_EQ(c.edges, 24);
  EXPECT_EQ(c.faces, 12);
}

TEST(MeshBuilderFix, TwoEdgeHoleBecomesOneEdge) {
  std::ostringstream diag;
  MeshBuilder builder(diag);
  // An octahedron whose top corner is given twice (4 and 6, the same point): faces F1, F2 use
  // 4, F3, F4 use 6. A tiny far triangle, added between them, holds a boundary edge shorter than
  // the stitch threshold, so only the open edges made after it are stitched: the seam at -x
  // (F2, F3) closes and merges 6 into 4, while the seam at +x (F4, F1) is left as two edges
  // joining vertex 0 and vertex 4: a hole of two edges.
  addPoints(builder, {{1, 0, 0},
                      {0, 1, 0},
                      {-1, 0, 0},
                      {0, -1, 0},
                      {0, 0, 1},
                      {0, 0, -1},
                      {0, 0, 1},
                      {0, 0, 5},
                      {0.001f, 0, 5},
                      {0, 0.001f, 5}});
  for (const std::vector<int32_t> &bottom :
       {std::vector<int32_t>{0, 1, 5}, {1, 2, 5}, {2, 3, 5}, {3, 0, 5}})
    addPolygon(builder, bottom);
  addPolygon(builder, {0, 4, 1}); // F1
  addPolygon(builder, {3, 6, 0}); // F4
  addPolygon(builder, {7, 8, 9}); // tiny
  addPolygon(builder, {1, 4, 2}); // F2
  addPolygon(builder, {2, 6, 3}); // F3
  moObject obj;
  ASSERT_TRUE(fixAndConvert(builder, obj)) << diag.str();
  EXPECT_THAT(diag.str(), HasSubstr("shorter than stitch thresh"));
  const ElementCounts c = countElements(obj);
  EXPECT_EQ(c.faces, 8 + 2); // the octahedron and the tiny triangle closed by its twin
  EXPECT_EQ(c.edges, 12 + 3);
  EXPECT_EQ(c.vertices, 6 + 3);
  EXPECT_NE(obj.findEdge(0, 4), -1);
}

TEST(MeshBuilderBadInput, NonFiniteCoordinatesNeverStitch) {
  std::ostringstream diag;
  MeshBuilder builder(diag);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  // Two copies of a triangle facing each other; the copies of the NaN corner never match.
  addPoints(builder,
            {{0, 0, 0}, {1, 0, 0}, {nan, 0, 0}, {0, 0, 0}, {1, 0, 0}, {nan, 0, 0}, {inf, 0, 0}});
  addPolygon(builder, {0, 1, 2});
  addPolygon(builder, {5, 4, 3});
  addPolygon(builder, {6, 0, 1});
  moObject obj;
  ASSERT_TRUE(fixAndConvert(builder, obj)) << diag.str();
  EXPECT_TRUE(objectLocallyValid(obj, false));
  int32_t nanCorners = 0;
  for (const moVertex &v : obj.vertices)
    nanCorners += v.active() && std::isnan(v.Coordinates.x);
  EXPECT_EQ(nanCorners, 2);
}

TEST(MeshBuilderBadInput, ThousandFacesOnOneEdgeEndAsSeparatePillows) {
  std::ostringstream diag;
  MeshBuilder builder(diag);
  constexpr int32_t kFaces = 1000;
  builder.addVertex(0, 0, 0);
  builder.addVertex(1, 0, 0);
  for (int32_t k = 0; k < kFaces; ++k) {
    const float angle = float(k) * 6.2831853f / kFaces;
    const int32_t tip = builder.addVertex(0.5f, std::cos(angle), std::sin(angle));
    addPolygon(builder,
               k % 2 == 0 ? std::vector<int32_t>{0, 1, tip} : std::vector<int32_t>{1, 0, tip});
  }
  moObject obj;
  ASSERT_TRUE(fixAndConvert(builder, obj));
  const ElementCounts c = countElements(obj);
  EXPECT_EQ(c.faces, 2 * kFaces);
  EXPECT_EQ(c.edges, 3 * kFaces);
}

TEST(MeshBuilderBadInput, SpikesAndRepeatsGiveAValidObjectOrFailure) {
  // Loops that revisit corners in every pattern, over points that partly coincide.
  const std::vector<moVec3> points = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                      {1, 0, 0}, {0, 0, 1}, {0, 0, 0}};
  const std::vector<std::vector<int32_t>> loops = {
      {0, 1, 2, 3}, {0, 1, 2, 1, 0, 3}, {2, 3, 0, 2, 3, 5}, {4, 5, 6, 4, 5, 6},
      {3, 2, 1},    {6, 5, 4},          {1, 2, 3, 1, 2, 3}, {0, 5, 1, 0, 5, 2}};
  for (size_t first = 0; first < loops.size(); ++first) {
    std::ostringstream diag;
    MeshBuilder builder(diag);
    addPoints(builder, points);
    for (size_t k = 0; k < loops.size(); ++k)
      addPolygon(builder, loops[(first + k) % loops.size()], k % 3 == 0);
    moObject obj;
    if (fixAndConvert(builder, obj))
      EXPECT_TRUE(objectLocallyValid(obj, false)) << "starting with loop " << first;
    else
      EXPECT_NE(diag.str(), "");
  }
}

TEST(MeshBuilderBadInput, TooManyFacesForAnObjectFailsConversion) {
  std::ostringstream diag;
  MeshBuilder builder(diag);
  // Separate triangles, each closed by a twin: one face more than an object may hold.
  constexpr int32_t kTriangles = kMaxFaceSlots / 2 + 1;
  for (int32_t k = 0; k < kTriangles; ++k) {
    const float x = float(k % 200) * 2, y = float(k / 200) * 2;
    const int32_t a = builder.addVertex(x, y, 0);
    builder.addVertex(x + 1, y, 0);
    builder.addVertex(x, y + 1, 0);
    addPolygon(builder, {a, a + 1, a + 2});
  }
  ASSERT_TRUE(builder.fix());
  moObject obj;
  EXPECT_FALSE(builder.convertInto(obj));
  EXPECT_THAT(diag.str(), HasSubstr("That would exceed the maximum face count.\n"));
  EXPECT_EQ(obj.faces.count(), 0);
}

} // namespace

namespace {

TEST(MeshBuilderFix, ValidObjectConvertsWithoutValidityReport) {
  std::ostringstream diag;
  MeshBuilder builder(diag);
  addPoints(builder, kTriangle);
  addPolygon(builder, {0, 1, 2}); // closed with a second triangle
  ASSERT_TRUE(builder.fix());
  moObject obj;
  CaptureStderr();
  EXPECT_TRUE(builder.convertInto(obj));
  EXPECT_EQ(obj.faces.count(), 2);
  EXPECT_EQ(GetCapturedStderr(), ""); // the report is for objects that fail the test
  EXPECT_EQ(diag.str(), "");
}

TEST(MeshBuilderFix, ClearedBuilderBuildsLikeANewOne) {
  std::ostringstream diag;
  MeshBuilder used(diag);
  addPoints(used, kTriangle);
  addPolygon(used, {0, 1, 2});
  addPolygon(used, {0, 1, 1}); // a dropped polygon still takes its number
  ASSERT_TRUE(used.fix());
  used.clear();
  EXPECT_EQ(used.vertexCount(), 0);
  EXPECT_EQ(used.classCount(1, 1), 0);
  MeshBuilder fresh(diag);
  for (MeshBuilder *b : {&used, &fresh}) {
    addPoints(*b, kTriangle);
    addPolygon(*b, {0, 2, 3});
    ASSERT_TRUE(b->fix());
  }
  EXPECT_EQ(used.face(0).ids, fresh.face(0).ids);
  EXPECT_EQ(used.vertex(3).ids, fresh.vertex(3).ids);
  EXPECT_EQ(used.classCount(1, 1), fresh.classCount(1, 1));
  moObject a, b;
  ASSERT_TRUE(used.convertInto(a) && fresh.convertInto(b));
  EXPECT_EQ(a.edges.count(), b.edges.count());
  EXPECT_EQ(cornersFromLowest(a, 0), cornersFromLowest(b, 0));
}

} // namespace
