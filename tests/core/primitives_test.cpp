#include "core/mesh_validation.h"
#include "core/primitives.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
  PrimitiveType type;
  const char *name;
  int32_t vertices, edges, faces;
};

const Expected kShapes[] = {
    {PrimitiveType::Tetrahedron, "tetrahederon", 4, 6, 4},
    {PrimitiveType::Octahedron, "octahedron", 6, 12, 8},
    {PrimitiveType::Dodecahedron, "dodecahedron", 20, 30, 12},
    {PrimitiveType::Icosahedron, "icosahedron", 12, 30, 20},
    {PrimitiveType::Cube, "cube", 8, 12, 6},
    {PrimitiveType::Box, "box", 8, 12, 6},
    {PrimitiveType::Cylinder, "cylinder", 32, 48, 18},
    {PrimitiveType::Cone, "cone", 17, 32, 17},
    {PrimitiveType::Sphere, "sphere", 264, 504, 242},
    {PrimitiveType::Ellipsoid, "ellipsoid", 42, 120, 80},
    {PrimitiveType::Torus, "torus", 128, 256, 128},
    {PrimitiveType::Grid, "grid", 125, 228, 105},
};

// Six times the enclosed volume by the divergence theorem: positive only when every face of the
// closed surface faces outward.
double signedVolume(const moObject &obj) {
  double v = 0;
  for (int32_t f = 0; f < obj.faces.count(); ++f)
    v += dot(obj.faceCentroid(f), obj.faceNormal(f, false));
  return v;
}

int32_t sides(const moObject &obj, int32_t f) {
  std::vector<int32_t> corners;
  return obj.faceVertices(f, corners);
}

TEST(Primitives, EveryShapeIsClosedValidOutwardAndCountedAsExpected) {
  for (const Expected &s : kShapes) {
    SCOPED_TRACE(s.name);
    const moObject obj = makePrimitive(s.type);
    EXPECT_EQ(obj.name, s.name);
    EXPECT_EQ(obj.vertices.count(), s.vertices);
    EXPECT_EQ(obj.edges.count(), s.edges);
    EXPECT_EQ(obj.faces.count(), s.faces);
    EXPECT_TRUE(objectLocallyValid(obj, false));
    EXPECT_GT(signedVolume(obj), 0.0);
    for (int32_t f = 0; f < obj.faces.count(); ++f)
      EXPECT_GT(lengthSquared(obj.faceNormal(f, false)), 0.0f) << "face " << f;
  }
}

TEST(Primitives, CubeFaceZeroIsThePlusZFaceOverVerticesZeroToThree) {
  const moObject cube = makePrimitive(PrimitiveType::Cube);
  std::vector<int32_t> corners;
  cube.faceVertices(0, corners);
  EXPECT_EQ(corners, (std::vector<int32_t>{1, 2, 3, 0})); // the walk starts at edge 0->1's end
  const moVec3 n = cube.faceNormal(0, true);
  EXPECT_TRUE(equals(n, {0, 0, 1}));
  EXPECT_TRUE(equals(cube.vertices[2].Coordinates, {10, 10, 10}));
  // Edges are numbered as makeEdge creates them: face 0 makes 0->1, 1->2, 2->3, 3->0.
  EXPECT_EQ(cube.edges[1].Tail, 1);
  EXPECT_EQ(cube.edges[1].Head, 2);
  EXPECT_EQ(cube.findEdge(6, 1), 8); // faces 0 and 1 add four edges each, then face 2 adds 1-6
}

TEST(Primitives, SphereEndsAreTwentyFourSidedRingsWithoutPoles) {
  const moObject sphere = makePrimitive(PrimitiveType::Sphere);
  EXPECT_EQ(sides(sphere, 0), 24);
  EXPECT_EQ(sides(sphere, 241), 24);
  EXPECT_EQ(sides(sphere, 1), 4);
  EXPECT_GT(sphere.faceNormal(0, true).y, 0.999f);
  EXPECT_LT(sphere.faceNormal(241, true).y, -0.999f);
  // Ring 1 starts exactly on the x axis side, next to +y.
  const moVec3 &first = sphere.vertices[0].Coordinates;
  EXPECT_EQ(first.z, 0.0f);
  EXPECT_GT(first.y, 19.0f);
}

TEST(Primitives, GridHasHundredTopQuadsFourThirteenSidedSidesAndABottom) {
  const moObject grid = makePrimitive(PrimitiveType::Grid);
  for (int32_t f = 0; f < 100; ++f)
    EXPECT_EQ(sides(grid, f), 4);
  for (int32_t f = 100; f < 104; ++f)
    EXPECT_EQ(sides(grid, f), 13);
  EXPECT_EQ(sides(grid, 104), 4);
  EXPECT_GT(grid.faceNormal(0, true).y, 0.999f);
  EXPECT_LT(grid.faceNormal(104, true).y, -0.999f);
  EXPECT_TRUE(equals(grid.vertices[121].Coordinates, {-20, -1, -20}));
}

TEST(Primitives, CylinderWithoutTopRadiusIsTheCone) {
  moObject cylinder, cone;
  buildCylinder(cylinder, 0, 20, 40, 16, {1, 2, 3});
  buildCone(cone, 20, 40, 16, {1, 2, 3});
  EXPECT_EQ(meshDifference(cylinder, cone), "");
  // Without a bottom radius the apex points down.
  moObject down;
  buildCylinder(down, 20, 0, 40, 16, {0, 0, 0});
  EXPECT_FLOAT_EQ(down.vertices[0].Coordinates.y, -20);
  EXPECT_TRUE(objectLocallyValid(down, false));
  EXPECT_GT(signedVolume(down), 0.0);
}

TEST(Primitives, RingsStartExactlyAtAngleZeroAndStepBySums) {
  const moObject torus = makePrimitive(PrimitiveType::Torus);
  EXPECT_TRUE(equals(torus.vertices[0].Coordinates, {25, 0, 0}));
  const moObject cylinder = makePrimitive(PrimitiveType::Cylinder);
  EXPECT_TRUE(equals(cylinder.vertices[0].Coordinates, {20, 20, 0}));
  EXPECT_TRUE(equals(cylinder.vertices[1].Coordinates, {20, -20, 0}));
}

TEST(Primitives, EllipsoidSharesEdgePointsAndLiesOnTheSurface) {
  moObject ellipsoid;
  buildEllipsoid(ellipsoid, 2, {10, 15, 20});
  EXPECT_EQ(ellipsoid.vertices.count(), 162);
  EXPECT_EQ(ellipsoid.faces.count(), 320);
  EXPECT_TRUE(objectLocallyValid(ellipsoid, false));
  for (const moVertex &v : ellipsoid.vertices) {
    const moVec3 &p = v.Coordinates;
    EXPECT_NEAR(p.x * p.x / 100 + p.y * p.y / 225 + p.z * p.z / 400, 1.0, 1e-5);
  }
}

} // namespace
