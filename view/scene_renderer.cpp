#include "view/scene_renderer.h"

#include "core/face_triangulation.h"
#include "core/mesh_normals.h"
#include "view/paint_textures.h"

#include <GL/gl.h>
#include <algorithm>
#include <vector>

namespace {

constexpr float kBackground = 156.0f / 255.0f;

bool usable(const moObject &obj) { return obj.visible && obj.sensitive; }

void vertex(const moVec3 &p) { glVertex3f(p.x, p.y, p.z); }

// Appends the vertex and colour of every corner of face f's triangles, in drawing order
// (counter-clockwise seen from outside); nothing for a face of fewer than three corners.
void triangleCorners(const moObject &obj, int32_t f, std::vector<int32_t> &vertices,
                     std::vector<moColor> &colours) {
  thread_local std::vector<int32_t> corners, triangles;
  thread_local std::vector<moColor> cornerColours;
  // One walk gives each corner and its colour, which the edge ending there stores.
  corners.clear();
  cornerColours.clear();
  obj.forEachEdgeOfFace(f, false, [&](int32_t e) {
    corners.push_back(obj.endVertex(e, f));
    cornerColours.push_back(obj.cornerColor(e, f));
  });
  triangles.clear();
  faceTriangles(obj, f, corners, triangles);
  for (int32_t index : triangles) {
    vertices.push_back(corners[size_t(index)]);
    colours.push_back(cornerColours[size_t(index)]);
  }
}

// The eye in world coordinates, where the view transform takes the origin from. The rotation part
// is orthonormal: the eye is -R^T t, the viewing axis R^T (0, 0, -1).
ObjectArrays::Eye eyeOf(const Camera &camera) {
  const moMatrix4 view = camera.viewMatrix();
  const moVec3 t{view.m[12], view.m[13], view.m[14]};
  const moVec3 column[3] = {{view.m[0], view.m[4], view.m[8]},
                            {view.m[1], view.m[5], view.m[9]},
                            {view.m[2], view.m[6], view.m[10]}};
  if (!camera.perspective)
    return {column[2], false}; // the reversed viewing axis
  return {
      scale(-1.0f, add(add(scale(t.x, column[0]), scale(t.y, column[1])), scale(t.z, column[2]))),
      true};
}

// Whether the context culls the clockwise triangles, as the frame's state has it.
bool backFacesCulled() {
  GLint mode = 0, front = 0;
  glGetIntegerv(GL_CULL_FACE_MODE, &mode);
  glGetIntegerv(GL_FRONT_FACE, &front);
  return glIsEnabled(GL_CULL_FACE) && mode == GL_BACK && front == GL_CCW;
}

} // namespace

void SceneRenderer::InitGlState(const Camera &camera) {
  glEnable(GL_CULL_FACE);
  glEnable(GL_COLOR_MATERIAL);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_NORMALIZE);
  glDisable(GL_DITHER);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  camera.SetupLights();
  glClearColor(kBackground, kBackground, kBackground, 1);
}

void SceneRenderer::setColourKind(ColourKind kind) {
  switch (kind) {
  case ColourKind::Surface: {
    const float white[4] = {1, 1, 1, 1}, spec[4] = {0.2f, 0.2f, 0.2f, 1}, black[4] = {0, 0, 0, 1};
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 100);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, spec);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, black);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glColor4fv(white);
    break;
  }
  case ColourKind::Selected:
    glColor4f(1, 0, 0, 1);
    break;
  case ColourKind::Mirrored:
    glColor4f(1, 0.45f, 0.85f, 1);
    break;
  case ColourKind::Hovered:
    glColor4f(0, 1, 0, 1);
    break;
  case ColourKind::HoveredSelected:
    glColor4f(1, 1, 0, 1);
    break;
  case ColourKind::Outline:
    glColor4f(0, 0, 0, 1);
    break;
  }
}

