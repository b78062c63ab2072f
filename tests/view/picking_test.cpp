#include "tests/view/render_fixture.h"
#include "view/picking.h"
#include "view/projection.h"

#include <cmath>
#include <set>

namespace {

class PickTest : public RenderTest {
protected:
  // Hover at a window point given with y upward, as the tests compute positions.
  void hover(const moVec3 &window) {
    HoverPick(scene, view.renderer, view.camera, ui, int32_t(std::lround(window.x)),
              kHeight - int32_t(std::lround(window.y)));
  }
  moVec3 screenOf(int32_t slot, int32_t v) {
    return onScreen(scene.object(slot)->vertices[v].Coordinates);
  }
  // A face of the object turned toward the eye: clockwise on the screen.
  int32_t frontFace(int32_t slot) {
    const moObject &obj = *scene.object(slot);
    for (int32_t f = 0; f < obj.faces.count(); ++f) {
      std::vector<int32_t> corners;
      obj.faceVertices(f, corners);
      double area = 0;
      for (size_t k = 0; k < corners.size(); ++k) {
        const moVec3 a = screenOf(slot, corners[k]),
                     b = screenOf(slot, corners[(k + 1) % corners.size()]);
        area += double(a.x) * b.y - double(b.x) * a.y;
      }
      if (area < -1000)
        return f;
    }
    return -1;
  }
  void prepare() {
    SceneRenderer::InitGlState(view.camera);
    view.camera.ApplyProjection();
    view.renderer.RebuildLists(scene, true);
  }
};

TEST_F(PickTest, FreeHoverFindsFaceEdgeOrVertexByWhereThePointerIs) {
  const int32_t slot = scene.createPrimitive(PrimitiveType::Cube);
  prepare();
  const moObject &obj = *scene.object(slot);
  const int32_t f = frontFace(slot);
  ASSERT_NE(-1, f);
  hover(onScreen(obj.faceCentroid(f)));
  EXPECT_EQ(moFACES, view.renderer.hoverKind());
  EXPECT_EQ(f, view.renderer.hoverElement());
  EXPECT_EQ(slot, view.renderer.hoverObject());

  const int32_t e = obj.faces[f].EdgeIndex;
  hover(onScreen(obj.edgeMidpoint(e)));
  EXPECT_EQ(moEDGES, view.renderer.hoverKind());
  EXPECT_EQ(e, view.renderer.hoverElement());

  const int32_t v = obj.edges[e].Head;
  // A little inside the face from the corner, so the face under the pointer is f's side.
  const moVec3 corner = screenOf(slot, v), middle = onScreen(obj.faceCentroid(f));
  hover(add(corner, scale(0.08f, subtract(middle, corner))));
  EXPECT_EQ(moVERTICES, view.renderer.hoverKind());
  EXPECT_EQ(v, view.renderer.hoverElement());

  hover({2, 2, 0}); // the background
  EXPECT_EQ(-1, view.renderer.hoverObject());
  EXPECT_EQ(-1, view.renderer.hoverElement());
}

TEST_F(PickTest, VertexModeAlwaysGivesTheNearestCorner) {
  const int32_t slot = scene.createPrimitive(PrimitiveType::Cube);
  prepare();
  view.renderer.setPickKind(moVERTICES);
  const moObject &obj = *scene.object(slot);
  const int32_t f = frontFace(slot);
  const int32_t v = obj.edges[obj.faces[f].EdgeIndex].Head;
  const moVec3 corner = screenOf(slot, v), middle = onScreen(obj.faceCentroid(f));
  hover(add(corner, scale(0.45f, subtract(middle, corner)))); // far from every corner
  EXPECT_EQ(moVERTICES, view.renderer.hoverKind());
  EXPECT_EQ(v, view.renderer.hoverElement());
}

TEST_F(PickTest, NearPointerDrawingGivesTheSameHitsAsDrawingEveryFace) {
  scene.createPrimitive(PrimitiveType::Torus);
  scene.createPrimitive(PrimitiveType::Sphere);
  scene.object(1)->transform(translation(10, 5, 5));
  prepare();
  int32_t hits = 0;
  for (int32_t y = 60; y < kHeight; y += 37)
    for (int32_t x = 100; x < kWidth - 100; x += 23) {
      hoverPickAllFaces = true;
      HoverPick(scene, view.renderer, view.camera, ui, x, y);
      const ElementRef reference{view.renderer.hoverElement(), view.renderer.hoverObject()};
      const int32_t referenceKind = view.renderer.hoverKind();
      hoverPickAllFaces = false;
      HoverPick(scene, view.renderer, view.camera, ui, x, y);
      ASSERT_EQ(reference, (ElementRef{view.renderer.hoverElement(), view.renderer.hoverObject()}))
          << x << ", " << y;
      ASSERT_EQ(referenceKind, view.renderer.hoverKind());
      hits += reference.object != -1;
    }
  EXPECT_GT(hits, 30);
}

TEST_F(PickTest, RubberBandOverHalfAGridSelectsExactlyWhatIsInside) {
  const int32_t slot = scene.createPrimitive(PrimitiveType::Grid);
  view.ViewAlong(1); // from above
  prepare();
  const moObject &obj = *scene.object(slot);
  // The left half of the window, its right side between two columns of vertices.
  float boundary = kWidth / 2.0f;
  for (int32_t v = 0; v < obj.vertices.count(); ++v)
    if (std::fabs(screenOf(slot, v).x - boundary) < 3)
      boundary += 6;
  const int32_t width = int32_t(boundary);
  const auto inside = [&](int32_t v) { return screenOf(slot, v).x < float(width); };
  for (int32_t kind : {int32_t(moVERTICES), int32_t(moEDGES)}) {
    scene.SetMode(SelectionMode(kind));
    RegionPick(scene, view.renderer, view.camera, width / 2, kHeight / 2, width, kHeight, kind,
               10 * obj.edges.count());
    std::set<int32_t> expected, got;
    for (int32_t i = 0; i < scene.selection.Count(); ++i)
      got.insert(scene.selection.Get(i).element);
    if (kind == moVERTICES) {
      for (int32_t v = 0; v < obj.vertices.count(); ++v)
        if (inside(v))
          expected.insert(v);
    } else {
      for (int32_t e = 0; e < obj.edges.count(); ++e)
        if (inside(obj.edges[e].Head) || inside(obj.edges[e].Tail))
          expected.insert(e);
    }
    EXPECT_GT(expected.size(), 4u);
    EXPECT_EQ(expected, got) << "kind " << kind;
  }
}

TEST_F(PickTest, HiddenAndInsensitiveObjectsAreNeverPicked) {
  const int32_t hidden = scene.createPrimitive(PrimitiveType::Cube);
  const int32_t numb = scene.createPrimitive(PrimitiveType::Sphere);
  prepare();
  const moVec3 h = onScreen(scene.object(hidden)->objectCentroid()),
               n = onScreen(scene.object(numb)->objectCentroid());
  scene.SetObjectVisible(hidden, false);
  scene.SetObjectSensitive(numb, false);
  for (const moVec3 &p : {h, n}) {
    hover(p);
    EXPECT_EQ(-1, view.renderer.hoverObject());
  }
  scene.SetMode(moOBJECTS);
  RegionPick(scene, view.renderer, view.camera, kWidth / 2, kHeight / 2, kWidth, kHeight, moOBJECTS,
             100);
  EXPECT_TRUE(scene.selection.Empty());
  // Shown and sensitive again, both are found.
  scene.SetObjectVisible(hidden, true);
  scene.SetObjectSensitive(numb, true);
  RegionPick(scene, view.renderer, view.camera, kWidth / 2, kHeight / 2, kWidth, kHeight, moOBJECTS,
             100);
  EXPECT_EQ(2, scene.selection.Count());
}

TEST(Projection, MoProjectMapsIntoTheWindowRectangle) {
  moObject obj;
  obj.addVertex(0.5f, -0.5f, 0);
  obj.addVertex(0, 0, 1);
  const moMatrix4 one = identity();
  const WindowRect rect{10, 20, 100, 50};
  std::vector<float> points;
  moProject(obj, points, moPLANAR, &one, &one, &rect, false);
  ASSERT_EQ(4u, points.size());
  EXPECT_FLOAT_EQ(10 + 75, points[0]);
  EXPECT_FLOAT_EQ(20 + 12.5f, points[1]);
  moProject(obj, points, moSPHERICAL, &one, &one, &rect, false);
  EXPECT_FLOAT_EQ(10 + 75, points[2]); // atan2(1, 0) / pi = 1/2
  EXPECT_FLOAT_EQ(20 + 25, points[3]);
  moProject(obj, points, 7, &one, &one, &rect, false);
  EXPECT_FLOAT_EQ(10 + 75, points[2]); // unchanged
}

} // namespace
