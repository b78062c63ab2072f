#include "core/primitives.h"
#include "layers/paint_layers.h"
#include "ops/combine_separate.h"
#include "ops/copy_objects.h"
#include "ops/flip_evert.h"
#include "ops/paint_conversion.h"
#include "ops/puff.h"
#include "ops/triangulate_faces.h"
#include "tests/ops/ops_fixture.h"

#include <cmath>

namespace {

using ObjectOpsTest = OpsTest;

TEST_F(ObjectOpsTest, CopyTwiceThenUndoRemovesOnlyTheSecondCopy) {
  scene.createPrimitive(PrimitiveType::Cube);
  scene.createPrimitive(PrimitiveType::Cone);
  scene.object(1)->visible = 0;
  selectObjects({0, 1});
  ASSERT_TRUE(copyObjects(scene));
  EXPECT_EQ(scene.object(2)->name, "copy2");
  EXPECT_EQ(meshDifference(*scene.object(2), *scene.object(0)), "");
  EXPECT_EQ(selected(), (std::vector<ElementRef>{{0, 0}})); // the hidden cone's entry is gone
  ASSERT_TRUE(copyObjects(scene));
  EXPECT_EQ(scene.object(3)->name, "copy3");
  scene.Undo(false);
  EXPECT_EQ(scene.objects.count(), 3);
  EXPECT_EQ(scene.object(2)->name, "copy2");
}

TEST_F(ObjectOpsTest, SeparateGivesBackWhatCombineJoined) {
  scene.createPrimitive(PrimitiveType::Cube);
  addObject(boxObject({30, 0, 0}, {40, 5, 5}));
  scene.createPrimitive(PrimitiveType::Torus);
  const auto parts = snapshot();
  selectObjects({0, 2, 1});
  ASSERT_TRUE(combineObjects(scene));
  ASSERT_EQ(scene.objects.count(), 1);
  EXPECT_EQ(validity(*scene.object(0)), "");
  EXPECT_EQ(scene.object(0)->faces.count(), 6 + 128 + 6);
  selectObjects({0});
  ASSERT_TRUE(separateObjects(scene));
  ASSERT_EQ(scene.objects.count(), 3);
  EXPECT_EQ(meshDifference(*scene.object(0), *parts[0]), "");
  // Pieces come in the order they were combined: the torus first, into the lowest free slot.
  EXPECT_EQ(scene.object(1)->name, "separate1");
  EXPECT_EQ(meshDifference(*scene.object(1), *parts[2]), "");
  EXPECT_EQ(scene.object(2)->name, "separate2");
  EXPECT_EQ(meshDifference(*scene.object(2), *parts[1]), "");
  EXPECT_TRUE(scene.selection.Empty());
}

TEST_F(ObjectOpsTest, CombinePastTheFaceLimitRestoresTheScene) {
  addObject(makeObject(slabMesh(90, 90)));
  addObject(moved(makeObject(slabMesh(90, 90)), {0, 0, 5}));
  const auto before = snapshot();
  selectObjects({0, 1});
  EXPECT_FALSE(combineObjects(scene));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"That would exceed the maximum face count."});
  EXPECT_EQ(differenceFrom(before), "");
}

TEST_F(ObjectOpsTest, FlipMirrorsAboutTheObjectCentreAndKeepsFacesOutward) {
  addObject(boxObject({10, 0, 0}, {40, 10, 10}));
  moObject &obj = *scene.object(0);
  obj.vertices[0].Coordinates.x = 12; // no longer symmetric
  const moVec3 centre = obj.objectCentroid();
  const moVec3 before = obj.vertices[0].Coordinates;
  selectObjects({0});
  ASSERT_TRUE(flipObjects(scene, 0));
  EXPECT_EQ(soundness(*scene.object(0)), "");
  EXPECT_FLOAT_EQ(scene.object(0)->vertices[0].Coordinates.x, 2 * centre.x - before.x);
  EXPECT_FLOAT_EQ(scene.object(0)->vertices[0].Coordinates.y, before.y);
  EXPECT_FALSE(flipObjects(scene, 7));
}

TEST_F(ObjectOpsTest, EvertTurnsTheSurfaceInsideOutAndBack) {
  scene.createPrimitive(PrimitiveType::Dodecahedron);
  const moObject original(*scene.object(0));
  selectObjects({0});
  ASSERT_TRUE(evertObjects(scene));
  EXPECT_EQ(validity(*scene.object(0)), "");
  EXPECT_NEAR(enclosedVolume(*scene.object(0)), -enclosedVolume(original), 1e-3);
  ASSERT_TRUE(evertObjects(scene));
  EXPECT_EQ(meshDifference(*scene.object(0), original), "");
}

