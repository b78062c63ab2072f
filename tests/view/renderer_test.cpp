#include "core/face_triangulation.h"
#include "layers/paint_layers.h"
#include "tests/view/render_fixture.h"
#include "view/window_drawing.h"

namespace {

constexpr Rgb kBackground{156, 156, 156};

bool near(Rgb a, Rgb b, int tolerance = 2) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

// The camera a little off a view along the axis (-1: the starting view).
void lookFrom(View &view, int32_t axis, bool perspective) {
  view.ResetCamera();
  if (axis >= 0)
    view.ViewAlong(axis);
  view.cameraMode.orbit(view.camera, 37, 11, 0, 0);
  view.SetPerspective(perspective);
}

TEST_F(RenderTest, EmptySceneIsTheGreyBackground) {
  render();
  EXPECT_EQ(count(kBackground, 0), kWidth * kHeight);
}

TEST_F(RenderTest, ShadedCubeIsLitWithBlackOutlines) {
  scene.createPrimitive(PrimitiveType::Cube);
  render();
  const Rgb centre = at(kWidth / 2, kHeight / 2);
  EXPECT_FALSE(near(centre, kBackground, 10));
  EXPECT_GT(centre.r, 60); // lit white material
  EXPECT_EQ(centre.r, centre.g);
  EXPECT_GT(count({0, 0, 0}, 0), 200); // the outlines
  view.renderer.setOutlines(false);
  render();
  EXPECT_EQ(count({0, 0, 0}, 0), 0);
}

// Leaving out the edges between faces turned away changes only the few pixels where such hidden
// lines leak past the silhouette or through the surface by rasterisation.
TEST_F(RenderTest, OutlinesWithoutHiddenEdgesLookTheSame) {
  scene.createPrimitive(PrimitiveType::Torus);
  scene.createPrimitive(PrimitiveType::Dodecahedron);
  scene.object(1)->transform(translation(0, 25, 0));
  for (int32_t axis : {-1, 0, 1, 9}) {
    for (bool perspective : {true, false}) {
      lookFrom(view, axis, perspective);
      view.renderer.cullHiddenOutlines = true;
      render();
      const std::vector<uint8_t> culled = pixels;
      view.renderer.cullHiddenOutlines = false;
      render();
      size_t differing = 0, leaks = 0;
      for (size_t i = 0; i < pixels.size(); i += 4) {
        differing += pixels[i] != culled[i] ? 1 : 0;
        leaks += pixels[i] != culled[i] && pixels[i] == 0 ? 1 : 0; // a black hidden-line pixel
      }
      EXPECT_EQ(differing, leaks) << "view " << axis;
      EXPECT_LE(differing, 40u) << "view " << axis << (perspective ? " perspective" : " ortho");
    }
  }
}

TEST_F(RenderTest, WireframeObjectIsWhiteLinesWithoutOutline) {
  scene.createPrimitive(PrimitiveType::Cube);
  scene.SetShading(false, false);
  render();
  EXPECT_GT(count({255, 255, 255}, 0), 300);
  EXPECT_EQ(count({0, 0, 0}, 0), 0);
  EXPECT_TRUE(near(at(kWidth / 2, kHeight / 2), kBackground)); // the inside is not filled
}

TEST_F(RenderTest, CornerColoursShowOnlyWithColoursAndShowTexture) {
  scene.createPrimitive(PrimitiveType::Cube);
  view.ViewAlong(2); // the +z face (face 0) fills the middle of the window
  scene.object(0)->setFaceColor(0, {255, 0, 0, 255});
  render();
  Rgb c = at(kWidth / 2, kHeight / 2);
  EXPECT_GT(c.r, 2 * c.g + 20);
  view.renderer.setColors(false);
  render();
  c = at(kWidth / 2, kHeight / 2);
  EXPECT_EQ(c.r, c.g);
  view.renderer.setColors(true);
  scene.object(0)->showTexture = 0;
  render();
  c = at(kWidth / 2, kHeight / 2);
  EXPECT_EQ(c.r, c.g);
}

TEST_F(RenderTest, VertexHighlightsAreRedGreenAndYellow) {
  scene.createPrimitive(PrimitiveType::Cube);
  view.renderer.setOutlines(false);
  view.renderer.setHover(moVERTICES, -1, -1);
  scene.SetMode(moVERTICES);
  scene.selection.Append({2, 0});
  const moVec3 p = onScreen(scene.object(0)->vertices[2].Coordinates);
  const moVec3 q = onScreen(scene.object(0)->vertices[3].Coordinates);
  render();
  EXPECT_TRUE(near(at(int32_t(p.x), int32_t(p.y)), {255, 0, 0}));
  view.renderer.setHover(moVERTICES, 0, 2); // hovered and selected
  render();
  EXPECT_TRUE(near(at(int32_t(p.x), int32_t(p.y)), {255, 255, 0}));
  view.renderer.setHover(moVERTICES, 0, 3); // hovered, not selected
  render();
  EXPECT_TRUE(near(at(int32_t(q.x), int32_t(q.y)), {0, 255, 0}));
  EXPECT_TRUE(near(at(int32_t(p.x), int32_t(p.y)), {255, 0, 0}));
  render(InteractionMode::Camera); // no hover outside select mode
  EXPECT_FALSE(near(at(int32_t(q.x), int32_t(q.y)), {0, 255, 0}));
}

TEST_F(RenderTest, GridMiddleLinesGiveWayToTheAxes) {
  view.groundAndAxes = View::kGroundGrid;
  render();
  EXPECT_GT(count({51, 51, 51}), 100); // the darker middle lines
  EXPECT_GT(count({64, 64, 64}), 1000);
  EXPECT_EQ(count({255, 0, 0}), 0);
  view.groundAndAxes = View::kGroundGrid | View::kAxes;
  render();
  EXPECT_GT(count({255, 0, 0}), 50);
  EXPECT_GT(count({0, 0, 255}), 50);
  const moVec3 onX = onScreen({30, 0, 0});
  EXPECT_TRUE(nearby(int32_t(onX.x), int32_t(onX.y), {255, 0, 0}));
  view.groundAndAxes = View::kAxes;
  render();
  EXPECT_EQ(count({64, 64, 64}), 0);
}

TEST_F(RenderTest, SmoothShadingBlendsAcrossSoftEdgesOnly) {
  scene.createPrimitive(PrimitiveType::Sphere);
  view.renderer.setOutlines(false);
  render();
  const std::vector<uint8_t> flat = pixels;
  view.renderer.setSmooth(true);
  render();
  EXPECT_NE(flat, pixels);
  EXPECT_FALSE(near(at(kWidth / 2, kHeight / 2), kBackground, 10));
}

} // namespace

