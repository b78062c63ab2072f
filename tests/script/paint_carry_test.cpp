// Paint through modeling: operations on painted objects keep the paint on the surface, checked on
// the carried texels (painted as a smooth function of the surface point, so every texel can be
// checked against where it now lies) and on frames rendered before and after.
#include "operation_session.h"

#include "core/face_triangulation.h"
#include "core/mesh_validation.h"
#include "layers/paint_layers.h"
#include "layers/texel_layer.h"
#include "paint/paint_surface.h"
#include "view/frame.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

namespace {

using Paint = std::function<uint32_t(const moVec3 &)>;

// A colour that changes smoothly over the surface of a primitive (some 20 units across): every
// channel a different wave.
uint32_t waves(const moVec3 &p) {
  const auto wave = [](float t) { return uint8_t(std::lround(128 + 110 * std::sin(t))); };
  return packRgba(wave(0.13f * p.x + 0.4f), wave(0.11f * p.y + 1.9f), wave(0.09f * p.z + 3.1f));
}

int channelGap(uint32_t a, uint32_t b) {
  int gap = 0;
  for (int s = 0; s < 24; s += 8)
    gap = std::max(gap, std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)));
  return gap;
}

// The painted texels of paint triangle t of obj with the surface point each stands for.
void forEachTexelOf(const moObject &obj, int32_t t,
                    const std::function<void(const TexelSample &, const moVec3 &)> &visit) {
  std::vector<TexelSample> samples;
  static_cast<const TexelLayer &>(*obj.paintLayer).texels(obj, t, samples);
  const int32_t *v = &obj.triangleVertices[3 * t];
  const moVec3 &a = obj.vertices[v[0]].Coordinates, &b = obj.vertices[v[1]].Coordinates,
               &c = obj.vertices[v[2]].Coordinates;
  for (const TexelSample &s : samples) {
    const float w0 = 1 - s.w1 - s.w2;
    visit(s, {w0 * a.x + s.w1 * b.x + s.w2 * c.x, w0 * a.y + s.w1 * b.y + s.w2 * c.y,
              w0 * a.z + s.w1 * b.z + s.w2 * c.z});
  }
}

// The same for every paint triangle, with the texel's colour.
void forEachTexel(const moObject &obj,
                  const std::function<void(int32_t t, const moVec3 &, uint32_t)> &visit) {
  for (int32_t t = 0; t < paintTriangleCount(obj); ++t)
    forEachTexelOf(obj, t, [&](const TexelSample &s, const moVec3 &p) {
      visit(t, p, obj.paintLayer->image.at(s.x, s.y));
    });
}

// Empty when every paint triangle of obj names a live face holding its three corners, has
// texels inside the image and the layer was made for exactly this many triangles.
std::string layerFault(const moObject &obj) {
  if (!obj.paintLayer)
    return "no layer";
  const int32_t count = paintTriangleCount(obj);
  if (obj.paintLayer->elementCount != count || obj.triangleFaces.count() != count)
    return "layer made for " + std::to_string(obj.paintLayer->elementCount) + " triangles, not " +
           std::to_string(count);
  std::vector<int32_t> corners;
  for (int32_t t = 0; t < count; ++t) {
    const int32_t f = obj.triangleFaces[t];
    if (!obj.faces.contains(f) || !obj.faces[f].active())
      return "triangle " + std::to_string(t) + " on a missing face";
    obj.faceVertices(f, corners);
    for (int k = 0; k < 3; ++k)
      if (std::find(corners.begin(), corners.end(), obj.triangleVertices[3 * t + k]) ==
          corners.end())
        return "triangle " + std::to_string(t) + " has a corner off its face";
    const TexelRect r = obj.paintLayer->texelRect(obj, t);
    if (r.empty() || r.x < 0 || r.y < 0 || r.x + r.width > obj.paintLayer->image.width() ||
        r.y + r.height > obj.paintLayer->image.height())
      return "triangle " + std::to_string(t) + " has no texels in the image";
  }
  std::vector<int32_t> faces;
  for (int32_t f = 0; f < obj.faces.count(); ++f)
    if (obj.faces[f].active() &&
        std::find(obj.triangleFaces.begin(), obj.triangleFaces.end(), f) == obj.triangleFaces.end())
      return "face " + std::to_string(f) + " has no paint triangle";
  return "";
}

