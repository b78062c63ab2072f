#include "core/face_triangulation.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

namespace {

// Every paint triangle turns counter-clockwise seen from outside its face (or is flat), and the
// triangles of one face are consecutive.
void expectOrderedAndOutward(const moObject &obj) {
  int32_t lastFace = -1;
  std::vector<uint8_t> seen(size_t(obj.faces.count()), 0);
  for (int32_t t = 0; t < obj.triangleFaces.count(); ++t) {
    const int32_t f = obj.triangleFaces[t];
    if (f != lastFace) {
      EXPECT_FALSE(seen[size_t(f)]) << "face " << f << " split up";
      seen[size_t(f)] = 1;
      lastFace = f;
    }
    const moVec3 &a = obj.vertices[obj.triangleVertices[3 * t]].Coordinates;
    const moVec3 &b = obj.vertices[obj.triangleVertices[3 * t + 1]].Coordinates;
    const moVec3 &c = obj.vertices[obj.triangleVertices[3 * t + 2]].Coordinates;
    EXPECT_GE(dot(cross(subtract(b, a), subtract(c, a)), obj.faceNormal(f, false)), 0);
  }
}

TEST(PaintTriangles, EveryFaceSplitsInOrderFacingOutward) {
  moObject cube = makeObject(cubeMesh());
  triangulateFaces(cube, kTriangulateDelaunay);
  EXPECT_EQ(cube.triangleFaces.count(), 12);
  EXPECT_EQ(cube.triangleVertices.count(), 36);
  expectOrderedAndOutward(cube);

  moObject torus = makeObject(torusMesh(6, 12, 3)); // faces of 8 corners
  triangulateFaces(torus, kTriangulateDelaunay);
  EXPECT_EQ(torus.triangleFaces.count(), torus.faces.count() * 6);
  expectOrderedAndOutward(torus);
}

TEST(PaintTriangles, FacesTheTriangulationRefusesBecomeFans) {
  // A two-faced lamina on a line: no polygon to triangulate, so each face fans out.
  PolygonMesh line;
  for (int32_t i = 0; i < 5; ++i)
    line.points.push_back({float(i), 0, 0});
  line.faces = {{0, 1, 2, 3, 4}, {4, 3, 2, 1, 0}};
  moObject obj = makeObject(line);
  triangulateFaces(obj, kTriangulateDelaunay);
  ASSERT_EQ(obj.triangleFaces.count(), 6);
  for (int32_t v : obj.triangleVertices)
    EXPECT_TRUE(obj.vertices.contains(v));

  moObject empty;
  triangulateFaces(empty, kTriangulateDelaunay);
  EXPECT_EQ(empty.triangleFaces.count(), 0);
}

} // namespace
