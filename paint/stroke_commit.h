// Carrying finished strokes from the canvas into the objects' textures, and undoing them.
// Each call works on the current OpenGL context (texture loads) with the view's camera, which
// must be the camera the canvas was refreshed with.
#pragma once

#include "paint/canvas.h"
#include "scene/scene.h"
#include "view/view.h"

// Ends a stroke, shape or fill: every paint triangle that shows a dirty canvas pixel takes the
// changed pixels into its texels (only texels whose screen footprint changed), the changed
// texel rectangles are loaded into the textures, the texels replaced are kept with the stroke
// for undo, and the dirty state is cleared. The caller redraws (DrawPaintView). Returns
// whether any texel changed.
bool CommitStroke(Scene &scene, View &view, PaintCanvas &canvas);

// Saves rectangle (x, y, w, h) of the canvas, clipped to it, before a tool changes it.
void PaintUndoSave(PaintCanvas &canvas, int32_t x, int32_t y, int32_t w, int32_t h);
// Takes back the last stroke (committing an unfinished one first): the canvas rectangles and
// the texels come back as they were and the textures are reloaded. At the oldest stroke a
// second undo redoes it. Returns false when there is nothing to undo.
bool PaintUndo(Scene &scene, View &view, PaintCanvas &canvas);
// Puts the next undone stroke back. Returns false when there is none.
bool PaintRedo(Scene &scene, View &view, PaintCanvas &canvas);
