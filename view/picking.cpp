#include "view/picking.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include <limits>

bool hoverPickAllFaces = false;

namespace {

constexpr int32_t kHoverNames = 100;
constexpr double kHoverRegion = 5;

bool usable(const moObject &obj) { return obj.visible && obj.sensitive; }

// Projection of the camera as displayed, narrowed to the pick rectangle, and the camera
// transform; restored by the destructor.
class PickProjection {
public:
  PickProjection(const Camera &camera, double x, double y, double width, double height) {
    GLint viewport[4] = {0, 0, camera.width, camera.height};
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPickMatrix(x, y, width, height, viewport);
    glMultMatrixf(camera.projectionMatrix().m);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    camera.LoadViewTransform(true);
  }
  ~PickProjection() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
  }
};

// Window-space bounds of every face of obj, from the projected ends of its edges; a face with a
// corner at or behind the eye plane is marked unbounded.
struct FaceBounds {
  std::vector<float> minX, maxX, minY, maxY;
  std::vector<uint8_t> unbounded;
};

void faceBounds(const moObject &obj, const Camera &camera, FaceBounds &b) {
  const moMatrix4 m = product(camera.projectionMatrix(), camera.viewMatrix());
  const size_t nv = size_t(obj.vertices.count()), nf = size_t(obj.faces.count());
  thread_local std::vector<float> wx, wy;
  thread_local std::vector<uint8_t> behind;
  wx.assign(nv, 0);
  wy.assign(nv, 0);
  behind.assign(nv, 0);
  for (size_t v = 0; v < nv; ++v) {
    const moVec3 &p = obj.vertices[int32_t(v)].Coordinates;
    const double w = double(m.m[3]) * p.x + double(m.m[7]) * p.y + double(m.m[11]) * p.z + m.m[15];
    if (!(w > 1e-6)) {
      behind[v] = 1;
      continue;
    }
    const double cx = double(m.m[0]) * p.x + double(m.m[4]) * p.y + double(m.m[8]) * p.z + m.m[12];
    const double cy = double(m.m[1]) * p.x + double(m.m[5]) * p.y + double(m.m[9]) * p.z + m.m[13];
    wx[v] = float((cx / w + 1) * camera.width / 2);
    wy[v] = float((cy / w + 1) * camera.height / 2);
  }
  const float inf = std::numeric_limits<float>::infinity();
  b.minX.assign(nf, inf);
  b.minY.assign(nf, inf);
  b.maxX.assign(nf, -inf);
  b.maxY.assign(nf, -inf);
  b.unbounded.assign(nf, 0);
  for (const moEdge &d : obj.edges) {
    if (!d.active())
      continue;
    for (int32_t f : {d.LeftFace, d.RightFace}) {
      if (f < 0 || size_t(f) >= nf)
        continue;
      for (int32_t v : {d.Head, d.Tail}) {
        if (v < 0 || size_t(v) >= nv || behind[size_t(v)]) {
          b.unbounded[size_t(f)] = 1;
          continue;
        }
        b.minX[size_t(f)] = std::min(b.minX[size_t(f)], wx[size_t(v)]);
        b.maxX[size_t(f)] = std::max(b.maxX[size_t(f)], wx[size_t(v)]);
        b.minY[size_t(f)] = std::min(b.minY[size_t(f)], wy[size_t(v)]);
        b.maxY[size_t(f)] = std::max(b.maxY[size_t(f)], wy[size_t(v)]);
      }
    }
  }
}

// The faces that can reach the square of half-size `half` around (x, y), from the last to the
// first as the pick list draws them. A pixel of margin keeps the test conservative.
void candidateFaces(const moObject &obj, const Camera &camera, double x, double y, double half,
                    std::vector<int32_t> &out) {
  thread_local FaceBounds b;
  faceBounds(obj, camera, b);
  const double r = half + 1;
  out.clear();
  for (int32_t f = obj.faces.count() - 1; f >= 0; --f) {
    if (!obj.faces[f].active())
      continue;
    const size_t i = size_t(f);
    if (hoverPickAllFaces || b.unbounded[i] ||
        (b.maxX[i] >= x - r && b.minX[i] <= x + r && b.maxY[i] >= y - r && b.minY[i] <= y + r))
      out.push_back(f);
  }
}

