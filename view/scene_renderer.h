// Puts the scene on the screen with OpenGL 1.1 display lists, on whatever context is current.
// Every object i has
//   a draw list ((i + 1) << 16) | 0xFFFF: its faces as one batch of triangles, what a frame draws
//     (for an object that shows its paint, its paint triangles with texture coordinates, the
//     texture named i + 1 loaded when the list is built);
//   an object list i + 1: the same faces, each under its pick name (object << 16 | face), for
//     picking; compiled when first needed after a change;
//   a wire list i | 0x8000: the faces without colours, for object highlights; also compiled
//     when first needed;
//   during a drag (fast build), instead of the draw list, a drag batch: the same triangles as
//     vertex arrays (positions, normals, colours per corner) that a drag step refills in place,
//     so that no list is recompiled while the mesh follows the mouse.
// One batch per object keeps a frame of a 32768-face object to a single draw.
#pragma once

#include "scene/scene.h"
#include "view/camera.h"

#include <cstdint>
#include <vector>

// What the model window is doing; it decides which highlights are drawn.
enum class InteractionMode { Camera, Select, Drag };

// Colour kinds of the renderer.
enum class ColourKind { Surface, Selected, Hovered, HoveredSelected, Outline };

class SceneRenderer {
public:
  // Outlines leave out edges between faces turned away from the eye, which the surface hides;
  // off draws every edge (the reference the faster drawing must match).
  bool cullHiddenOutlines = true;

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
  // Recompiles the lists of every visible object: full builds the draw list, fast builds the drag
  // batch that drag steps refill (RebuildVertexLists).
  void RebuildLists(const Scene &scene, bool full);
  // Recompiles the lists of one object (after a change to it alone).
  void RebuildObject(const Scene &scene, int32_t slot, bool full);
  // Refills the drag batches of every visible, sensitive object from the moved vertices after a
  // drag step.
  void RebuildVertexLists(const Scene &scene);
  // Draws one frame of the model window: ground and axes, objects, highlights, outlines. The
  // caller applies the projection before and swaps buffers after.
  void DrawScene(const Scene &scene, const Camera &camera, int32_t groundAndAxes,
                 InteractionMode mode, bool paintHighlight);

  static uint32_t objectList(int32_t i) { return uint32_t(i) + 1; }
  static uint32_t wireList(int32_t i) { return uint32_t(i) | 0x8000u; }
  static uint32_t elementList(int32_t i, int32_t e) {
    return (uint32_t(i) + 1) << 16 | uint32_t(e);
  }
  static uint32_t drawList(int32_t i) { return elementList(i, 0xFFFF); }
  // Compiles the object and wire lists of slot i if a rebuild has made them stale.
  void ensurePickLists(const Scene &scene, int32_t i) const;
  // The listed faces of obj in order, each as its own batch under its pick name, without colours:
  // what the selection buffer sees of them.
  void drawNamedFaces(const moObject &obj, int32_t slot, const std::vector<int32_t> &faces) const;
  static uint32_t pickName(int32_t object, int32_t element) {
    return uint32_t(object) << 16 | uint32_t(element);
  }

private:
  // The triangles of face f as vertex calls inside a glBegin(GL_TRIANGLES) the caller opened.
  void emitFace(const moObject &obj, int32_t f, bool withColours) const;
  // Every active face from the last to the first; with names each face is its own batch under
  // its pick name.
  void emitFaces(const moObject &obj, int32_t slot, bool withColours, bool names) const;
  // The triangles of every active face, last to first as the draw list has them, with the
  // vertex and face of each corner; positions and normals are refilled at every drag step.
  struct DragBatch {
    bool built = false;
    bool withColours = false;
    std::vector<int32_t> vertex, face; // per corner
    std::vector<uint8_t> rgb;          // per corner
    std::vector<float> positions, normals;
  };
  void buildDragBatch(const moObject &obj, DragBatch &batch) const;
  void refreshDragBatch(const moObject &obj, DragBatch &batch) const;
  // The batch as one draw; withColours false draws it in the current colour (a highlight).
  void drawDragBatch(const DragBatch &batch, bool withColours) const;
  // Each face's unit normal and one corner as the mesh stands now.
  void refreshFacePlanes(const moObject &obj, int32_t slot);
  // Lines for the edges of obj (hard ones 3 pixels wide). With a camera, edges whose faces both
  // face away are left out: on a closed surface the surface in front hides them anyway.
  void drawEdges(const moObject &obj, int32_t slot, const Camera *camera) const;
  // The paint triangles of obj from the last to the first as one batch, each corner with its
  // texture coordinate.
  void emitPaintTriangles(const moObject &obj) const;
  // Binds the paint texture of slot before it is drawn, or texture 0 for an object that shows
  // none (or is drawn from its drag batch, which has no texture coordinates).
  void bindPaintTexture(const moObject &obj, int32_t slot, InteractionMode mode, bool force);
  void drawHighlights(const Scene &scene, InteractionMode mode) const;
  void drawElement(const Scene &scene, const moObject &obj, int32_t slot, int32_t element) const;
  static void setColourKind(ColourKind kind);

  mutable std::vector<uint8_t> pickListsStale_; // per slot
  std::vector<DragBatch> dragBatches_;          // per slot; built only during a drag
  // Per slot, the unit normal and one corner of every face as of the last rebuild, to tell the
  // faces turned away from the eye.
  struct FacePlane {
    moVec3 normal, corner;
  };
  std::vector<std::vector<FacePlane>> facePlanes_;
  float lineScale_ = 1; // device pixels per window pixel of the frame being drawn
  bool smooth_ = false, outlines_ = true, colors_ = true, textures_ = true;
  int32_t boundTextureObject_ = -1; // the object whose texture the frame has bound
  int32_t pickKind_ = moFREE;
  int32_t hoverKind_ = moFACES;
  int32_t hoverObject_ = -1, hoverElement_ = -1;
};

// The ground grid (bit 1) and the axes (bit 2) of the display word.
void DrawGroundAndAxes(int32_t groundAndAxes);