void SceneRenderer::emitFace(const moObject &obj, int32_t f, bool withColours) const {
  thread_local std::vector<int32_t> corners;
  thread_local std::vector<moColor> colours;
  corners.clear();
  colours.clear();
  triangleCorners(obj, f, corners, colours);
  if (!smooth_) {
    const moVec3 flat = obj.faceNormal(f, true);
    glNormal3f(flat.x, flat.y, flat.z);
  }
  for (size_t k = 0; k < corners.size(); ++k) {
    if (withColours)
      glColor3ub(colours[k].r, colours[k].g, colours[k].b);
    if (smooth_) {
      const moVec3 nv = cornerNormal(obj, corners[k], f);
      glNormal3f(nv.x, nv.y, nv.z);
    }
    vertex(obj.vertices[corners[k]].Coordinates);
  }
}

void SceneRenderer::drawNamedFaces(const moObject &obj, int32_t slot,
                                   const std::vector<int32_t> &faces) const {
  for (int32_t f : faces) {
    glLoadName(pickName(slot, f));
    glBegin(GL_TRIANGLES);
    emitFace(obj, f, false);
    glEnd();
  }
}

void SceneRenderer::RebuildObject(const Scene &scene, int32_t slot, bool full) {
  const moObject *obj = scene.object(slot);
  if (!obj || !obj->visible)
    return;
  if (drawings_.size() <= size_t(slot))
    drawings_.resize(size_t(slot) + 1);
  ObjectDrawing &d = drawings_[size_t(slot)];
  d.arrays.build(*obj, smooth_);
  d.withColours = colors_ && obj->showTexture;
  d.dragging = !full;
  // Drawing the arrays costs a frame what calling a list of them does, and compiling a list
  // costs more than building the arrays: only paint triangles, which the arrays lack, get one.
  d.listed = full && showsPaintTexture(*obj, textures_) && UploadTexture(*obj, slot);
  if (!d.listed)
    return;
  glNewList(drawList(slot), GL_COMPILE);
  emitPaintTriangles(*obj);
  glEndList();
}

void SceneRenderer::drawSurface(int32_t slot) const {
  if (size_t(slot) >= drawings_.size())
    return;
  const ObjectDrawing &d = drawings_[size_t(slot)];
  if (d.listed && !d.dragging)
    glCallList(drawList(slot));
  else
    d.arrays.draw(GL_TRIANGLES, d.arrays.triangles(), d.withColours);
}

void SceneRenderer::drawShadedSurface(const moObject &obj, int32_t slot) {
  ObjectDrawing &d = drawing(obj, slot);
  if (d.listed && !d.dragging)
    return glCallList(drawList(slot)); // paint triangles, which the highlight does not draw
  if (size_t(slot) < covered_.size() && covered_[size_t(slot)])
    return;
  if (!cullFaces_)
    return d.arrays.draw(GL_TRIANGLES, d.arrays.triangles(), d.withColours);
  if (d.facingGeneration != d.arrays.generation() || !equals(d.facingEye.at, eye_.at) ||
      d.facingEye.perspective != eye_.perspective) {
    d.facing.clear();
    d.arrays.appendFacing(d.arrays.triangles(), eye_, d.facing);
    d.facingEye = eye_;
    d.facingGeneration = d.arrays.generation();
  }
  d.arrays.draw(GL_TRIANGLES, d.facing, d.withColours);
}

void SceneRenderer::drawTriangles(const ObjectArrays &arrays, const std::vector<GLuint> &triangles,
                                  bool withColours) {
  if (!cullFaces_)
    return arrays.draw(GL_TRIANGLES, triangles, withColours);
  facing_.clear();
  arrays.appendFacing(triangles, eye_, facing_);
  arrays.draw(GL_TRIANGLES, facing_, withColours);
}

