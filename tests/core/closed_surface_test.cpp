#include "core/closed_surface.h"
#include "core/mesh_builder.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <sstream>

namespace {

struct Polygons {
  std::vector<moVec3> positions;
  std::vector<int32_t> corners, starts{0};
};

Polygons polygonsOf(const PolygonMesh &mesh) {
  Polygons p;
  p.positions = mesh.points;
  for (const auto &face : mesh.faces) {
    p.corners.insert(p.corners.end(), face.begin(), face.end());
    p.starts.push_back(int32_t(p.corners.size()));
  }
  return p;
}

// The same surface with its vertices renumbered, its faces in another order and each face
// starting at another corner.
PolygonMesh shuffled(PolygonMesh mesh, std::mt19937 &random) {
  std::vector<int32_t> number(mesh.points.size());
  std::iota(number.begin(), number.end(), 0);
  std::shuffle(number.begin(), number.end(), random);
  std::vector<moVec3> points(mesh.points.size());
  for (size_t v = 0; v < number.size(); ++v)
    points[size_t(number[v])] = mesh.points[v];
  mesh.points = points;
  for (auto &face : mesh.faces) {
    for (int32_t &v : face)
      v = number[size_t(v)];
    std::rotate(face.begin(), face.begin() + random() % face.size(), face.end());
  }
  std::shuffle(mesh.faces.begin(), mesh.faces.end(), random);
  return mesh;
}

// What MeshBuilder makes of the polygons, or an empty object.
moObject built(const Polygons &p) {
  std::ostringstream quiet;
  MeshBuilder builder(quiet);
  for (const moVec3 &v : p.positions)
    builder.addVertex(v.x, v.y, v.z);
  for (size_t k = 0; k + 1 < p.starts.size(); ++k)
    builder.addPolygon(p.corners.data() + p.starts[k], p.starts[k + 1] - p.starts[k], false);
  moObject obj;
  if (!builder.fix() || !builder.convertInto(obj))
    obj.clear(true);
  return obj;
}

TEST(ClosedSurface, GivesExactlyTheBuildersObject) {
  std::mt19937 random(7);
  const PolygonMesh meshes[] = {cubeMesh(), torusMesh(8, 12), torusMesh(6, 12, 3), slabMesh(5, 4)};
  for (const PolygonMesh &mesh : meshes)
    for (int variant = 0; variant < 4; ++variant) {
      PolygonMesh m = variant == 0 ? mesh : shuffled(mesh, random);
      if (variant == 3) // the other orientation
        for (auto &face : m.faces)
          std::reverse(face.begin(), face.end());
      const Polygons p = polygonsOf(m);
      moObject direct;
      ASSERT_TRUE(buildClosedSurface(p.positions, p.corners, p.starts, direct));
      const moObject expected = built(p);
      ASSERT_GT(expected.faces.count(), 0);
      EXPECT_EQ(meshDifference(direct, expected), "") << "variant " << variant;
      EXPECT_EQ(direct.edges.capacity(), expected.edges.capacity());
    }
}

TEST(ClosedSurface, LeavesEverySurfaceThatNeedsRepairToTheBuilder) {
  PolygonMesh open = cubeMesh();
  open.faces.pop_back();
  PolygonMesh flipped = cubeMesh();
  std::reverse(flipped.faces[2].begin(), flipped.faces[2].end());
  // Two cubes sharing corner 7 of the first: the faces around it form two fans.
  PolygonMesh touching = cubeMesh();
  for (const moVec3 &p : cubeMesh().points)
    touching.points.push_back({p.x + 2, p.y + 2, p.z + 2});
  for (auto face : cubeMesh().faces) {
    for (int32_t &v : face)
      v = v == 0 ? 7 : v + 8;
    touching.faces.push_back(face);
  }
  // A third face on an edge of the cube.
  PolygonMesh fin = cubeMesh();
  fin.points.push_back({3, 3, 3});
  fin.faces.push_back({fin.faces[0][0], fin.faces[0][1], 8});
  // A face that passes a corner twice.
  PolygonMesh pinched = cubeMesh();
  pinched.faces[0].insert(pinched.faces[0].begin() + 2, pinched.faces[0][0]);
  const PolygonMesh tooMany = slabMesh(128, 128); // 33 280 faces, over an object's limit
  const PolygonMesh *const cases[] = {&open, &flipped, &touching, &fin, &pinched, &tooMany};
  for (const PolygonMesh *mesh : cases) {
    const Polygons p = polygonsOf(*mesh);
    moObject obj;
    EXPECT_FALSE(buildClosedSurface(p.positions, p.corners, p.starts, obj));
    EXPECT_EQ(obj.vertices.count() + obj.edges.count() + obj.faces.count(), 0);
  }
}

} // namespace
