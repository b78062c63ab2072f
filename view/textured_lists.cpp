// The textured half of the renderer: paint triangles with their texture coordinates, and the
// texture binding of each object in a frame.
#include "core/face_triangulation.h"
#include "core/mesh_normals.h"
#include "view/paint_textures.h"
#include "view/scene_renderer.h"

#include <GL/gl.h>

void SceneRenderer::emitPaintTriangles(const moObject &obj) const {
  const int32_t count = paintTriangleCount(obj);
  glBegin(GL_TRIANGLES);
  for (int32_t t = count - 1; t >= 0; --t) {
    const int32_t f = obj.triangleFaces[t];
    const int32_t *corners = &obj.triangleVertices[3 * t];
    bool valid = obj.faces.contains(f) && obj.faces[f].active();
    for (int32_t k = 0; k < 3; ++k)
      valid = valid && obj.vertices.contains(corners[k]) && obj.vertices[corners[k]].active();
    if (!valid)
      continue; // a stale list entry: skip rather than read a missing element
    float uv[6];
    obj.paintLayer->cornerTexCoords(obj, t, uv);
    if (!smooth_) {
      const moVec3 n = obj.faceNormal(f, true);
      glNormal3f(n.x, n.y, n.z);
    }
    for (int32_t k = 0; k < 3; ++k) {
      const int32_t v = corners[k];
      if (smooth_) {
        const moVec3 n = cornerNormal(obj, v, f);
        glNormal3f(n.x, n.y, n.z);
      }
      glTexCoord2f(uv[2 * k], uv[2 * k + 1]);
      const moVec3 &p = obj.vertices[v].Coordinates;
      glVertex3f(p.x, p.y, p.z);
    }
  }
  glEnd();
}

void SceneRenderer::bindPaintTexture(const moObject &obj, int32_t slot, InteractionMode mode,
                                     bool force) {
  if (mode == InteractionMode::Camera) {
    boundTextureObject_ = -1; // no textures while the camera moves
    return;
  }
  if (dragging(slot) || !showsPaintTexture(obj, textures_)) {
    // Also for a layer the object does not show, so that no other object's texture is used.
    glBindTexture(GL_TEXTURE_2D, 0);
    boundTextureObject_ = -1;
    return;
  }
  if (force || boundTextureObject_ != slot) {
    glBindTexture(GL_TEXTURE_2D, paintTextureName(slot));
    boundTextureObject_ = slot;
  }
}