SceneRenderer::ObjectDrawing &SceneRenderer::drawing(const moObject &obj, int32_t slot) {
  if (drawings_.size() <= size_t(slot))
    drawings_.resize(size_t(slot) + 1);
  ObjectDrawing &d = drawings_[size_t(slot)];
  if (!d.arrays.built()) {
    d.arrays.build(obj, smooth_);
    d.withColours = colors_ && obj.showTexture;
  }
  return d;
}

void SceneRenderer::RebuildLists(const Scene &scene, bool full) {
  for (int32_t i = 0; i < scene.objects.count(); ++i)
    RebuildObject(scene, i, full);
}

void SceneRenderer::RebuildVertexLists(const Scene &scene) {
  for (int32_t i = 0; i < scene.objects.count(); ++i) {
    const moObject *obj = scene.object(i);
    if (obj && usable(*obj) && dragging(i))
      drawings_[size_t(i)].arrays.refill(*obj, smooth_);
  }
}

void SceneRenderer::drawEdges(const moObject &obj, int32_t slot, const Camera *camera) {
  const ObjectArrays &arrays = drawing(obj, slot).arrays;
  // Which faces look toward the eye: in perspective the eye is a point, orthographically a
  // direction.
  thread_local std::vector<uint8_t> facing;
  facing.clear();
  const std::vector<ObjectArrays::FacePlane> &planes = arrays.facePlanes();
  if (camera && planes.size() == size_t(obj.faces.count())) {
    const ObjectArrays::Eye eye = eyeOf(*camera);
    facing.resize(planes.size());
    for (size_t f = 0; f < facing.size(); ++f) {
      const moVec3 toEye = eye.perspective ? subtract(eye.at, planes[f].corner) : eye.at;
      facing[f] = dot(planes[f].normal, toEye) >= 0 ? 1 : 0;
    }
  }
  const auto seen = [&](int32_t face) {
    return face < 0 || size_t(face) >= facing.size() || facing[size_t(face)];
  };
  softEdges_.clear();
  hardEdges_.clear();
  for (int32_t e = 0; e < obj.edges.count(); ++e) {
    const moEdge &d = obj.edges[e];
    if (d.active() && (facing.empty() || seen(d.LeftFace) || seen(d.RightFace)))
      arrays.appendEdge(e, d.hard ? hardEdges_ : softEdges_);
  }
  // Every line has the same colour and the depth test keeps the nearest, so the order of the
  // two widths changes no pixel.
  glLineWidth(lineScale_);
  arrays.draw(GL_LINES, softEdges_, false);
  glLineWidth(3 * lineScale_);
  arrays.draw(GL_LINES, hardEdges_, false);
  glLineWidth(lineScale_);
}

void SceneRenderer::addHighlight(const Scene &scene, int32_t slot, int32_t element,
                                 ColourKind kind) {
  const moObject *obj = scene.object(slot);
  if (!obj || !usable(*obj))
    return;
  if (slot != batchSlot_ || kind != batchKind_)
    flushHighlights();
  batchSlot_ = slot;
  batchKind_ = kind;
  const ObjectArrays &arrays = drawing(*obj, slot).arrays;
  switch (hoverKind_) {
  case moVERTICES:
    if (obj->vertices.contains(element) && obj->vertices[element].active())
      arrays.appendVertex(element, batch_);
    break;
  case moEDGES:
    if (obj->edges.contains(element) && obj->edges[element].active())
      arrays.appendEdge(element, batch_);
    break;
  case moFACES:
    if (obj->faces.contains(element) && obj->faces[element].active())
      arrays.appendFace(element, batch_);
    break;
  case moOBJECTS:
    batch_.insert(batch_.end(), arrays.triangles().begin(), arrays.triangles().end());
    break;
  default:
    break;
  }
}