namespace {

std::vector<uint8_t> readWindow() {
  std::vector<uint8_t> out(size_t(RenderTest::kWidth) * RenderTest::kHeight * 4);
  ReadPixelsRGBA(0, 0, RenderTest::kWidth, RenderTest::kHeight, out.data(), 0, 0, 0);
  return out;
}

// A drag draws from vertex arrays refilled at every step instead of recompiled lists; every frame
// must look exactly as the draw list would show the same mesh.
TEST_F(RenderTest, DragFramesMatchTheDrawListPixelForPixel) {
  scene.createPrimitive(PrimitiveType::Torus);
  scene.createPrimitive(PrimitiveType::Dodecahedron);
  scene.object(1)->transform(translation(0, 25, 0));
  scene.object(1)->setFaceColor(3, {200, 40, 40, 255});
  for (bool smoothShading : {false, true}) {
    view.renderer.setSmooth(smoothShading);
    const auto frame = [&](bool drag) {
      if (drag) {
        SceneRenderer::InitGlState(view.camera);
        view.camera.ApplyProjection();
        view.renderer.RebuildLists(scene, false);
        view.renderer.DrawScene(scene, view.camera, view.groundAndAxes, InteractionMode::Drag,
                                false);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
      } else {
        render(InteractionMode::Drag);
      }
      return pixels;
    };
    const std::vector<uint8_t> drawList = frame(false);
    EXPECT_EQ(drawList, frame(true));
    // One drag step moves the dodecahedron (a move keeps each face's triangulation, which the
    // batch keeps from the start of the drag); the batches are refilled.
    frame(true);
    for (moVertex &v : scene.object(1)->vertices)
      v.Coordinates.y += 4;
    view.renderer.RebuildVertexLists(scene);
    view.renderer.DrawScene(scene, view.camera, view.groundAndAxes, InteractionMode::Drag, false);
    std::vector<uint8_t> stepped(pixels.size());
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, stepped.data());
    // Smooth shading interpolates across the triangulation kept from the drag's start, which
    // rounding may pick differently for the moved face; flat shading must match exactly.
    if (!smoothShading) {
      EXPECT_EQ(frame(false), stepped);
    }
  }
}