// The name of the record with the smallest minimum depth (earlier records win ties), walking at
// most `size` names; false without a hit.
bool nearestHit(const GLuint *buffer, GLint hits, int32_t size, GLuint &name) {
  bool found = false;
  GLuint best = 0;
  int32_t i = 0;
  for (GLint record = 0; (hits < 0 || record < hits) && i + 3 <= size; ++record) {
    const GLuint count = buffer[i], depth = buffer[i + 1];
    if (count == 0 || i + 3 + int64_t(count) > size)
      break;
    if (!found || depth < best) {
      found = true;
      best = depth;
      name = buffer[i + 3];
    }
    i += 3 + int32_t(count);
  }
  return found;
}

bool toWindow(const Camera &camera, const moVec3 &p, double &x, double &y) {
  moVec3 w;
  const bool ok = project(p, camera.viewMatrix(), camera.projectionMatrix(), camera.viewport(), w);
  x = w.x;
  y = w.y;
  return ok;
}

// Keeps the best and second-best squared distance; the index of the best.
struct Nearest {
  double best = 100000, second = 100000;
  int32_t index = -1;
  void offer(double d, int32_t i) {
    if (d < best) {
      second = best;
      best = d;
      index = i;
    } else if (d < second) {
      second = d;
    }
  }
  int32_t result(double ratio) const { return best / second <= ratio ? index : -1; }
};

double segmentDistance2(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
  const double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
  const double cx = t <= 0 ? ax : t >= 1 ? bx : ax + t * dx;
  const double cy = t <= 0 ? ay : t >= 1 ? by : ay + t * dy;
  return (px - cx) * (px - cx) + (py - cy) * (py - cy);
}

} // namespace

int32_t NearestFaceVertex(const Camera &camera, double x, double y, const moObject &obj, int32_t f,
                          double ratio) {
  if (!obj.faces.contains(f) || !obj.faces[f].active())
    return -1;
  Nearest nearest;
  obj.forEachEdgeOfFace(f, false, [&](int32_t e) {
    const int32_t v = obj.endVertex(e, f);
    double wx = 0, wy = 0;
    toWindow(camera, obj.vertices[v].Coordinates, wx, wy);
    nearest.offer((wx - x) * (wx - x) + (wy - y) * (wy - y), v);
  });
  return nearest.result(ratio);
}

int32_t NearestFaceEdge(const Camera &camera, UserInterface &ui, double x, double y,
                        const moObject &obj, int32_t f, double ratio) {
  if (!obj.faces.contains(f) || !obj.faces[f].active())
    return -1;
  Nearest nearest;
  obj.forEachEdgeOfFace(f, false, [&](int32_t e) {
    const moEdge &d = obj.edges[e];
    double ax = 0, ay = 0, bx = 0, by = 0;
    if (!toWindow(camera, obj.vertices[d.Tail].Coordinates, ax, ay))
      ui.messageBox("gluProject returned failure - A");
    if (!toWindow(camera, obj.vertices[d.Head].Coordinates, bx, by))
      ui.messageBox("gluProject returned failure - B");
    nearest.offer(segmentDistance2(x, y, ax, ay, bx, by), e);
  });
  return nearest.result(ratio);
}

void HoverPick(const Scene &scene, SceneRenderer &renderer, const Camera &camera, UserInterface &ui,
               int32_t x, int32_t y) {
  const double px = x, py = double(camera.height) - y;
  GLuint buffer[kHoverNames];
  glSelectBuffer(kHoverNames, buffer);
  glRenderMode(GL_SELECT);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glInitNames();
  glPushName(0);
  {
    const PickProjection pick(camera, px, py, kHoverRegion, kHoverRegion);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    thread_local std::vector<int32_t> faces;
    for (int32_t i = 0; i < scene.objects.count(); ++i) {
      const moObject *obj = scene.object(i);
      if (!obj || !usable(*obj))
        continue;
      candidateFaces(*obj, camera, px, py, kHoverRegion / 2, faces);
      renderer.drawNamedFaces(*obj, i, faces);
    }
    glEnable(GL_LIGHTING);
  }
  const GLint hits = glRenderMode(GL_RENDER);
  glFlush();
  GLuint name = 0;
  if (hits == 0 || !nearestHit(buffer, hits, kHoverNames, name)) {
    renderer.resetHover();
    return;
  }
  const int32_t o = int32_t(name >> 16), f = int32_t(name & 0xFFFF);
  const moObject &obj = *scene.object(o);
  const int32_t kind = scene.selection.Empty() ? renderer.pickKind() : scene.mode;
  int32_t hoverKind = renderer.hoverKind(), element = f;
  switch (kind) {
  case moVERTICES:
    hoverKind = moVERTICES;
    element = NearestFaceVertex(camera, px, py, obj, f, 1.01);
    break;
  case moEDGES:
    hoverKind = moEDGES;
    element = NearestFaceEdge(camera, ui, px, py, obj, f, 1.0);
    break;
  case moFACES:
    hoverKind = moFACES;
    break;
  case moOBJECTS:
    hoverKind = moOBJECTS;
    element = o;
    break;
  case moFREE: {
    const int32_t v = NearestFaceVertex(camera, px, py, obj, f, 0.2);
    const int32_t e = v == -1 ? NearestFaceEdge(camera, ui, px, py, obj, f, 0.5) : -1;
    hoverKind = v != -1 ? moVERTICES : e != -1 ? moEDGES : moFACES;
    element = v != -1 ? v : e != -1 ? e : f;
    break;
  }
  default:
    break;
  }
  renderer.setHover(hoverKind, o, element);
}

