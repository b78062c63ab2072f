// Modeling with symmetry on: operations on one half repeat on the other, plane vertices stay on
// the plane, and an object that is not symmetric where the selection is gets the operation on the
// selection alone.
#include "ops/bevel.h"
#include "ops/drag.h"
#include "ops/edge_ops.h"
#include "ops/extrude.h"
#include "ops/inset.h"
#include "ops/mesh_rebuild.h"
#include "ops/operation_table.h"
#include "ops/smooth.h"
#include "ops/transform_move.h"
#include "ops/transform_rotate.h"
#include "ops/transform_scale.h"
#include "ops/transform_shape.h"
#include "tests/ops/ops_fixture.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {

// The largest extent of obj's bounding box.
float sizeOf(const moObject &obj) {
  moVec3 low{kFloatMax, kFloatMax, kFloatMax}, high{-kFloatMax, -kFloatMax, -kFloatMax};
  for (const moVertex &v : obj.vertices)
    if (v.active()) {
      const moVec3 &p = v.Coordinates;
      low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
      high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
  return std::max({high.x - low.x, high.y - low.y, high.z - low.z});
}

// Empty when every live vertex has a vertex within 1e-5 of the object's size of its mirror
// across x = 0 and every vertex that near the plane lies on it exactly (+0); otherwise the first
// that does not.
std::string asymmetry(const moObject &obj) {
  const float tolerance = 1e-5f * sizeOf(obj);
  for (int32_t v = 0; v < obj.vertices.count(); ++v) {
    if (!obj.vertices[v].active())
      continue;
    const moVec3 p = obj.vertices[v].Coordinates;
    if (std::fabs(p.x) <= tolerance && (p.x != 0 || std::signbit(p.x)))
      return "vertex " + std::to_string(v) + " is off the plane by " + std::to_string(p.x);
    bool found = false;
    for (int32_t w = 0; w < obj.vertices.count() && !found; ++w)
      found = obj.vertices[w].active() &&
              distance(obj.vertices[w].Coordinates, moVec3{-p.x, p.y, p.z}) <= tolerance;
    if (!found)
      return "vertex " + std::to_string(v) + " has no mirror";
  }
  return "";
}

int32_t liveEdges(const moObject &obj) {
  return int32_t(std::count_if(obj.edges.begin(), obj.edges.end(),
                               [](const moEdge &e) { return e.active(); }));
}

// Puts the vertices within 1e-6 of obj's size of the plane x = 0 on it, as a symmetric model
// has them.
void ontoPlane(moObject &obj) {
  const float near = 1e-6f * sizeOf(obj);
  for (moVertex &v : obj.vertices)
    if (std::fabs(v.Coordinates.x) < near)
      v.Coordinates.x = 0;
}

class SymmetryTest : public OpsTest {
protected:
  void SetUp() override { scene.symmetry.toggle(0); }

  int32_t addOnPlane(PrimitiveType type) {
    const int32_t slot = scene.createPrimitive(type);
    ontoPlane(*scene.object(slot));
    return slot;
  }
};

class RandomSymmetric {
public:
  RandomSymmetric(Scene &scene, uint32_t seed) : scene_(scene), rng_(seed) {}

  // One random selection of 1 to 3 elements of object 0, one operation and its drag. Returns
  // the operation's number.
  int32_t step() {
    const auto m = SelectionMode(pick(3));
    scene_.SetMode(m);
    const moObject &obj = *scene_.object(0);
    const int32_t n = m == moVERTICES ? obj.vertices.count()
                      : m == moEDGES  ? obj.edges.count()
                                      : obj.faces.count();
    for (int32_t k = 1 + pick(3); k > 0; --k)
      if (const ElementRef ref{pick(n), 0}; scene_.elementExists(ref, m))
        scene_.selection.Set(ref, true);
    const int32_t op = pick(14);
    const int32_t kind = run(op);
    if (kind != kDragNone)
      for (int32_t k = 1 + pick(3); k > 0; --k)
        drag(kind);
    return op;
  }

private:
  int32_t pick(int32_t n) {
    return n <= 0 ? 0 : std::uniform_int_distribution<int32_t>(0, n - 1)(rng_);
  }
  float amount() { return std::uniform_real_distribution<float>(-1, 1)(rng_); }

  // Runs operation op; the drag kind that follows it, kDragNone for none or a refusal.
  int32_t run(int32_t op) {
    const bool normals = pick(2) == 1;
    const int32_t move = normals ? kDragMoveNormal : pick(2) ? kDragMoveFree : kDragMoveAxis;
    const auto ran = [](bool started, int32_t kind) { return started ? kind : kDragNone; };
    switch (op) {
    case 0:
      return ran(Move(scene_, normals), move);
    case 1:
      return ran(Rotate(scene_, false, true), pick(2) ? kDragRotateAxis : kDragRotateFree);
    case 2: {
      const int32_t kinds[] = {kDragScaleUniform, kDragScaleAxis, kDragScaleRadial};
      return ran(Scale(scene_), kinds[pick(3)]);
    }
    case 3:
      return ran(Extrude(scene_, 3.0f, normals), move);
    case 4:
      return ran(ExtrudeRegion(scene_, normals), move);
    case 5:
      return ran(Tighten(scene_), kDragTighten);
    case 6:
      CutEdges(scene_, 2 + pick(3));
      return kDragNone;
    case 7:
      Dissolve(scene_);
      return kDragNone;
    case 8:
      Flatten(scene_, normals, unitAxis(pick(3)));
      return kDragNone;
    case 9:
      return ran(Bevel(scene_), kDragBevel);
    case 10:
      return ran(Inset(scene_), kDragInset);
    case 11:
      Connect(scene_);
      return kDragNone;
    case 12:
      Collapse(scene_);
      return kDragNone;
    default:
      scene_.UndoCommand();
      return kDragNone;
    }
  }

  void drag(int32_t kind) {
    DragMotion motion;
    // Steps of at least 10 pixels: smaller ones would leave vertices nearer to each other than
    // the mirror tolerance, where no mirror is well defined.
    motion.dx = (10 + pick(21)) * (pick(2) ? 1 : -1);
    motion.dy = pick(41) - 20;
    motion.accumulatedX = motion.dx;
    motion.axis = unitAxis(pick(3));
    motion.worldStep = {amount(), amount(), amount()};
    motion.viewDirection = unit(moVec3{amount(), amount(), 1});
    applyDragStep(scene_, kind, motion);
  }

  Scene &scene_;
  std::mt19937 rng_;
};

TEST_F(SymmetryTest, RandomOperationsKeepSymmetricObjectsSymmetric) {
  const auto smoothedBox = [&] {
    const int32_t slot = scene.createPrimitive(PrimitiveType::Box);
    selectObjects({slot});
    smooth(scene);
    ontoPlane(*scene.object(slot));
  };
  const std::function<void()> shapes[] = {[&] { addOnPlane(PrimitiveType::Cube); },
                                          [&] { addOnPlane(PrimitiveType::Sphere); }, smoothedBox};
  uint32_t seed = 1;
  for (const std::function<void()> &make : shapes) {
    scene.objects.clear(false);
    make();
    ASSERT_EQ(asymmetry(*scene.object(0)), "") << "shape " << seed;
    RandomSymmetric sequence(scene, seed++);
    for (int32_t n = 0; n < 220; ++n) {
      if (!scene.object(0) || scene.object(0)->faces.count() > 3000) {
        scene.objects.clear(false);
        make();
      }
      const int32_t op = sequence.step();
      if (!scene.object(0))
        continue; // collapsed away
      const std::string what = "shape " + std::to_string(seed - 1) + " step " + std::to_string(n) +
                               " operation " + std::to_string(op);
      ASSERT_NO_THROW(requireSoundMesh(*scene.object(0))) << what;
      ASSERT_TRUE(objectLocallyValid(*scene.object(0), false)) << what;
      ASSERT_EQ(ui.status.rfind("not symmetric", 0), std::string::npos) << what;
      ASSERT_EQ(asymmetry(*scene.object(0)), "") << what;
    }
  }
}

// The topology edits where a selected element meets its own mirror image: on the plane, across
// it, or sharing a vertex with its image there. Each must run and leave the object symmetric,
// valid, and with its plane vertices exactly on the plane.
TEST_F(SymmetryTest, EditsOfElementsMeetingTheirOwnImagesComeOutSymmetric) {
  const auto vertexNear = [](const moObject &obj, const moVec3 &p) {
    int32_t best = -1;
    for (int32_t v = 0; v < obj.vertices.count(); ++v)
      if (obj.vertices[v].active() &&
          (best == -1 ||
           distance(obj.vertices[v].Coordinates, p) < distance(obj.vertices[best].Coordinates, p)))
        best = v;
    return best;
  };
  // A sphere edge from a vertex on the plane (off the poles) to its neighbour with x = 0 (alongside
  // the plane) or x > 0 (touching it).
  const auto sphereEdge = [](const moObject &obj, bool alongPlane) {
    for (int32_t e = 0; e < obj.edges.count(); ++e) {
      const moVec3 &a = obj.vertices[obj.edges[e].Tail].Coordinates;
      const moVec3 &b = obj.vertices[obj.edges[e].Head].Coordinates;
      if (a.x == 0 && std::fabs(a.y) < 15 && std::fabs(b.y) < 15 && (b.x == 0) == alongPlane &&
          b.x >= 0)
        return e;
    }
    return -1;
  };
  struct Case {
    const char *what;
    PrimitiveType shape;
    std::function<bool(const moObject &)> select; // selects elements and returns whether it could
    std::function<bool()> edit;
    int32_t drag;
    float amount;
  };
  const auto select = [&](SelectionMode m, std::vector<int32_t> elements) {
    scene.SetMode(m);
    scene.clearSelection();
    for (int32_t e : elements)
      scene.selection.Append({e, 0});
    return std::find(elements.begin(), elements.end(), -1) == elements.end();
  };
  const Case cases[] = {
      {"bevel of an edge alongside the plane", PrimitiveType::Sphere,
       [&](const moObject &obj) { return select(moEDGES, {sphereEdge(obj, true)}); },
       [&] { return Bevel(scene); }, kDragBevel, 0.3f},
      {"bevel of an edge across the plane", PrimitiveType::Cube,
       [&](const moObject &obj) {
         return select(moEDGES, {obj.findEdge(vertexNear(obj, {10, 10, 10}),
                                              vertexNear(obj, {-10, 10, 10}))});
       },
       [&] { return Bevel(scene); }, kDragBevel, 0.3f},
      {"bevel of a vertex on the plane", PrimitiveType::Sphere,
       [&](const moObject &obj) {
         return select(moVERTICES, {obj.edges[sphereEdge(obj, true)].Tail});
       },
       [&] { return Bevel(scene); }, kDragBevel, 0.3f},
      {"inset of a face across the plane", PrimitiveType::Cube,
       [&](const moObject &obj) {
         return select(moFACES, {faceNear(obj, {0, 10, 0})});
       },
       [&] { return Inset(scene); }, kDragInset, 0.5f},
      {"connect of corners each facing its image", PrimitiveType::Cube,
       [&](const moObject &obj) {
         // The top edge of the +z face cut in three, then one cut point and one bottom corner:
         // with their images four corners of the face, two pairs of neighbours.
         if (!select(moEDGES, {obj.findEdge(vertexNear(obj, {10, 10, 10}),
                                            vertexNear(obj, {-10, 10, 10}))}) ||
             !CutEdges(scene, 3))
           return false;
         return select(moVERTICES, {vertexNear(obj, {3, 10, 10}), vertexNear(obj, {10, -10, 10})});
       },
       [&] { return Connect(scene); }, kDragNone, 0},
      {"collapse of an edge alongside the plane", PrimitiveType::Sphere,
       [&](const moObject &obj) { return select(moEDGES, {sphereEdge(obj, true)}); },
       [&] { return Collapse(scene); }, kDragNone, 0},
      {"collapse of an edge touching the plane", PrimitiveType::Sphere,
       [&](const moObject &obj) { return select(moEDGES, {sphereEdge(obj, false)}); },
       [&] { return Collapse(scene); }, kDragNone, 0},
      {"extrusion of a vertex on the plane", PrimitiveType::Sphere,
       [&](const moObject &obj) {
         return select(moVERTICES, {obj.edges[sphereEdge(obj, true)].Tail});
       },
       [&] { return Extrude(scene, 3.0f, true); }, kDragMoveNormal, 4.0f},
  };
  for (const Case &c : cases) {
    scene.objects.clear(false);
    addOnPlane(c.shape);
    const moObject &obj = *scene.object(0);
    ASSERT_TRUE(c.select(obj)) << c.what;
    const int32_t edges = liveEdges(obj);
    ui.status.clear();
    ASSERT_TRUE(c.edit()) << c.what << ": " << ui.status;
    if (c.drag != kDragNone) {
      ASSERT_TRUE(applyDragAmount(scene, c.drag, c.amount, {})) << c.what;
    }
    const moObject &now = *scene.object(0);
    EXPECT_NE(liveEdges(now), edges) << c.what;
    EXPECT_NO_THROW(requireSoundMesh(now)) << c.what;
    EXPECT_TRUE(objectLocallyValid(now, false)) << c.what;
    EXPECT_EQ(asymmetry(now), "") << c.what;
  }
}

TEST_F(SymmetryTest, ExtrudingOnePlusXFaceExtrudesTheMinusXFaceAsFar) {
  const int32_t slot = addOnPlane(PrimitiveType::Cube);
  const moObject &cube = *scene.object(slot);
  const float side = cube.faceCentroid(faceNear(cube, {10, 0, 0})).x;
  selectFaces({{faceNear(cube, {10, 0, 0}), slot}});
  const size_t steps = scene.undoStepCount();
  ASSERT_TRUE(Extrude(scene, 3.0f, true));
  ASSERT_TRUE(applyDragAmount(scene, kDragMoveNormal, 1.5f, {}));
  EXPECT_EQ(cube.faces.count(), 6 + 2 * 4);
  EXPECT_NEAR(cube.faceCentroid(faceNear(cube, {10, 0, 0})).x, side + 1.5f, 1e-5f);
  EXPECT_NEAR(cube.faceCentroid(faceNear(cube, {-10, 0, 0})).x, -side - 1.5f, 1e-5f);
  EXPECT_EQ(asymmetry(cube), "");
  // Both halves are one step: its undo gives the plain cube back.
  EXPECT_EQ(scene.undoStepCount(), steps + 1);
  ASSERT_TRUE(scene.UndoStep());
  EXPECT_EQ(scene.object(slot)->faces.count(), 6);
}

TEST_F(SymmetryTest, MovesAlongAndAcrossThePlaneMirrorAndPlaneVerticesStayOnIt) {
  const int32_t slot = addOnPlane(PrimitiveType::Sphere);
  moObject &sphere = *scene.object(slot);
  // Two faces on the +x side, one of them touching the plane.
  selectFaces({{faceNear(sphere, {10, 3, 0}), slot}, {faceNear(sphere, {0.1f, 10, 10}), slot}});
  for (const int32_t kind : {kDragMoveAxis, kDragRotateAxis, kDragScaleAxis}) {
    const bool rotate = kind == kDragRotateAxis;
    ASSERT_TRUE(rotate                   ? Rotate(scene, false, true)
                : kind == kDragScaleAxis ? Scale(scene)
                                         : Move(scene, false));
    DragMotion context;
    for (int32_t axis = 0; axis < 3; ++axis) {
      context.axis = unitAxis(axis);
      applyDragAmount(scene, kind, rotate ? 20.0f : kind == kDragScaleAxis ? 1.3f : 0.7f, context);
    }
    EXPECT_EQ(asymmetry(sphere), "") << "drag kind " << kind;
    EXPECT_TRUE(objectLocallyValid(sphere, false)) << "drag kind " << kind;
  }
}

TEST_F(SymmetryTest, AMissingMirrorChangesTheSelectionAlone) {
  const int32_t slot = addOnPlane(PrimitiveType::Cube);
  moObject &cube = *scene.object(slot);
  const int32_t plus = faceNear(cube, {10, 0, 0}), minus = faceNear(cube, {-10, 0, 0});
  // One corner of the -x face moved: the +x face has no mirror any more.
  moVec3 &corner = cube.vertices[cube.startVertex(cube.faces[minus].EdgeIndex, minus)].Coordinates;
  corner.y += 0.25f;
  const moObject before = cube;
  selectFaces({{plus, slot}});
  ASSERT_TRUE(Move(scene, false));
  DragMotion context;
  ASSERT_TRUE(applyDragAmount(scene, kDragMoveAxis, 2.0f, context));
  EXPECT_EQ(ui.status, "not symmetric: 1 elements have no mirror");
  for (int32_t v = 0; v < cube.vertices.count(); ++v) {
    const float moved = cube.vertices[v].Coordinates.x - before.vertices[v].Coordinates.x;
    EXPECT_EQ(moved, before.vertices[v].Coordinates.x > 0 ? 2.0f : 0.0f) << "vertex " << v;
  }
}

} // namespace