class PaintCarryTest : public OperationSession {
protected:
  Scene &scene() { return world.scene; }
  // No objects and no history.
  void emptyScene() {
    scene().clearSelection();
    scene().objects.clear(false);
    scene().clearHistory();
  }
  // Adds a primitive (unless add is null), gives the first object a paint surface as entering the
  // paint window does and paints every texel with paint at its surface point.
  moObject &paintedPrimitive(const char *add, const Paint &paint) {
    if (add)
      world.layer.run(add);
    world.view.renderer.RebuildLists(scene(), true);
    EXPECT_TRUE(PrepareCanvas(scene(), world.view, canvas, kWidth, kHeight));
    moObject &obj = *scene().object(0);
    EXPECT_NE(obj.paintLayer, nullptr);
    for (int32_t t = 0; t < paintTriangleCount(obj); ++t) {
      forEachTexelOf(obj, t, [&](const TexelSample &s, const moVec3 &p) {
        obj.paintLayer->image.at(s.x, s.y) = paint(p);
      });
      obj.paintLayer->finishTriangle(obj, t);
    }
    return obj;
  }
  // The model window's frame of the scene, as RGBA bytes, without the outlines of the edges
  // (which operations add).
  std::vector<uint8_t> frame() {
    world.view.renderer.setOutlines(false);
    world.view.renderer.RebuildLists(scene(), true);
    drawFrame(world.view, scene(), {InteractionMode::Select});
    std::vector<uint8_t> pixels(size_t(kWidth) * kHeight * 4);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }
  // Selects the first object, or its faces, edges or vertices for which keep(position) holds.
  void selectWhere(SelectionMode mode, const std::function<bool(const moVec3 &)> &keep) {
    const moObject &obj = *scene().object(0);
    scene().SetMode(mode);
    scene().clearSelection();
    if (mode == moOBJECTS) {
      scene().selection.Append({0, 0});
      return;
    }
    const int32_t n = mode == moFACES   ? obj.faces.count()
                      : mode == moEDGES ? obj.edges.count()
                                        : obj.vertices.count();
    for (int32_t i = 0; i < n; ++i) {
      const bool live = mode == moFACES   ? obj.faces[i].active()
                        : mode == moEDGES ? obj.edges[i].active()
                                          : obj.vertices[i].active();
      if (!live)
        continue;
      const moVec3 p = mode == moFACES   ? obj.faceCentroid(i)
                       : mode == moEDGES ? obj.edgeMidpoint(i)
                                         : obj.vertices[i].Coordinates;
      if (keep(p))
        scene().selection.Append({i, 0});
    }
  }
};

