#include "view/scene_renderer.h"

#include "core/face_triangulation.h"
#include "core/mesh_normals.h"
#include "view/paint_textures.h"

#include <GL/gl.h>
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

void SceneRenderer::emitFaces(const moObject &obj, int32_t slot, bool withColours,
                              bool names) const {
  if (!names)
    glBegin(GL_TRIANGLES);
  for (int32_t f = obj.faces.count() - 1; f >= 0; --f) {
    if (!obj.faces[f].active())
      continue;
    if (names) {
      glLoadName(pickName(slot, f));
      glBegin(GL_TRIANGLES);
    }
    emitFace(obj, f, withColours);
    if (names)
      glEnd();
  }
  if (!names)
    glEnd();
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
  if (dragBatches_.size() <= size_t(slot))
    dragBatches_.resize(size_t(slot) + 1);
  DragBatch &batch = dragBatches_[size_t(slot)];
  if (full) {
    batch = {};
    const bool textured = showsPaintTexture(*obj, textures_) && UploadTexture(*obj, slot);
    glNewList(drawList(slot), GL_COMPILE);
    if (textured)
      emitPaintTriangles(*obj);
    else
      emitFaces(*obj, slot, colors_ && obj->showTexture, false);
    glEndList();
  } else {
    buildDragBatch(*obj, batch);
  }
  if (pickListsStale_.size() <= size_t(slot)) {
    pickListsStale_.resize(size_t(slot) + 1);
    facePlanes_.resize(size_t(slot) + 1);
  }
  pickListsStale_[size_t(slot)] = 1;
  refreshFacePlanes(*obj, slot);
}

void SceneRenderer::refreshFacePlanes(const moObject &obj, int32_t slot) {
  std::vector<FacePlane> &planes = facePlanes_[size_t(slot)];
  planes.assign(size_t(obj.faces.count()), FacePlane{});
  for (int32_t f = 0; f < obj.faces.count(); ++f)
    if (obj.faces[f].active())
      planes[size_t(f)] = {obj.faceNormal(f, true),
                           obj.vertices[obj.endVertex(obj.faces[f].EdgeIndex, f)].Coordinates};
}

void SceneRenderer::ensurePickLists(const Scene &scene, int32_t slot) const {
  const moObject *obj = scene.object(slot);
  if (!obj || size_t(slot) >= pickListsStale_.size() || !pickListsStale_[size_t(slot)])
    return;
  glNewList(objectList(slot), GL_COMPILE);
  emitFaces(*obj, slot, colors_ && obj->showTexture, true);
  glEndList();
  glNewList(wireList(slot), GL_COMPILE);
  emitFaces(*obj, slot, false, false);
  glEndList();
  pickListsStale_[size_t(slot)] = 0;
}

void SceneRenderer::RebuildLists(const Scene &scene, bool full) {
  for (int32_t i = 0; i < scene.objects.count(); ++i)
    RebuildObject(scene, i, full);
}

void SceneRenderer::RebuildVertexLists(const Scene &scene) {
  for (int32_t i = 0; i < scene.objects.count() && size_t(i) < dragBatches_.size(); ++i) {
    const moObject *obj = scene.object(i);
    if (obj && usable(*obj) && dragBatches_[size_t(i)].built) {
      refreshDragBatch(*obj, dragBatches_[size_t(i)]);
      refreshFacePlanes(*obj, i); // the outlines tell front from back with the moved faces
    }
  }
}

void SceneRenderer::buildDragBatch(const moObject &obj, DragBatch &batch) const {
  batch = {};
  std::vector<moColor> colours;
  for (int32_t f = obj.faces.count() - 1; f >= 0; --f) {
    if (!obj.faces[f].active())
      continue;
    triangleCorners(obj, f, batch.vertex, colours);
    batch.face.resize(batch.vertex.size(), f);
  }
  batch.withColours = colors_ && obj.showTexture;
  batch.rgb.reserve(colours.size() * 3);
  for (const moColor &c : colours)
    batch.rgb.insert(batch.rgb.end(), {c.r, c.g, c.b});
  batch.built = true;
  refreshDragBatch(obj, batch);
}

void SceneRenderer::refreshDragBatch(const moObject &obj, DragBatch &batch) const {
  const size_t n = batch.vertex.size();
  batch.positions.resize(n * 3);
  batch.normals.resize(n * 3);
  int32_t normalFace = -1;
  moVec3 normal;
  for (size_t k = 0; k < n; ++k) {
    const int32_t v = batch.vertex[k], f = batch.face[k];
    if (!obj.vertices.contains(v))
      continue; // the mesh changed under the batch; the next full build replaces it
    const moVec3 &p = obj.vertices[v].Coordinates;
    if (smooth_) {
      normal = cornerNormal(obj, v, f);
    } else if (f != normalFace) {
      normal = obj.faceNormal(f, true);
      normalFace = f;
    }
    float *pos = &batch.positions[k * 3], *nor = &batch.normals[k * 3];
    pos[0] = p.x, pos[1] = p.y, pos[2] = p.z;
    nor[0] = normal.x, nor[1] = normal.y, nor[2] = normal.z;
  }
}