// The highlight of what is selected moves with the mesh in every selection mode: a drag frame
// shows it where a fresh frame of the moved mesh does, beside a wireframe object with elements
// selected too and a hidden one whose selected elements show nothing.
TEST_F(RenderTest, DragHighlightsFollowTheMovedMesh) {
  scene.createPrimitive(PrimitiveType::Dodecahedron);
  scene.createPrimitive(PrimitiveType::Cube);
  scene.createPrimitive(PrimitiveType::Sphere);
  scene.object(1)->transform(translation(-40, 10, 0));
  scene.object(1)->shaded = false;
  scene.object(2)->transform(translation(40, 0, 0));
  scene.object(2)->visible = false;
  for (SelectionMode mode : {moVERTICES, moEDGES, moFACES, moOBJECTS}) {
    SCOPED_TRACE(mode);
    scene.selection.Clear();
    for (int32_t slot = 0; slot < 3; ++slot)
      for (int32_t e = 0; e < (mode == moOBJECTS ? 1 : 12); e += slot + 1)
        scene.selection.Append({mode == moOBJECTS ? slot : e, slot});
    scene.mode = mode;
    view.renderer.setHover(mode, -1, -1);
    SceneRenderer::InitGlState(view.camera);
    view.camera.ApplyProjection();
    view.renderer.RebuildLists(scene, false);
    view.renderer.DrawScene(scene, view.camera, 0, InteractionMode::Drag, false); // the start
    for (moVertex &v : scene.object(0)->vertices)
      v.Coordinates.y += 4; // exact in floats: the faces keep their triangulation
    view.renderer.RebuildVertexLists(scene);
    view.renderer.DrawScene(scene, view.camera, 0, InteractionMode::Drag, false);
    std::vector<uint8_t> stepped(size_t(kWidth) * kHeight * 4);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, stepped.data());
    render(InteractionMode::Drag);
    EXPECT_GT(count({255, 0, 0}, 60), 100); // the highlight is there
    size_t differ = 0;
    for (size_t i = 0; i < pixels.size(); ++i)
      differ += pixels[i] != stepped[i];
    EXPECT_EQ(differ, 0u);
    for (moVertex &v : scene.object(0)->vertices)
      v.Coordinates.y -= 4;
  }
  // Nothing of the hidden sphere shows, highlighted or not.
  render(InteractionMode::Select);
  const moVec3 sphere = onScreen({40, 0, 0});
  EXPECT_TRUE(near(at(int32_t(sphere.x), int32_t(sphere.y)), kBackground));
}

// The highlights and outlines of an object that shows its paint come from the same corners as
// those of one that does not: with every face selected, and one of them hovered, the painted
// cube's frame is the plain cube's, pixel for pixel, in flat and smooth shading.
TEST_F(RenderTest, HighlightsCoverPaintedObjectsAsPlainOnes) {
  scene.createPrimitive(PrimitiveType::Cube);
  scene.object(0)->transform(translation(-20, 5, 0));
  scene.mode = moFACES;
  for (int32_t f = 0; f < 6; ++f)
    scene.selection.Append({f, 0});
  view.renderer.setHover(moFACES, 0, 4);
  view.cameraMode.orbit(view.camera, 37, 11, 0, 0);
  for (bool smoothShading : {false, true}) {
    view.renderer.setSmooth(smoothShading);
    moObject &cube = *scene.object(0);
    cube.paintLayer.reset();
    render(InteractionMode::Select);
    const std::vector<uint8_t> plain = pixels;
    EXPECT_GT(count({200, 200, 0}, 80), 1000); // the hovered face
    triangulateFaces(cube, kTriangulateDelaunay);
    cube.paintLayer = makePaintLayer(PaintLayer::kAtlas, 16, 16, cube.triangleFaces.count());
    ImageBuffer &paint = cube.paintLayer->image;
    std::fill(paint.pixels(), paint.pixels() + paint.pixelCount(), packRgba(0, 0, 255));
    render(InteractionMode::Select);
    EXPECT_EQ(plain, pixels);
    scene.selection.Toggle({0, 0}); // an unselected painted face shows blue
    render(InteractionMode::Select);
    EXPECT_GT(count({0, 0, 255}, 140), 100);
    scene.selection.Toggle({0, 0});
  }
}

