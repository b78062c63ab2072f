// Picking: what lies under the mouse in the model window, found with OpenGL's selection buffer
// and the pick names (object << 16 | element) of the renderer, on the current context.
#pragma once

#include "scene/scene.h"
#include "scene/user_interface.h"
#include "view/camera.h"
#include "view/scene_renderer.h"

#include <vector>

// The hover pick of one mouse position (window pixels, y downward): the front-most front-facing
// face of a visible, sensitive object under a 5 x 5 pixel region gives object and face; the pick
// kind (the selection mode when something is selected, else the renderer's pick element kind)
// then names a vertex or edge of that face, the face or the object, stored as the renderer's
// hover object, element and kind. Nothing under the pointer sets both indices to -1. Only the
// faces whose window bounds reach the pick region are drawn, which gives the same hits as
// drawing every face. The ui shows gluProject failures of the edge test.
void HoverPick(const Scene &scene, SceneRenderer &renderer, const Camera &camera, UserInterface &ui,
               int32_t x, int32_t y);

// Makes HoverPick draw every face instead of only those near the pointer: the reference the
// faster drawing must match, for tests and benchmarks.
extern bool hoverPickAllFaces;

// Adds every element of the given kind (0 vertices .. 3 objects) of the visible, sensitive objects
// inside the window rectangle (centre and size, y upward) to the selection, back-facing and hidden
// ones included. bufferSize is the selection buffer's size in names; an overflowing buffer adds
// nothing. Other kinds add nothing.
void RegionPick(Scene &scene, const SceneRenderer &renderer, const Camera &camera, int32_t centreX,
                int32_t centreY, int32_t width, int32_t height, int32_t kind, int32_t bufferSize);

// The corner of face f nearest to window point (x, y) (y upward) when it is nearer than `ratio`
// times the squared distance to every other corner, else -1.
int32_t NearestFaceVertex(const Camera &camera, double x, double y, const moObject &obj, int32_t f,
                          double ratio);
// The same over the edges of f, measured to the projected segments. A projection failure is
// reported through ui and the test goes on.
int32_t NearestFaceEdge(const Camera &camera, UserInterface &ui, double x, double y,
                        const moObject &obj, int32_t f, double ratio);
