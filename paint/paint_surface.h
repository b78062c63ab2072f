// Getting the scene ready for painting and the canvas in step with it. Everything draws on the
// current OpenGL context with the view's camera; the context's frame buffer must be at least as
// large as the canvas.
#pragma once

#include "paint/canvas.h"
#include "scene/scene.h"
#include "view/view.h"

// Every visible, sensitive object gets paint triangles (its faces triangulated, a fan where the
// triangulation fails) and, when it has none, a 512 x 512 atlas layer filled from its corner
// colours; its lists are rebuilt so the texture shows. Objects without faces stay unpainted;
// an object whose mesh cannot be walked keeps no triangles and cannot be painted. Sets the
// canvas's triangle total and sizes its touched bits.
void PreparePaintSurfaces(Scene &scene, View &view, PaintCanvas &canvas);

// Sizes the canvas to width x height (emptying its undo buffer) and refreshes it. The caller
// activates the current paint tool afterwards. Returns false with the canvas empty when the
// size cannot be had; nothing is drawn then.
bool PrepareCanvas(Scene &scene, View &view, PaintCanvas &canvas, int32_t width, int32_t height);

// Rebuilds the canvas from the scene: index render, shade render, the textured scene drawn (and
// left in the frame buffer, with the reveal image over it when that is shown), its pixels read
// into the colour image with the lighting divided out. The dirty state is reset. Needs paint
// surfaces prepared and the lists built.
void RefreshCanvas(const Scene &scene, View &view, PaintCanvas &canvas);

// Draws the textured scene as the paint window shows it, with the reveal image over the painted
// objects when it is shown.
void DrawPaintView(const Scene &scene, View &view, const PaintCanvas &canvas);