// Faces turned away and surfaces under a lit highlight are not sent; every frame must look as
// if they were: overlapping objects with every face selected (one hovered), a painted one, one
// partly selected, a wireframe one and a hidden one over the ground, from several eyes, in
// perspective and orthographically, in each interaction mode and for faces and objects.
TEST_F(RenderTest, FramesWithoutHiddenFacesMatchTheFullDrawPixelForPixel) {
  view.groundAndAxes = View::kGroundGrid | View::kAxes;
  for (PrimitiveType type :
       {PrimitiveType::Torus, PrimitiveType::Sphere, PrimitiveType::Cube,
        PrimitiveType::Dodecahedron, PrimitiveType::Cube, PrimitiveType::Sphere})
    scene.createPrimitive(type);
  scene.object(1)->transform(translation(12, 6, 4)); // through the torus
  scene.object(2)->transform(translation(-30, 0, 0));
  scene.object(3)->transform(translation(0, 20, -15));
  scene.object(4)->transform(translation(30, -10, 0));
  scene.object(4)->shaded = false;
  scene.object(5)->visible = false;
  moObject &painted = *scene.object(2);
  triangulateFaces(painted, kTriangulateDelaunay);
  painted.paintLayer = makePaintLayer(PaintLayer::kAtlas, 16, 16, painted.triangleFaces.count());
  pixels.resize(size_t(kWidth) * kHeight * 4);
  const auto select = [&](SelectionMode mode) {
    scene.selection.Clear();
    scene.mode = mode;
    for (int32_t slot : {0, 1, 2, 4, 5})
      for (int32_t f = 0; f < (mode == moOBJECTS ? 1 : scene.object(slot)->faces.count()); ++f)
        scene.selection.Append({mode == moOBJECTS ? slot : f, slot});
    scene.selection.Append({2, 3});                         // some faces of the dodecahedron
    scene.selection.Append({mode == moOBJECTS ? 1 : 2, 1}); // twice
  };
  for (SelectionMode mode : {moFACES, moOBJECTS}) {
    select(mode);
    view.renderer.setHover(mode, mode == moOBJECTS ? 3 : 0, mode == moOBJECTS ? 3 : 5);
    for (bool perspective : {true, false}) {
      for (int32_t axis : {-1, 1, 9}) {
        lookFrom(view, axis, perspective);
        for (InteractionMode interaction :
             {InteractionMode::Camera, InteractionMode::Select, InteractionMode::Drag}) {
          SCOPED_TRACE(testing::Message() << mode << " view " << axis << " perspective "
                                          << perspective << " mode " << int(interaction));
          // A camera step keeps the lists of the last frame, which looked from elsewhere; a drag
          // draws even the painted object from its arrays. The reference keeps the lists.
          const FrameLists lists = interaction == InteractionMode::Camera ? FrameLists::Kept
                                   : interaction == InteractionMode::Drag ? FrameLists::Fast
                                                                          : FrameLists::Full;
          const auto frame = [&](bool cull) {
            view.renderer.cullHiddenFaces = cull;
            drawFrame(view, scene, {interaction, cull ? lists : FrameLists::Kept});
            glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
            return pixels;
          };
          const std::vector<uint8_t> culled = frame(true);
          EXPECT_GT(count({255, 0, 0}, 150), 1000); // the highlight covers surfaces
          EXPECT_EQ(culled, frame(false));
        }
      }
    }
  }
}

TEST_F(RenderTest, ExclusiveOrFiguresEraseThemselves) {
  render();
  const std::vector<uint8_t> before = readWindow();
  XorRectangle(300, 200, 100, 50, kWidth, kHeight);
  std::vector<uint8_t> drawn = readWindow();
  EXPECT_NE(drawn, before);
  int inverted = 0;
  for (size_t i = 0; i < drawn.size(); i += 4)
    inverted += drawn[i] == (156 ^ 255) ? 1 : 0;           // grey turned to its inverse
  EXPECT_NEAR(inverted, 2 * (200 + 150), 8);               // the outline only
  EXPECT_EQ(drawn[(size_t(120) * kWidth + 200) * 4], 156); // the inside stays
  XorRectangle(300, 200, 100, 50, kWidth, kHeight);
  EXPECT_EQ(readWindow(), before);
  XorEllipse(10, 10, 90, 60, kWidth, kHeight);
  XorLine(0, 0, 700, 400, 3, kWidth, kHeight);
  XorLine(0, 0, 700, 400, 3, kWidth, kHeight);
  XorEllipse(10, 10, 90, 60, kWidth, kHeight);
  EXPECT_EQ(readWindow(), before);
}

TEST_F(RenderTest, PixelRectanglesLandWhereAskedEvenPartlyOutside) {
  render();
  const uint8_t red[4 * 4] = {255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255};
  DrawPixelsAt(10.0f, 20.0f, 2, 2, red, 0, 0, 0, false);
  DrawPixelsAt(-1.0f, -1.0f, 2, 2, red, 0, 0, 0, false); // only its upper-right pixel shows
  const std::vector<uint8_t> out = readWindow();
  const auto pixel = [&](int x, int y) { return &out[(size_t(y) * kWidth + size_t(x)) * 4]; };
  EXPECT_EQ(pixel(10, 20)[0], 255);
  EXPECT_EQ(pixel(11, 21)[1], 0);
  EXPECT_EQ(pixel(12, 20)[0], 156);
  EXPECT_EQ(pixel(0, 0)[0], 255);
  EXPECT_EQ(pixel(1, 1)[0], 156);
  ImageBuffer frame;
  ASSERT_TRUE(ReadFrame(frame, kWidth, kHeight));
  EXPECT_EQ(frame.at(10, 20), packRgba(255, 0, 0));
}

} // namespace
