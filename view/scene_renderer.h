// Puts the scene on the screen with OpenGL 1.1 display lists, on whatever context is current.
// Every object has an object list (pick names per face, for shaded drawing) and a wire list;
// every face (full build) or vertex (fast build, during a drag) has an element list:
//   object list i + 1, wire list i | 0x8000, element list ((i + 1) << 16) | element.
#pragma once

#include "scene/scene.h"
#include "view/camera.h"

#include <cstdint>

// What the model window is doing; it decides which highlights are drawn.
enum class InteractionMode { Camera, Select, Drag };

// Colour kinds of the renderer.
enum class ColourKind { Surface, Selected, Hovered, HoveredSelected, Outline };

class SceneRenderer {
public:
  uint8_t smooth = 0;   // per-vertex normals instead of one per face
  uint8_t outlines = 1; // black edges over shaded objects
  uint8_t colors = 1;   // corner colours shown
  uint8_t textures = 1; // paint textures shown
  int32_t boundTextureObject = -1;
  int32_t pickElementKind = moFREE; // hover picking kind while nothing is selected
  int32_t hoverKind = moFACES;      // kind of the hovered element and of the highlights
  int32_t hoverElement = -1;
  int32_t hoverObject = -1;

  // OpenGL state every context starts with: culling, colour material, depth test, byte-aligned
  // pixel transfers; then the lights and the grey background.
  static void InitGlState(const Camera &camera);
  // Recompiles the lists of every visible object: full builds one list per face, fast one per
  // vertex (so that a drag only recompiles vertex lists).
  void RebuildLists(const Scene &scene, bool full);
  // Recompiles the lists of one object (after a change to it alone).
  void RebuildObject(const Scene &scene, int32_t slot, bool full);
  // Recompiles the per-vertex lists of every visible, sensitive object after a drag step.
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
  static uint32_t pickName(int32_t object, int32_t element) {
    return uint32_t(object) << 16 | uint32_t(element);
  }

private:
  void emitFace(const moObject &obj, int32_t slot, int32_t f, bool withColours,
                bool viaVertexLists) const;
  void drawEdges(const moObject &obj) const;
  void drawHighlights(const Scene &scene, InteractionMode mode) const;
  void drawElement(const moObject &obj, int32_t slot, int32_t element) const;
  static void setColourKind(ColourKind kind);
};

// The ground grid (bit 1) and the axes (bit 2) of the display word.
void DrawGroundAndAxes(int32_t groundAndAxes);
