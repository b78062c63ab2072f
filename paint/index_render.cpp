#include "paint/index_render.h"

#include "core/face_triangulation.h"

#include <GL/gl.h>
#include <algorithm>

namespace {

int32_t usableBits(int32_t bits) { return std::clamp(bits, 1, 8); }

// Per-corner positions and colours for one glDrawArrays of triangles.
struct TriangleBatch {
  std::vector<float> positions;
  std::vector<uint8_t> colours;

  void clear() {
    positions.clear();
    colours.clear();
  }
  void corner(const moVec3 &p, const uint8_t rgb[3]) {
    positions.insert(positions.end(), {p.x, p.y, p.z});
    colours.insert(colours.end(), rgb, rgb + 3);
  }
  void draw() const {
    if (positions.empty())
      return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    glColorPointer(3, GL_UNSIGNED_BYTE, 0, colours.data());
    glDrawArrays(GL_TRIANGLES, 0, GLsizei(positions.size() / 3));
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
  }
};

bool validCorner(const moObject &obj, int32_t v) {
  return obj.vertices.contains(v) && obj.vertices[v].active();
}

// The paint triangles of a sensitive object, each in the colour of its index or white.
void addPaintTriangles(const Scene &scene, const PaintCanvas &canvas, const ColourDepths &depths,
                       const moObject &obj, int64_t base, TriangleBatch &batch) {
  const bool masking = canvas.maskOn && scene.mode == moFACES;
  std::vector<uint8_t> selectedFaces;
  if (masking) {
    selectedFaces.assign(size_t(obj.faces.count()), 0);
    for (int32_t i = 0; i < scene.selection.Count(); ++i) {
      const ElementRef ref = scene.selection.Get(i);
      if (scene.object(ref.object) == &obj && obj.faces.contains(ref.element))
        selectedFaces[size_t(ref.element)] = 1;
    }
  }
  const uint32_t limit = encodableIndices(depths);
  const uint8_t white[3] = {255, 255, 255};
  const int32_t count = paintTriangleCount(obj);
  for (int32_t t = 0; t < count; ++t) {
    const int32_t *v = &obj.triangleVertices[3 * t];
    if (!validCorner(obj, v[0]) || !validCorner(obj, v[1]) || !validCorner(obj, v[2]))
      continue;
    const int32_t f = obj.triangleFaces[t];
    const bool masked = masking && obj.faces.contains(f) &&
                        (selectedFaces[size_t(f)] != 0) != (canvas.maskInverse != 0);
    const int64_t k = base + t;
    uint8_t rgb[3];
    if (masked || k >= limit)
      std::copy(white, white + 3, rgb);
    else
      encodePaintIndex(uint32_t(k), depths, rgb);
    for (int32_t c = 0; c < 3; ++c)
      batch.corner(obj.vertices[v[c]].Coordinates, rgb);
  }
}

// The faces of an insensitive object in black: it hides what lies behind it.
void addBlackFaces(const moObject &obj, TriangleBatch &batch) {
  std::vector<int32_t> corners, triangles;
  const uint8_t black[3] = {0, 0, 0};
  for (int32_t f = 0; f < obj.faces.count(); ++f) {
    if (!obj.faces[f].active())
      continue;
    try {
      obj.faceVertices(f, corners);
    } catch (const moInvalidTopologyException &) {
      continue;
    }
    triangles.clear();
    faceTriangles(obj, f, corners, triangles);
    for (int32_t position : triangles)
      batch.corner(obj.vertices[corners[size_t(position)]].Coordinates, black);
  }
}

void applyCamera(const View &view) {
  view.camera.ApplyProjection();
  view.camera.LoadViewTransform(true);
}

} // namespace

ColourDepths currentColourDepths() {
  GLint r = 0, g = 0, b = 0;
  glGetIntegerv(GL_RED_BITS, &r);
  glGetIntegerv(GL_GREEN_BITS, &g);
  glGetIntegerv(GL_BLUE_BITS, &b);
  return {usableBits(r), usableBits(g), usableBits(b)};
}

void encodePaintIndex(uint32_t k, const ColourDepths &d, uint8_t rgb[3]) {
  const uint32_t v = k + 1;
  const int32_t bits[3] = {usableBits(d.red), usableBits(d.green), usableBits(d.blue)};
  int32_t shift = 0;
  for (int c = 0; c < 3; ++c) {
    rgb[c] = uint8_t(((v >> shift) & ((1u << bits[c]) - 1)) << (8 - bits[c]));
    shift += bits[c];
  }
}

