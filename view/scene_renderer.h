// Puts the scene on the screen with OpenGL 1.1, on whatever context is current. Every visible
// object has its vertex arrays (view/object_arrays.h: one array vertex per face corner, indexed
// triangles and edge ends), built at each rebuild, from which its surface, highlights and
// outlines are drawn with one glDrawElements per batch; during a drag (fast build) a step
// refills them in place. An object that shows its paint also has a draw list
// ((i + 1) << 16) | 0xFFFF outside drags: its paint triangles with texture coordinates, the
// texture named i + 1 loaded when the list is built. One batch per object keeps a frame of a
// 32768-face object to a few draws; leaving out the triangles turned away from the eye, and the
// surface under a highlight that draws all of it, keeps them to about half the triangles.
#pragma once

#include "scene/scene.h"
#include "view/camera.h"
#include "view/mirror_highlights.h"
#include "view/object_arrays.h"

#include <cstdint>
#include <vector>

// What the model window is doing; it decides which highlights are drawn.
enum class InteractionMode { Camera, Select, Drag };

// Colour kinds of the renderer.
enum class ColourKind { Surface, Selected, Mirrored, Hovered, HoveredSelected, Outline };

class SceneRenderer {
public:
  // Outlines leave out edges between faces turned away from the eye, which the surface hides;
  // off draws every edge (the reference the faster drawing must match).
  bool cullHiddenOutlines = true;
  // With back-face culling on, triangles turned away from the eye are not sent, nor the surface
  // of an object whose every triangle the face or object highlight draws over; off sends them
  // (the reference the frames must match pixel for pixel).
  bool cullHiddenFaces = true;

  // The display flags of the View menu, which the next frame follows; a change of smooth or
  // colors shows once the lists are rebuilt.
  bool smooth() const { return smooth_; }     // per-vertex normals instead of one per face
  bool outlines() const { return outlines_; } // black edges over shaded objects
  bool colors() const { return colors_; }     // corner colours shown
  bool textures() const { return textures_; } // paint textures shown
  void setSmooth(bool on) { smooth_ = on; }
  void setOutlines(bool on) { outlines_ = on; }
  void setColors(bool on) { colors_ = on; }
  void setTextures(bool on) { textures_ = on; }

  // The hovered element: its kind (a SelectionMode, also the kind of the selection highlights),
  // its object and the element, -1 for none.
  int32_t hoverKind() const { return hoverKind_; }
  int32_t hoverObject() const { return hoverObject_; }
  int32_t hoverElement() const { return hoverElement_; }
  void setHover(int32_t kind, int32_t object, int32_t element) {
    hoverKind_ = kind;
    hoverObject_ = object;
    hoverElement_ = element;
  }
  // Nothing hovered; the kind stays.
  void resetHover() { hoverObject_ = hoverElement_ = -1; }
  // The kind the hover pick looks for while nothing is selected: a SelectionMode, moFREE for
  // whatever is nearest.
  int32_t pickKind() const { return pickKind_; }
  void setPickKind(int32_t mode) { pickKind_ = mode; }

  // OpenGL state every context starts with: culling, colour material, depth test, byte-aligned
  // pixel transfers; then the lights and the grey background.
  static void InitGlState(const Camera &camera);
  // Rebuilds the arrays of every visible object and, with full, the draw list of one that shows
  // paint; fast draws even those from the arrays, for the drag steps to refill
  // (RebuildVertexLists).
  void RebuildLists(const Scene &scene, bool full);
  // The same for one object (after a change to it alone).
  void RebuildObject(const Scene &scene, int32_t slot, bool full);
  // Refills the drag arrays of every visible, sensitive object from the moved vertices after a
  // drag step.
  void RebuildVertexLists(const Scene &scene);
  // Draws one frame of the model window: ground and axes, objects, highlights, outlines. The
  // caller applies the projection before and swaps buffers after.
  void DrawScene(const Scene &scene, const Camera &camera, int32_t groundAndAxes,
                 InteractionMode mode, bool paintHighlight);

