// Getting the scene, the view and the tools ready to paint, as entering the paint work mode does;
// the paint window, morvo-cli paint and the painting benchmarks all start here.
#pragma once

#include "paint/tools/paint_tool.h"

// For the view as it stands (its size and camera set by the caller): the orthographic projection
// applied, paint surfaces for every visible, sensitive object (PreparePaintSurfaces), with
// rebuildLists every display list compiled again (which loads every texture), the canvas
// prepared at the frame buffer's size and the current tool activated. Needs ctx.scene and
// ctx.view, and a current context whose frame buffer is that large. Returns false, with the
// canvas empty and the tool not activated, when the canvas cannot have that size.
bool PreparePainting(PaintContext &ctx, bool rebuildLists = true);