TEST_F(ObjectOpsTest, PuffMovesEveryVertexOutward) {
  scene.createPrimitive(PrimitiveType::Cube);
  scene.createPrimitive(PrimitiveType::Tetrahedron);
  selectObjects({0, 1});
  ASSERT_TRUE(puffObjects(scene));
  EXPECT_EQ(scene.elementVectors.size(), 8u + 4u);
  const double volumes[] = {enclosedVolume(*scene.object(0)), enclosedVolume(*scene.object(1))};
  puffStep(scene, 1);
  // A cube corner has three edges, each adding its two face normals: the vector is 2 along each
  // axis, and the step a third of it.
  EXPECT_FLOAT_EQ(std::abs(scene.object(0)->vertices[0].Coordinates.x), 10 + 2.0f / 3);
  EXPECT_GT(enclosedVolume(*scene.object(0)), volumes[0]);
  EXPECT_GT(enclosedVolume(*scene.object(1)), volumes[1]);
  selectObjects({0});
  puffStep(scene, 1); // vectors set up for another selection: nothing moves
  EXPECT_FLOAT_EQ(std::abs(scene.object(0)->vertices[0].Coordinates.x), 10 + 2.0f / 3);
}

TEST_F(ObjectOpsTest, PaintBecomesCornerColoursOrIsDropped) {
  for (int i = 0; i < 2; ++i) {
    scene.createPrimitive(PrimitiveType::Cube);
    moObject &obj = *scene.object(i);
    ASSERT_TRUE(triangulateFaces(obj, kTriangulateFan));
    obj.paintLayer = makePaintLayer(PaintLayer::kPerVertex, 2, 2, obj.vertices.count());
    for (int32_t p = 0; p < 4; ++p)
      obj.paintLayer->image.pixels()[p] = packRgba(255, 0, 0);
  }
  selectObjects({0});
  ASSERT_TRUE(convertPaint(scene, true));
  selectObjects({1});
  ASSERT_TRUE(convertPaint(scene, false));
  for (int i = 0; i < 2; ++i) {
    const moObject &obj = *scene.object(i);
    EXPECT_EQ(obj.paintLayer, nullptr);
    EXPECT_EQ(obj.triangleVertices.count(), 0);
    EXPECT_EQ(obj.triangleFaces.count(), 0);
    EXPECT_EQ(obj.cornerColorAt(0, obj.edges[obj.vertices[0].EdgeIndex].LeftFace),
              i == 0 ? (moColor{255, 0, 0, 255}) : kWhite);
  }
}

// An L-shaped prism whose top face's first corner sees part of the face from outside it, so a
// fan from there would overlap itself.
moObject lPrism() {
  PolygonMesh m;
  const float l[6][2] = {{2, 1}, {2, 0}, {0, 0}, {0, 2}, {1, 2}, {1, 1}};
  for (float z : {0.0f, 1.0f})
    for (const auto &p : l)
      m.points.push_back({p[0], p[1], z});
  m.faces = {{6, 7, 8, 9, 10, 11}, {5, 4, 3, 2, 1, 0}};
  for (int32_t a = 0; a < 6; ++a)
    m.faces.push_back({(a + 1) % 6 + 6, a + 6, a, (a + 1) % 6});
  return makeObject(m);
}

TEST_F(ObjectOpsTest, TriangulationCoversEachFaceOnceFacingOutward) {
  moObject obj = lPrism();
  ASSERT_EQ(validity(obj), "");
  for (int32_t method : {kTriangulateFan, kTriangulateDelaunay}) {
    ASSERT_TRUE(Triangulate(obj, method, ui));
    ASSERT_EQ(obj.triangleFaces.count(), 2 * 4 + 6 * 2);
    std::vector<double> area(size_t(obj.faces.count()), 0);
    for (int32_t t = 0; t < obj.triangleFaces.count(); ++t) {
      const int32_t f = obj.triangleFaces[t];
      const moVec3 &a = obj.vertices[obj.triangleVertices[3 * t]].Coordinates;
      const moVec3 &b = obj.vertices[obj.triangleVertices[3 * t + 1]].Coordinates;
      const moVec3 &c = obj.vertices[obj.triangleVertices[3 * t + 2]].Coordinates;
      const moVec3 outward = cross(subtract(b, a), subtract(c, a)); // counter-clockwise
      area[f] += length(outward) / 2;
      if (method == kTriangulateDelaunay) {
        EXPECT_GT(dot(outward, obj.faceNormal(f, false)), 0) << t;
      }
    }
    // The L has area 3; the fan from its first corner overlaps itself and covers more.
    EXPECT_EQ(std::abs(area[0] - 3) < 1e-5, method == kTriangulateDelaunay);
  }
  ui.messages.clear();
  EXPECT_FALSE(Triangulate(obj, 1, ui));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Triangulation method not implemented yet"});
  EXPECT_EQ(obj.triangleFaces.count(), 20);
}

} // namespace