// Cut, Connect and Plane cut divide faces where they lie: every carried texel still shows the
// paint of its surface point (but on the faces that close a plane cut, which are new surface),
// and the object looks as it did.
TEST_F(PaintCarryTest, CuttingFacesInPlaceKeepsThePicture) {
  const struct {
    const char *name;
    SelectionMode mode;
    std::function<bool(const moVec3 &)> keep;
    int32_t argument;
  } cases[] = {
      {"cut-edges", moEDGES, [](const moVec3 &p) { return p.y > 0; }, 3},
      {"connect", moEDGES, [](const moVec3 &p) { return std::fabs(p.x) < 1e-3f; }, 0},
      {"plane-cut-x", moOBJECTS, [](const moVec3 &) { return true; }, 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    emptyScene();
    paintedPrimitive("add-cube", waves);
    const std::vector<uint8_t> before = frame();
    const size_t stepsBefore = scene().undoStepCount();
    selectWhere(c.mode, c.keep);
    ASSERT_FALSE(scene().selection.Empty());
    if (std::string(c.name) == "cut-edges")
      world.layer.execute(operationByName("cut-edges").row->scriptCode, {c.argument});
    else
      operation(c.name);
    ASSERT_EQ(scene().undoStepCount(), stepsBefore + 1);
    EXPECT_TRUE(world.ui.questions.empty());
    int32_t texels = 0, off = 0;
    for (int32_t slot = 0; slot < scene().objects.count(); ++slot) {
      const moObject &obj = *scene().object(slot);
      ASSERT_EQ(layerFault(obj), "");
      forEachTexel(obj, [&](int32_t, const moVec3 &p, uint32_t colour) {
        if (c.mode == moOBJECTS && std::fabs(p.x) < 1e-4f)
          return; // a face closing the cut
        ++texels;
        off += channelGap(colour, waves(p)) > 4;
      });
    }
    EXPECT_LE(off, texels / 100) << off << " of " << texels;
    const std::vector<uint8_t> after = frame();
    // Pixels showing the object in either frame (the corner pixel shows the background).
    int32_t shown = 0, same = 0;
    const auto background = [&](const std::vector<uint8_t> &f, size_t i) {
      return f[i] == before[0] && f[i + 1] == before[1] && f[i + 2] == before[2];
    };
    for (size_t i = 0; i < before.size(); i += 4) {
      if (background(before, i) && background(after, i))
        continue;
      ++shown;
      same += std::abs(before[i] - after[i]) <= 3 && std::abs(before[i + 1] - after[i + 1]) <= 3 &&
              std::abs(before[i + 2] - after[i + 2]) <= 3;
    }
    EXPECT_GT(shown, 5000);
    EXPECT_GE(same, shown * 99 / 100) << same << " of " << shown;
  }
}

// The share of the texels of obj's faces for which `where` gives a surface point whose paint
// the texel shows (within 4 of 255 per channel); faces for which `where` gives false are skipped.
struct Agreement {
  int32_t texels = 0, agreeing = 0;
  bool holds() const { return texels > 0 && agreeing >= texels * 99 / 100; }
};
Agreement agreement(const moObject &obj,
                    const std::function<bool(int32_t face, moVec3 &point)> &where) {
  Agreement a;
  forEachTexel(obj, [&](int32_t t, const moVec3 &p, uint32_t colour) {
    moVec3 q = p;
    if (!where(obj.triangleFaces[t], q))
      return;
    ++a.texels;
    a.agreeing += channelGap(colour, waves(q)) <= 4;
  });
  return a;
}

// Extruding the top face of a cube by 5 units: the cap shows the top's picture 5 units higher,
// the four sides the colours of the top's border, and the other faces what they showed.
TEST_F(PaintCarryTest, ExtrudeMovesTheCapsPictureAndStretchesItsBorderDownTheSides) {
  paintedPrimitive("add-cube", waves);
  float top = -1e9f;
  for (const moVertex &v : scene().object(0)->vertices)
    top = std::max(top, v.Coordinates.y);
  selectWhere(moFACES, [&](const moVec3 &p) { return p.y > top - 1e-4f; });
  ASSERT_EQ(scene().selection.Count(), 1);
  operation("extrude-normal", 5);
  const moObject &obj = *scene().object(0);
  ASSERT_EQ(obj.faces.count(), 10);
  ASSERT_EQ(layerFault(obj), "");
  const auto span = [&](int32_t f, float &low, float &high) {
    std::vector<int32_t> corners;
    obj.faceVertices(f, corners);
    low = 1e9f, high = -1e9f;
    for (int32_t v : corners) {
      low = std::min(low, obj.vertices[v].Coordinates.y);
      high = std::max(high, obj.vertices[v].Coordinates.y);
    }
  };
  const Agreement others = agreement(obj, [&](int32_t f, moVec3 &) {
    float low, high;
    span(f, low, high);
    return high < top + 1e-4f;
  });
  const Agreement cap = agreement(obj, [&](int32_t f, moVec3 &p) {
    float low, high;
    span(f, low, high);
    p.y -= 5;
    return low > top + 5 - 1e-4f;
  });
  const Agreement sides = agreement(obj, [&](int32_t f, moVec3 &p) {
    float low, high;
    span(f, low, high);
    p.y = top;
    return low < top + 1e-4f && high > top + 5 - 1e-4f;
  });
  EXPECT_TRUE(others.holds()) << others.agreeing << " of " << others.texels;
  EXPECT_TRUE(cap.holds()) << cap.agreeing << " of " << cap.texels;
  EXPECT_TRUE(sides.holds()) << sides.agreeing << " of " << sides.texels;
  EXPECT_TRUE(world.ui.questions.empty());
}

// A red stripe round a sphere's equator, seen from the front, stays where it was when the sphere
// is smoothed.
TEST_F(PaintCarryTest, SmoothingKeepsAStripeWhereItWas) {
  paintedPrimitive("add-sphere", [](const moVec3 &p) {
    return std::fabs(p.y) < 4 ? packRgba(255, 0, 0) : packRgba(255, 255, 255);
  });
  world.view.ViewAlong(2);
  const auto red = [&]() {
    const std::vector<uint8_t> f = frame();
    std::vector<uint8_t> out(f.size() / 4);
    for (size_t i = 0; i < out.size(); ++i)
      out[i] = f[4 * i] > 120 && f[4 * i + 1] < 60 && f[4 * i + 2] < 60;
    return out;
  };
  const std::vector<uint8_t> before = red();
  scene().SetMode(moOBJECTS);
  scene().clearSelection();
  scene().selection.Append({0, 0});
  operation("smooth");
  ASSERT_EQ(layerFault(*scene().object(0)), "");
  const std::vector<uint8_t> after = red();
  int32_t was = 0, is = 0, both = 0;
  for (size_t i = 0; i < before.size(); ++i) {
    was += before[i], is += after[i];
    both += before[i] && after[i];
  }
  ASSERT_GT(was, 2000);
  EXPECT_GE(both, was * 9 / 10) << both << " of " << was << " (" << is << " after)";
  EXPECT_GE(both, is * 9 / 10) << both << " of " << is;
}

// Every operation that changes faces runs on a painted object without a question, leaves a
// layer that fits its triangles, and Undo and Redo give back the texels exactly.
TEST_F(PaintCarryTest, EveryFaceOperationKeepsAValidLayerAndUndoesExactly) {
  const auto high = [](const moVec3 &p) { return p.y > 0.5f; };
  const auto oneTopEdge = [](const moVec3 &p) { return p.y > 0.5f && p.z > 0.5f; };
  const auto topAndBottom = [](const moVec3 &p) { return std::fabs(p.y) > 0.5f; };
  const auto all = [](const moVec3 &) { return true; };
  const struct {
    const char *name;
    SelectionMode mode;
    std::function<bool(const moVec3 &)> keep;
    float amount;
    bool twoCubes;
  } cases[] = {
      {"extrude-normal", moFACES, high, 0.5f, false},
      {"extrude-region-normal", moFACES, all, 0.5f, false},
      {"chip-off-normal", moFACES, high, 0.5f, false},
      {"plane-cut-x", moOBJECTS, all, 0, false},
      {"cut-edges", moEDGES, high, 0, false},
      {"connect", moEDGES, [](const moVec3 &p) { return std::fabs(p.x) < 1e-3f; }, 0, false},
      {"tighten", moVERTICES, high, 0.3f, false},
      {"inset", moFACES, high, 0.2f, false},
      {"bevel", moEDGES, oneTopEdge, 0.2f, false},
      {"bridge", moFACES, topAndBottom, 0, false},
      {"smooth", moOBJECTS, all, 0, false},
      {"combine", moOBJECTS, all, 0, true},
      {"mirror", moFACES, high, 0, false},
      {"dissolve", moEDGES, oneTopEdge, 0, false},
      {"collapse", moEDGES, oneTopEdge, 0, false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    emptyScene();
    paintedPrimitive("add-cube", waves);
    if (c.twoCubes)
      world.layer.run("add-sphere");    // unpainted: its faces take their corner colours
    const std::string before = bytes(); // clears the selection
    if (c.twoCubes) {
      scene().SetMode(moOBJECTS);
      scene().clearSelection();
      scene().selection.Append({0, 0});
      scene().selection.Append({1, 1});
    } else {
      selectWhere(c.mode, c.keep);
    }
    ASSERT_FALSE(scene().selection.Empty());
    const size_t steps = scene().undoStepCount();
    operation(c.name, c.amount);
    ASSERT_EQ(scene().undoStepCount(), steps + 1)
        << (world.ui.messages.empty() ? world.ui.status : world.ui.messages.back());
    EXPECT_TRUE(world.ui.questions.empty());
    for (int32_t slot = 0; slot < scene().objects.count(); ++slot) {
      if (const moObject *obj = scene().object(slot)) {
        EXPECT_EQ(layerFault(*obj), "") << "object " << slot;
      }
    }
    const std::string after = bytes();
    ASSERT_TRUE(scene().UndoStep());
    EXPECT_TRUE(bytes() == before);
    ASSERT_TRUE(scene().RedoStep());
    EXPECT_TRUE(bytes() == after);
  }
}

// A layer with coordinates of its own (as models bring them) is carried as well: after a cut the
// object has an atlas whose texels show the paint of their surface points.
TEST_F(PaintCarryTest, ALayerWithItsOwnCoordinatesIsCarriedToo) {
  moObject &obj = paintedPrimitive("add-cube", waves);
  const int32_t count = paintTriangleCount(obj);
  auto own = makePaintLayer(PaintLayer::kPerCorner, obj.paintLayer->image.width(),
                            obj.paintLayer->image.height(), 3 * count, &obj.paintLayer->image);
  ASSERT_NE(own, nullptr);
  for (int32_t t = 0; t < count; ++t)
    obj.paintLayer->cornerTexCoords(obj, t, &own->coordinates[size_t(6 * t)]);
  obj.paintLayer = std::move(own);
  selectWhere(moEDGES, [](const moVec3 &p) { return p.y > 0; });
  operation("cut-edges");
  const moObject &cut = *scene().object(0);
  ASSERT_EQ(layerFault(cut), "");
  EXPECT_EQ(cut.paintLayer->kind(), PaintLayer::kAtlas);
  const Agreement a = agreement(cut, [](int32_t, moVec3 &) { return true; });
  EXPECT_TRUE(a.holds()) << a.agreeing << " of " << a.texels;
}

// Long random sessions of operations on painted objects: the layer always fits, and stepping
// back through every step gives back the texels of the start.
TEST_F(PaintCarryTest, RandomOperationsKeepTheLayerValid) {
  const struct {
    const char *name;
    SelectionMode mode;
    float amount;
  } operations[] = {{"extrude-normal", moFACES, 0.3f},  {"extrude-region-normal", moFACES, 0.3f},
                    {"inset", moFACES, 0.2f},           {"bevel", moEDGES, 0.1f},
                    {"cut-edges", moEDGES, 0},          {"connect", moEDGES, 0},
                    {"dissolve", moEDGES, 0},           {"collapse", moEDGES, 0},
                    {"chip-off-normal", moFACES, 0.2f}, {"plane-cut-z", moOBJECTS, 0},
                    {"smooth", moOBJECTS, 0},           {"move-axis-y", moFACES, 0.4f}};
  std::mt19937 random(38);
  paintedPrimitive("add-cube", waves);
  ASSERT_TRUE(resizePaintLayer(*scene().object(0)->paintLayer, 128, 128)); // keeps it quick
  const std::string start = bytes();
  const size_t startSteps = scene().undoStepCount();
  int32_t ran = 0;
  for (int step = 0; step < 200; ++step) {
    const auto &op = operations[random() % (sizeof operations / sizeof operations[0])];
    moObject *obj = scene().object(0);
    if (!obj || obj->faces.count() > 300) {
      ASSERT_TRUE(scene().UndoStep()); // back to a smaller mesh
      continue;
    }
    selectWhere(op.mode, [&](const moVec3 &) { return random() % 4 == 0; });
    if (scene().selection.Empty())
      continue;
    const size_t steps = scene().undoStepCount();
    operation(op.name, op.amount);
    ran += scene().undoStepCount() == steps + 1;
    for (int32_t slot = 0; slot < scene().objects.count(); ++slot) {
      if (const moObject *o = scene().object(slot)) {
        ASSERT_EQ(layerFault(*o), "") << op.name << " at step " << step;
      }
    }
    // Keep one object: the pieces of a cut go.
    for (int32_t slot = scene().objects.count() - 1; slot > 0; --slot)
      scene().objects.remove(slot);
  }
  EXPECT_GT(ran, 100);
  while (scene().undoStepCount() > startSteps)
    ASSERT_TRUE(scene().UndoStep());
  EXPECT_TRUE(bytes() == start);
}

} // namespace
