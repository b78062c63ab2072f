// The faces of one object as one interleaved, indexed vertex array, for glDrawElements: one array
// vertex per face corner (position, normal, colour), then one for each vertex no face uses; the
// triangles of every active face from the last face to the first, as the draw list has them; the
// ends of every edge; and each face's unit normal and a corner, to tell the faces turned away
// from the eye. Built from the mesh at a list rebuild; refill() takes the moved positions and
// normals of the same mesh (a drag step) and keeps each face's triangulation.
#pragma once

#include "core/mesh.h"

#include <GL/gl.h>
#include <cstdint>
#include <vector>

class ObjectArrays {
public:
  struct Corner {
    float position[3], normal[3];
    uint8_t rgb[4];
  };
  struct FacePlane {
    moVec3 normal, corner;
  };
  // Where the faces are seen from: the eye point in perspective, otherwise the direction toward
  // the eye.
  struct Eye {
    moVec3 at;
    bool perspective = true;
  };

  // Builds everything from obj; smooth gives corner normals instead of face normals. Throws what
  // the face walks throw for a broken mesh.
  void build(const moObject &obj, bool smooth);
  // Refills positions, normals and face planes from obj, whose elements the arrays were built
  // from; array vertices whose mesh vertex is gone keep their values.
  void refill(const moObject &obj, bool smooth);
  bool built() const { return built_; }
  // Changes at every build and refill, and differs between arrays: what was found from the
  // arrays is valid while it stays.
  uint64_t generation() const { return generation_; }

  // Append the array indices of face f's triangles, of edge e's two ends (GL_LINES) and of
  // vertex v (GL_POINTS); nothing for an element the arrays do not have.
  void appendFace(int32_t f, std::vector<GLuint> &out) const;
  void appendEdge(int32_t e, std::vector<GLuint> &out) const;
  void appendVertex(int32_t v, std::vector<GLuint> &out) const;
  // Every triangle, last face to first.
  const std::vector<GLuint> &triangles() const { return triangles_; }
  // Whether face f has triangles in the arrays, and how many faces have.
  bool drawsFace(int32_t f) const {
    return f >= 0 && size_t(f) < faceCount_.size() && faceCount_[size_t(f)] > 0;
  }
  int32_t drawnFaces() const { return drawnFaces_; }
  // Appends the triangles of `triangles` (array indices, three each) except those turned away
  // from the eye by more than rounding could undo: exactly some of those that back-face culling
  // drops, so drawing what is left with culling on shows the same pixels.
  void appendFacing(const std::vector<GLuint> &triangles, const Eye &eye,
                    std::vector<GLuint> &out) const;
  // The face planes by face slot, as of the last build or refill.
  const std::vector<FacePlane> &facePlanes() const { return planes_; }

  // One glDrawElements of the indices in `mode` from these arrays, with the corner colours when
  // withColours (otherwise in the current colour); the client state is off again afterwards.
  void draw(GLenum mode, const std::vector<GLuint> &indices, bool withColours) const;

private:
  void appendFaceCorners(const moObject &obj, int32_t f);
  void appendLooseVertices(const moObject &obj);
  void refillPlanes(const moObject &obj, const std::vector<moVec3> &unitNormals);

  bool built_ = false;
  uint64_t generation_ = 0;
  std::vector<Corner> corners_;
  std::vector<int32_t> vertex_, face_; // per array vertex: mesh vertex and face (-1 none)
  std::vector<GLuint> triangles_;
  std::vector<int32_t> faceFirst_, faceCount_; // per face slot: its run in triangles_
  int32_t drawnFaces_ = 0;                     // faces whose run is not empty
  std::vector<GLuint> edgeEnds_;               // per edge slot: tail and head array vertex
  std::vector<int64_t> vertexCorner_;          // per vertex slot: an array vertex, -1 none
  std::vector<FacePlane> planes_;
};