uint32_t decodePaintIndex(const uint8_t rgb[3], const ColourDepths &d) {
  const int32_t bits[3] = {usableBits(d.red), usableBits(d.green), usableBits(d.blue)};
  uint32_t v = 0;
  int32_t shift = 0;
  for (int c = 0; c < 3; ++c) {
    v |= uint32_t(rgb[c] >> (8 - bits[c])) << shift;
    shift += bits[c];
  }
  return v == 0 ? kNoPaintIndex : v - 1;
}

uint32_t encodableIndices(const ColourDepths &d) {
  const int32_t bits = usableBits(d.red) + usableBits(d.green) + usableBits(d.blue);
  return (1u << bits) - 2; // value 0 is the background, all ones the mask's white
}

std::vector<int64_t> paintIndexBases(const Scene &scene, uint32_t &total) {
  std::vector<int64_t> bases(size_t(std::max(scene.objects.count(), 0)), -1);
  int64_t sum = 0;
  for (int32_t i = 0; i < scene.objects.count(); ++i) {
    const moObject *obj = scene.object(i);
    if (!obj || !obj->visible || !obj->sensitive)
      continue;
    bases[size_t(i)] = sum;
    sum += paintTriangleCount(*obj);
  }
  total = uint32_t(std::min<int64_t>(sum, kNoPaintIndex - 1));
  return bases;
}

void IndexRender(const Scene &scene, const View &view, PaintCanvas &canvas) {
  const ColourDepths depths = currentColourDepths();
  uint32_t total = 0;
  const std::vector<int64_t> bases = paintIndexBases(scene, total);
  canvas.triangleTotal = std::min(total, encodableIndices(depths));
  glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_ENABLE_BIT | GL_LIGHTING_BIT);
  glShadeModel(GL_FLAT); // one colour per triangle: nothing to interpolate
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  for (GLenum off : {GL_LIGHTING, GL_TEXTURE_2D, GL_BLEND, GL_DITHER})
    glDisable(off);
  applyCamera(view);
  thread_local TriangleBatch batch;
  for (int32_t i = 0; i < scene.objects.count(); ++i) {
    const moObject *obj = scene.object(i);
    if (!obj || !obj->visible)
      continue;
    batch.clear();
    if (bases[size_t(i)] >= 0)
      addPaintTriangles(scene, canvas, depths, *obj, bases[size_t(i)], batch);
    else
      addBlackFaces(*obj, batch);
    batch.draw();
  }
  glPopAttrib();

  const int32_t w = canvas.width(), h = canvas.height();
  const bool redOnly = int64_t(canvas.triangleTotal) + 2 < (int64_t(1) << depths.red);
  thread_local std::vector<uint8_t> read;
  read.resize(size_t(w) * size_t(h) * (redOnly ? 1 : 4));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, w, h, redOnly ? GL_RED : GL_RGBA, GL_UNSIGNED_BYTE, read.data());
  const size_t stride = redOnly ? 1 : 4;
  if (depths.red == 8 && depths.green == 8 && depths.blue == 8) {
    // Full bytes: the index is the colour's low three bytes minus one (black wraps to none).
    for (size_t p = 0; p < canvas.index.size(); ++p) {
      const uint8_t *c = &read[p * stride];
      canvas.index[p] =
          (redOnly ? uint32_t(c[0]) : (c[0] | uint32_t(c[1]) << 8 | uint32_t(c[2]) << 16)) - 1;
    }
    return;
  }
  for (size_t p = 0; p < canvas.index.size(); ++p) {
    const uint8_t *c = &read[p * stride];
    const uint8_t rgb[3] = {c[0], redOnly ? uint8_t(0) : c[1], redOnly ? uint8_t(0) : c[2]};
    canvas.index[p] = decodePaintIndex(rgb, depths);
  }
}

void ShadeRender(const Scene &scene, const View &view, PaintCanvas &canvas) {
  glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  applyCamera(view);
  glEnable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  // Without colour material the corner colours of the surfaces leave the material white.
  glDisable(GL_COLOR_MATERIAL);
  const float white[4] = {1, 1, 1, 1};
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, white);
  for (int32_t i = 0; i < scene.objects.count(); ++i) {
    const moObject *obj = scene.object(i);
    if (obj && obj->visible && obj->shaded)
      view.renderer.drawSurface(i);
  }
  glPopAttrib();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, canvas.width(), canvas.height(), GL_RED, GL_UNSIGNED_BYTE,
               canvas.shade.data());
}
