// Carrying finished strokes from the canvas into the objects' textures.
// Each call works on the current OpenGL context (texture loads) with the view's camera, which
// must be the camera the canvas was refreshed with.
#pragma once

#include "paint/canvas.h"
#include "scene/scene.h"
#include "view/view.h"

// Ends a stroke, shape or fill: every paint triangle that shows a dirty canvas pixel takes the
// changed pixels into its texels (only texels whose screen footprint changed), the changed
// texel rectangles are loaded into the textures, the texels replaced become a step of the undo
// history ("paint stroke"), and the dirty state is cleared. The caller redraws (DrawPaintView).
// Returns whether any texel changed.
bool CommitStroke(Scene &scene, View &view, PaintCanvas &canvas);
// Loads the rectangles of the journal into the textures of the objects that show their paint.
void ReloadTexels(const Scene &scene, const TexelJournal &journal);