  // The surface of slot as the last rebuild left it, in the current state (the paint view's
  // shading pass); nothing before the first rebuild.
  void drawSurface(int32_t slot) const;
  static uint32_t elementList(int32_t i, int32_t e) {
    return (uint32_t(i) + 1) << 16 | uint32_t(e);
  }
  static uint32_t drawList(int32_t i) { return elementList(i, 0xFFFF); }
  // The listed faces of obj in order, each as its own batch under its pick name, without colours:
  // what the selection buffer sees of them.
  void drawNamedFaces(const moObject &obj, int32_t slot, const std::vector<int32_t> &faces) const;
  static uint32_t pickName(int32_t object, int32_t element) {
    return uint32_t(object) << 16 | uint32_t(element);
  }

private:
  // The triangles of face f as vertex calls inside a glBegin(GL_TRIANGLES) the caller opened.
  void emitFace(const moObject &obj, int32_t f, bool withColours) const;
  // What a slot is drawn from: its arrays, whether a drag refills them, whether its surface is
  // the draw list (paint) and whether the surface shows the corner colours.
  struct ObjectDrawing {
    ObjectArrays arrays;
    bool dragging = false, listed = false, withColours = false;
    // The surface triangles that face the eye, and the eye and arrays generation they were
    // found for: a frame from the same eye over the same arrays (a hover) finds them again.
    std::vector<GLuint> facing;
    ObjectArrays::Eye facingEye;
    uint64_t facingGeneration = 0;
  };
  // The slot's drawing, its arrays built from obj if no rebuild has built them.
  ObjectDrawing &drawing(const moObject &obj, int32_t slot);
  bool dragging(int32_t slot) const {
    return size_t(slot) < drawings_.size() && drawings_[size_t(slot)].dragging;
  }
  // Lines for the edges of obj (hard ones 3 pixels wide). With a camera, edges whose faces both
  // face away are left out: on a closed surface the surface in front hides them anyway.
  void drawEdges(const moObject &obj, int32_t slot, const Camera *camera);
  // The paint triangles of obj from the last to the first as one batch, each corner with its
  // texture coordinate.
  void emitPaintTriangles(const moObject &obj) const;
  // Binds the paint texture of slot before it is drawn, or texture 0 for an object that shows
  // none (or is drawn from its arrays during a drag, which have no texture coordinates).
  void bindPaintTexture(const moObject &obj, int32_t slot, InteractionMode mode, bool force);
  // The surface of a shaded object in the frame's object pass.
  void drawShadedSurface(const moObject &obj, int32_t slot);
  // One batch of triangles from the arrays, less those turned away when culling.
  void drawTriangles(const ObjectArrays &arrays, const std::vector<GLuint> &triangles,
                     bool withColours);
  // Calls fn(slot, element, colour) for every highlight of the frame, in drawing order.
  template <typename Fn> void forEachHighlight(const Scene &scene, InteractionMode mode, Fn fn);
  // Marks the slots whose every triangle the frame's highlight draws, from the same arrays.
  void findCoveredSurfaces(const Scene &scene, InteractionMode mode);
  void drawHighlights(const Scene &scene, InteractionMode mode);
  // Adds the highlight of element of slot in the colour to the batch being gathered; a new
  // object or colour first draws what was gathered.
  void addHighlight(const Scene &scene, int32_t slot, int32_t element, ColourKind kind);
  void flushHighlights();
  static void setColourKind(ColourKind kind);

  std::vector<ObjectDrawing> drawings_; // per slot
  // The highlight batch being gathered: its object, colour and indices.
  int32_t batchSlot_ = -1;
  ColourKind batchKind_ = ColourKind::Selected;
  std::vector<GLuint> batch_;
  MirrorHighlights mirrors_;                  // the selection's mirror images, in the second colour
  std::vector<GLuint> softEdges_, hardEdges_; // the outline indices of the object being drawn
  // Per frame: whether triangles turned away are left out, the eye, the slots the highlight
  // covers, and the kept triangles of the batch being drawn.
  bool cullFaces_ = false;
  ObjectArrays::Eye eye_;
  std::vector<uint8_t> covered_;
  std::vector<GLuint> facing_;
  float lineScale_ = 1; // device pixels per window pixel of the frame being drawn
  bool smooth_ = false, outlines_ = true, colors_ = true, textures_ = true;
  int32_t boundTextureObject_ = -1; // the object whose texture the frame has bound
  int32_t pickKind_ = moFREE;
  int32_t hoverKind_ = moFACES;
  int32_t hoverObject_ = -1, hoverElement_ = -1;
};

// The ground grid (bit 1) and the axes (bit 2) of the display word.
void DrawGroundAndAxes(int32_t groundAndAxes);