void SceneRenderer::drawDragBatch(const DragBatch &batch, bool withColours) const {
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, batch.positions.data());
  glNormalPointer(GL_FLOAT, 0, batch.normals.data());
  if (withColours && batch.withColours) {
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(3, GL_UNSIGNED_BYTE, 0, batch.rgb.data());
  }
  glDrawArrays(GL_TRIANGLES, 0, GLsizei(batch.vertex.size()));
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

void SceneRenderer::drawEdges(const moObject &obj, int32_t slot, const Camera *camera) const {
  // Which faces look toward the eye: in perspective the eye is a point, orthographically a
  // direction. The eye is where the view transform takes the origin from.
  std::vector<uint8_t> facing;
  if (camera && size_t(slot) < facePlanes_.size() &&
      facePlanes_[size_t(slot)].size() == size_t(obj.faces.count())) {
    const moMatrix4 view = camera->viewMatrix();
    // The rotation part is orthonormal: the eye is -R^T t, the viewing axis R^T (0, 0, -1).
    const moVec3 t{view.m[12], view.m[13], view.m[14]};
    const moVec3 column[3] = {{view.m[0], view.m[4], view.m[8]},
                              {view.m[1], view.m[5], view.m[9]},
                              {view.m[2], view.m[6], view.m[10]}};
    const moVec3 eye =
        scale(-1.0f, add(add(scale(t.x, column[0]), scale(t.y, column[1])), scale(t.z, column[2])));
    const moVec3 towardEye = column[2]; // orthographic: the reversed viewing axis
    facing.resize(size_t(obj.faces.count()));
    for (size_t f = 0; f < facing.size(); ++f) {
      const FacePlane &p = facePlanes_[size_t(slot)][f];
      const moVec3 toEye = camera->perspective ? subtract(eye, p.corner) : towardEye;
      facing[f] = dot(p.normal, toEye) >= 0 ? 1 : 0;
    }
  }
  const auto seen = [&](int32_t face) {
    return face < 0 || size_t(face) >= facing.size() || facing[size_t(face)];
  };
  int32_t width = -1;
  for (const moEdge &d : obj.edges) {
    if (!d.active() || (!facing.empty() && !seen(d.LeftFace) && !seen(d.RightFace)))
      continue;
    const int32_t w = d.hard ? 3 : 1;
    if (w != width) {
      if (width != -1)
        glEnd();
      glLineWidth(float(w) * lineScale_);
      glBegin(GL_LINES);
      width = w;
    }
    vertex(obj.vertices[d.Tail].Coordinates);
    vertex(obj.vertices[d.Head].Coordinates);
  }
  if (width != -1)
    glEnd();
  glLineWidth(lineScale_);
}

void SceneRenderer::drawElement(const Scene &scene, const moObject &obj, int32_t slot,
                                int32_t element) const {
  switch (hoverKind_) {
  case moVERTICES:
    if (obj.vertices.contains(element) && obj.vertices[element].active()) {
      glBegin(GL_POINTS);
      vertex(obj.vertices[element].Coordinates);
      glEnd();
    }
    break;
  case moEDGES:
    if (obj.edges.contains(element) && obj.edges[element].active()) {
      glBegin(GL_LINES);
      vertex(obj.vertices[obj.edges[element].Tail].Coordinates);
      vertex(obj.vertices[obj.edges[element].Head].Coordinates);
      glEnd();
    }
    break;
  case moFACES:
    if (obj.faces.contains(element) && obj.faces[element].active()) {
      glBegin(GL_TRIANGLES);
      emitFace(obj, element, false);
      glEnd();
    }
    break;
  case moOBJECTS:
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    // During a drag the highlight follows the moved mesh: the wire list keeps the start shape.
    if (size_t(slot) < dragBatches_.size() && dragBatches_[size_t(slot)].built) {
      drawDragBatch(dragBatches_[size_t(slot)], false);
      break;
    }
    ensurePickLists(scene, slot);
    glCallList(wireList(slot));
    break;
  default:
    break;
  }
}

void SceneRenderer::drawHighlights(const Scene &scene, InteractionMode mode) const {
  const bool lit = hoverKind_ == moFACES || hoverKind_ == moOBJECTS;
  if (lit)
    glEnable(GL_LIGHTING);
  else
    glDisable(GL_LIGHTING);
  glPointSize(6 * lineScale_);
  glLineWidth(3 * lineScale_);
  const ElementRef hovered{hoverElement_, hoverObject_};
  const bool select = mode == InteractionMode::Select;
  for (int32_t i = 0; i < scene.selection.Count(); ++i) {
    const ElementRef ref = scene.selection.Get(i);
    const moObject *obj = scene.object(ref.object);
    if (!obj || !obj->visible || !obj->sensitive)
      continue;
    setColourKind(select && ref == hovered ? ColourKind::HoveredSelected : ColourKind::Selected);
    drawElement(scene, *obj, ref.object, ref.element);
  }
  if (select && hoverElement_ != -1 && !scene.selection.Contains(hovered)) {
    const moObject *obj = scene.object(hoverObject_);
    if (obj && usable(*obj)) {
      setColourKind(ColourKind::Hovered);
      drawElement(scene, *obj, hoverObject_, hoverElement_);
    }
  }
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
    if (size_t(i) < dragBatches_.size() && dragBatches_[size_t(i)].built)
      drawDragBatch(dragBatches_[size_t(i)], true);
    else
      glCallList(drawList(i));
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
