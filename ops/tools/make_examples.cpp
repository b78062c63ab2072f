// Builds the example scenes shipped in Models/ with the program's own primitives and operations
// (Extrude, Smooth, Apply Color), fitting each primitive into a box as Move and Scale would:
//   make_examples FOLDER
#include "ops/edge_ops.h"
#include "ops/extrude.h"
#include "ops/smooth.h"
#include "scene/recording_ui.h"
#include "scene/scene.h"
#include "scene/scene_file.h"
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

namespace {

using Fn = std::function<moVec3(moVec3)>;
bool failed = false;

void check(bool ok, const std::string &what) {
  if (!ok) {
    std::fprintf(stderr, "make_examples: %s failed\n", what.c_str());
    failed = true;
  }
}

void each(moObject &o, const Fn &f, int32_t from = 0) {
  for (int32_t i = from; i < o.vertices.count(); ++i)
    if (o.vertices[i].active())
      o.vertices[i].Coordinates = f(o.vertices[i].Coordinates);
}
void bounds(const moObject &o, moVec3 &lo, moVec3 &hi) {
  lo = {1e9f, 1e9f, 1e9f};
  hi = {-1e9f, -1e9f, -1e9f};
  for (int32_t i = 0; i < o.vertices.count(); ++i)
    if (o.vertices[i].active()) {
      const moVec3 p = o.vertices[i].Coordinates;
      lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
      hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
}
// A new primitive fitted into the box from corner a to corner b.
int32_t fitted(Scene &s, PrimitiveType t, moVec3 a, moVec3 b) {
  const int32_t slot = s.createPrimitive(t);
  moObject &o = *s.objects.get(slot);
  moVec3 lo, hi;
  bounds(o, lo, hi);
  each(o, [&](moVec3 p) {
    return moVec3{a.x + (p.x - lo.x) / (hi.x - lo.x) * (b.x - a.x),
                  a.y + (p.y - lo.y) / (hi.y - lo.y) * (b.y - a.y),
                  a.z + (p.z - lo.z) / (hi.z - lo.z) * (b.z - a.z)};
  });
  return slot;
}
void selectObject(Scene &s, int32_t slot) {
  s.clearSelection();
  s.SetMode(moOBJECTS);
  s.selection.Append({slot, slot});
}
// Apply Color on the object, as the objects menu does it.
void colour(Scene &s, int32_t slot, float r, float g, float b) {
  selectObject(s, slot);
  s.SetCurrentColour({uint8_t(r * 255), uint8_t(g * 255), uint8_t(b * 255), 255});
  check(ApplyColor(s), "Apply Color");
  s.clearSelection();
}
void smoothObject(Scene &s, int32_t slot) {
  selectObject(s, slot);
  check(smooth(s), "Smooth");
  s.clearSelection();
}
void save(Scene &s, const char *path, RecordingUi &ui) {
  s.clearSelection();
  for (int32_t i = 0; i < s.objects.count(); ++i)
    if (moObject *o = s.objects.get(i))
      each(*o, [](moVec3 p) { return moVec3{p.x * 5, p.y * 5, p.z * 5}; });
  const bool saved = saveSceneFile(s, path, false);
  check(saved,
        std::string("saving ") + path + (ui.messages.empty() ? "" : ": " + ui.messages.back()));
}

void makeTable(const std::string &dir) {
  using P = PrimitiveType;
  RecordingUi ui;
  Scene s(ui);
  colour(s, fitted(s, P::Cube, {-1.2f, 1.0f, -0.7f}, {1.2f, 1.15f, 0.7f}), 0.55f, 0.35f, 0.2f);
  for (float x : {-1.05f, 0.95f})
    for (float z : {-0.55f, 0.45f})
      colour(s, fitted(s, P::Cylinder, {x, 0, z}, {x + 0.1f, 1.0f, z + 0.1f}), 0.45f, 0.28f, 0.15f);
  save(s, (dir + "/table.mvo").c_str(), ui);
}

void makeSnowman(const std::string &dir) {
  using P = PrimitiveType;
  RecordingUi ui;
  Scene s(ui);
  const moVec3 balls[3][2] = {{{-0.9f, 0, -0.9f}, {0.9f, 1.6f, 0.9f}},
                              {{-0.65f, 1.45f, -0.65f}, {0.65f, 2.6f, 0.65f}},
                              {{-0.45f, 2.5f, -0.45f}, {0.45f, 3.3f, 0.45f}}};
  for (const auto &b : balls) {
    const int32_t ball = fitted(s, P::Icosahedron, b[0], b[1]);
    smoothObject(s, ball);
    colour(s, ball, 0.95f, 0.95f, 1);
  }
  colour(s, fitted(s, P::Octahedron, {-0.22f, 2.95f, 0.36f}, {-0.1f, 3.07f, 0.46f}), 0.05f, 0.05f,
         0.05f);
  colour(s, fitted(s, P::Octahedron, {0.1f, 2.95f, 0.36f}, {0.22f, 3.07f, 0.46f}), 0.05f, 0.05f,
         0.05f);
  // The nose: a cone turned to point forward (+z).
  const int32_t nose = fitted(s, P::Cone, {-0.07f, 0, -0.07f}, {0.07f, 0.5f, 0.07f});
  each(*s.objects.get(nose), [](moVec3 p) { return moVec3{p.x, 2.85f - p.z, 0.38f + p.y}; });
  colour(s, nose, 1.0f, 0.5f, 0.05f);
  save(s, (dir + "/snowman.mvo").c_str(), ui);
}

void makeHouse(const std::string &dir) {
  using P = PrimitiveType;
  RecordingUi ui;
  Scene s(ui);
  const int32_t house = fitted(s, P::Cube, {-1, 0, -0.8f}, {1, 1.2f, 0.8f});
  moObject &o = *s.objects.get(house);
  int32_t top = -1;
  for (int32_t f = 0; f < o.faces.count(); ++f)
    if (o.faces[f].active() && o.faceNormal(f, true).y > 0.9f)
      top = f;
  s.SetMode(moFACES);
  s.selection.Append({top, house});
  const int32_t before = o.vertices.count();
  check(Extrude(s, 3.0f, true), "Extrude");
  // The roof: the extruded top pulled up and pinched into a ridge along x.
  const Fn roof = [](moVec3 p) { return moVec3{p.x * 0.9f, p.y + 0.8f, p.z * 0.02f}; };
  each(*s.objects.get(house), roof, before);
  colour(s, house, 0.85f, 0.75f, 0.6f);
  colour(s, fitted(s, P::Cube, {0.45f, 1.4f, -0.45f}, {0.7f, 2.2f, -0.2f}), 0.6f, 0.2f, 0.15f);
  save(s, (dir + "/house.mvo").c_str(), ui);
}

void makePebbles(const std::string &dir) {
  using P = PrimitiveType;
  RecordingUi ui;
  Scene s(ui);
  const float sizes[3][6] = {{-1.6f, 0, -0.5f, -0.4f, 0.6f, 0.5f},
                             {-0.2f, 0, -0.7f, 0.6f, 0.9f, 0.3f},
                             {0.9f, 0, -0.2f, 1.5f, 0.35f, 0.6f}};
  const float colours[3][3] = {{0.5f, 0.5f, 0.55f}, {0.7f, 0.6f, 0.45f}, {0.35f, 0.4f, 0.3f}};
  for (int i = 0; i < 3; ++i) {
    const float *z = sizes[i];
    const int32_t pebble = fitted(s, P::Cube, {z[0], z[1], z[2]}, {z[3], z[4], z[5]});
    smoothObject(s, pebble);
    colour(s, pebble, colours[i][0], colours[i][1], colours[i][2]);
  }
  save(s, (dir + "/pebbles.mvo").c_str(), ui);
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_examples FOLDER\n");
    return 2;
  }
  for (void (*make)(const std::string &) : {makeHouse, makePebbles, makeSnowman, makeTable})
    make(argv[1]);
  return failed ? 1 : 0;
}
