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

struct Counts {
  int32_t vertices = 0, edges = 0, faces = 0;
};

Counts activeCounts(const moObject &obj) {
  Counts c;
  for (const moVertex &v : obj.vertices)
    c.vertices += v.active();
  for (const moEdge &e : obj.edges)
    c.edges += e.active();
  for (const moFace &f : obj.faces)
    c.faces += f.active();
  return c;
}

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
  const Counts c = activeCounts(obj);
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
  const Counts c = activeCounts(obj);
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
  const Counts c = activeCounts(obj);
  EXPECT_EQ(c.vertices, 4); // 0-1 stitched, the far corners kept
  EXPECT_EQ(c.faces, 3);    // the two triangles and a quad closing the open seam
  EXPECT_GT(builder.stitchThreshold(), 0.0f);
  EXPECT_LT(builder.stitchThreshold(), 1e-5f);
}

} // namespace