void SceneRenderer::flushHighlights() {
  if (batchSlot_ < 0 || size_t(batchSlot_) >= drawings_.size() || batch_.empty()) {
    batch_.clear();
    return;
  }
  setColourKind(batchKind_);
  const GLenum mode = hoverKind_ == moVERTICES ? GL_POINTS
                      : hoverKind_ == moEDGES  ? GL_LINES
                                               : GL_TRIANGLES;
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  const ObjectArrays &arrays = drawings_[size_t(batchSlot_)].arrays;
  if (mode == GL_TRIANGLES)
    drawTriangles(arrays, batch_, false);
  else
    arrays.draw(mode, batch_, false);
  batch_.clear();
}

template <typename Fn>
void SceneRenderer::forEachHighlight(const Scene &scene, InteractionMode mode, Fn fn) {
  const ElementRef hovered{hoverElement_, hoverObject_};
  const bool select = mode == InteractionMode::Select;
  mirrors_.update(scene);
  for (int32_t i = 0; i < scene.selection.Count(); ++i) {
    const ElementRef ref = scene.selection.Get(i);
    fn(ref.object, ref.element,
       select && ref == hovered ? ColourKind::HoveredSelected
       : mirrors_.isImage(ref)  ? ColourKind::Mirrored
                                : ColourKind::Selected);
  }
  for (const ElementRef &ref : mirrors_.unselected())
    fn(ref.object, ref.element, ColourKind::Mirrored);
  if (select && hoverElement_ != -1 && !scene.selection.Contains(hovered))
    fn(hoverObject_, hoverElement_, ColourKind::Hovered);
}

void SceneRenderer::findCoveredSurfaces(const Scene &scene, InteractionMode mode) {
  covered_.assign(size_t(std::max(scene.objects.count(), 0)), 0);
  if (!cullFaces_ || (hoverKind_ != moFACES && hoverKind_ != moOBJECTS))
    return;
  // Lit highlights pass the depth test wherever the surface under them does (they have no
  // polygon offset and test less-or-equal), and where they fail so would the surface: over an
  // object's every triangle they leave the same colours and depths with or without its surface.
  thread_local std::vector<std::vector<uint8_t>> marked; // per slot: faces counted
  thread_local std::vector<int32_t> counted;
  marked.resize(covered_.size());
  counted.assign(covered_.size(), 0);
  forEachHighlight(scene, mode, [&](int32_t slot, int32_t element, ColourKind) {
    const moObject *obj = scene.object(slot);
    if (!obj || !usable(*obj))
      return;
    const ObjectArrays &arrays = drawing(*obj, slot).arrays;
    const size_t s = size_t(slot);
    if (hoverKind_ == moOBJECTS) {
      covered_[s] = 1;
    } else if (obj->faces.contains(element) && obj->faces[element].active() &&
               arrays.drawsFace(element)) {
      if (counted[s] == 0)
        marked[s].assign(size_t(obj->faces.count()), 0);
      counted[s] += marked[s][size_t(element)] ? 0 : 1;
      marked[s][size_t(element)] = 1;
      covered_[s] = counted[s] == arrays.drawnFaces();
    }
  });
}

void SceneRenderer::drawHighlights(const Scene &scene, InteractionMode mode) {
  const bool lit = hoverKind_ == moFACES || hoverKind_ == moOBJECTS;
  if (lit)
    glEnable(GL_LIGHTING);
  else
    glDisable(GL_LIGHTING);
  glPointSize(6 * lineScale_);
  glLineWidth(3 * lineScale_);
  // Runs of one object in one colour become one draw; the order of the selection stays.
  batchSlot_ = -1;
  forEachHighlight(scene, mode, [&](int32_t slot, int32_t element, ColourKind kind) {
    addHighlight(scene, slot, element, kind);
  });
  flushHighlights();
  glPointSize(1);
  glLineWidth(lineScale_);
  glEnable(GL_LIGHTING);
}