namespace {

// Draws every element of the kind under its pick name (objects: the object index over all its
// edges).
void drawRegionNames(const moObject &obj, int32_t slot, int32_t kind,
                     const SceneRenderer &renderer) {
  const auto vertex = [&](int32_t v) {
    const moVec3 &p = obj.vertices[v].Coordinates;
    glVertex3f(p.x, p.y, p.z);
  };
  const auto edges = [&](bool named) {
    for (int32_t e = 0; e < obj.edges.count(); ++e) {
      if (!obj.edges[e].active())
        continue;
      if (named)
        glLoadName(SceneRenderer::pickName(slot, e));
      glBegin(GL_LINES);
      vertex(obj.edges[e].Tail);
      vertex(obj.edges[e].Head);
      glEnd();
    }
  };
  if (kind == moVERTICES) {
    for (int32_t v = 0; v < obj.vertices.count(); ++v) {
      if (!obj.vertices[v].active())
        continue;
      glLoadName(SceneRenderer::pickName(slot, v));
      glBegin(GL_POINTS);
      vertex(v);
      glEnd();
    }
  } else if (kind == moEDGES) {
    edges(true);
  } else if (kind == moFACES) {
    std::vector<int32_t> faces;
    for (int32_t f = obj.faces.count() - 1; f >= 0; --f)
      if (obj.faces[f].active())
        faces.push_back(f);
    renderer.drawNamedFaces(obj, slot, faces);
  } else {
    glLoadName(GLuint(slot));
    edges(false);
  }
}

} // namespace

void RegionPick(Scene &scene, const SceneRenderer &renderer, const Camera &camera, int32_t centreX,
                int32_t centreY, int32_t width, int32_t height, int32_t kind, int32_t bufferSize) {
  if (kind < moVERTICES || kind > moOBJECTS || bufferSize <= 0 || width <= 0 || height <= 0)
    return;
  std::vector<GLuint> buffer(static_cast<size_t>(bufferSize));
  glSelectBuffer(bufferSize, buffer.data());
  glRenderMode(GL_SELECT);
  glDisable(GL_CULL_FACE);
  glInitNames();
  glPushName(0);
  {
    const PickProjection pick(camera, centreX, centreY, width, height);
    for (int32_t i = 0; i < scene.objects.count(); ++i) {
      const moObject *obj = scene.object(i);
      if (obj && usable(*obj))
        drawRegionNames(*obj, i, kind, renderer);
    }
  }
  const GLint hits = glRenderMode(GL_RENDER);
  glCullFace(GL_BACK);
  glEnable(GL_CULL_FACE);
  size_t i = 0;
  for (GLint record = 0; record < hits && i + 3 < buffer.size(); ++record) {
    const GLuint count = buffer[i];
    if (count == 0 || i + 3 + count > buffer.size())
      break;
    const GLuint name = buffer[i + 3];
    const ElementRef ref = kind == moOBJECTS
                               ? ElementRef{int32_t(name), int32_t(name)}
                               : ElementRef{int32_t(name & 0xFFFF), int32_t(name >> 16)};
    if (scene.elementExists(ref, SelectionMode(kind)))
      scene.selection.Set(ref, true);
    i += 3 + count;
  }
}