void SceneRenderer::DrawScene(const Scene &scene, const Camera &camera, int32_t groundAndAxes,
                              InteractionMode mode, bool paintHighlight) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  camera.LoadViewTransform(true);
  // Lines and points keep their width in window pixels on a high-density screen.
  lineScale_ = camera.pixelRatio();
  glLineWidth(lineScale_);

  glDisable(GL_LIGHTING);
  DrawGroundAndAxes(groundAndAxes);
  glEnable(GL_LIGHTING);

  glEnable(GL_DEPTH_TEST);
  glEnable(GL_POLYGON_OFFSET_FILL);
  glEnable(GL_POLYGON_OFFSET_LINE);
  glEnable(GL_POLYGON_OFFSET_POINT);
  glPolygonOffset(0.6f, 0.3f);

  cullFaces_ = cullHiddenFaces && backFacesCulled();
  eye_ = eyeOf(camera);
  if (paintHighlight)
    covered_.clear();
  else
    findCoveredSurfaces(scene, mode);
  if (textures_ && mode != InteractionMode::Camera)
    glEnable(GL_TEXTURE_2D);
  for (int32_t i = 0; i < scene.objects.count(); ++i) {
    const moObject *obj = scene.object(i);
    if (!obj || !obj->visible)
      continue;
    bindPaintTexture(*obj, i, mode, paintHighlight || textures_);
    if (!obj->shaded) {
      glDisable(GL_LIGHTING);
      setColourKind(ColourKind::Surface);
      drawEdges(*obj, i, nullptr); // see-through: every edge
      continue;
    }
    glEnable(GL_LIGHTING);
    setColourKind(ColourKind::Surface);
    drawShadedSurface(*obj, i);
  }

  glDisable(GL_POLYGON_OFFSET_FILL);
  glDisable(GL_POLYGON_OFFSET_LINE);
  glDisable(GL_POLYGON_OFFSET_POINT);
  glDisable(GL_TEXTURE_2D);
  glDepthFunc(GL_LEQUAL);
  if (!paintHighlight)
    drawHighlights(scene, mode);
  glDepthFunc(GL_LESS);

  if (outlines_) {
    glDisable(GL_LIGHTING);
    glEnable(GL_POLYGON_OFFSET_LINE);
    glPolygonOffset(-0.6f, -0.3f);
    setColourKind(ColourKind::Outline);
    for (int32_t i = 0; i < scene.objects.count(); ++i) {
      const moObject *obj = scene.object(i);
      if (obj && obj->visible && obj->shaded)
        drawEdges(*obj, i, cullHiddenOutlines ? &camera : nullptr);
    }
    glDisable(GL_POLYGON_OFFSET_LINE);
    glEnable(GL_LIGHTING);
  }
  glLineWidth(1);
  glPopMatrix();
  glFinish();
}

void DrawGroundAndAxes(int32_t groundAndAxes) {
  glPushAttrib(GL_LIGHTING_BIT);
  glDisable(GL_LIGHTING);
  const bool axes = groundAndAxes & 2;
  glBegin(GL_LINES);
  if (groundAndAxes & 1) {
    for (int32_t k = 0; k <= 20; ++k) {
      const float p = -150.0f + 15.0f * float(k);
      if (k == 10) {
        if (axes)
          continue; // the axes take the middle lines' place
        glColor3f(0.2f, 0.2f, 0.2f);
      } else {
        glColor3f(0.25f, 0.25f, 0.25f);
      }
      glVertex3f(p, 0, -150);
      glVertex3f(p, 0, 150);
      glVertex3f(-150, 0, p);
      glVertex3f(150, 0, p);
    }
  }
  if (axes) {
    const float axis[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (const auto &a : axis) {
      glColor3f(a[0], a[1], a[2]);
      glVertex3f(0, 0, 0);
      glVertex3f(150 * a[0], 150 * a[1], 150 * a[2]);
      glColor3f(0.2f, 0.2f, 0.2f);
      glVertex3f(0, 0, 0);
      glVertex3f(-150 * a[0], -150 * a[1], -150 * a[2]);
    }
  }
  glEnd();
  glPopAttrib();
}
