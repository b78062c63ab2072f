// Whole-layer paint commands and the conversions between paint and corner colours. The scene
// commands that delete layers follow the operation protocol (undo step, object mode only, hidden
// and insensitive objects dropped from the selection first); the others refresh the canvas.
#pragma once

#include "paint/canvas.h"
#include "scene/scene.h"
#include "view/view.h"

// Fills every paint triangle of obj's layer from the corner colours of its three corners
// (vertex and face). Nothing without a layer.
void fillLayerFromCornerColors(moObject &obj);

// "Paint Layer to Color": each selected object's paint becomes its corner colours, then its
// texture, layer and paint triangles are deleted and its lists rebuilt. Returns false when the
// mode is not objects (nothing changes then); the caller redraws.
bool PaintLayerToColor(Scene &scene, SceneRenderer &renderer);
// "Delete Paint Layer": the same without keeping the paint as colours.
bool DeletePaintLayer(Scene &scene, SceneRenderer &renderer);

// Erase all paint: after the user agrees to "This will erase the paint on all object(s).
// Continue?", every texel of every visible, sensitive object's layer becomes colour (one step
// of the undo history, "Erase paint"), the textures are reloaded and the canvas refreshed.
// Returns whether the user agreed.
bool EraseAllPaint(Scene &scene, View &view, PaintCanvas &canvas, moColor colour);
// The texture size choice of the object information bar: the layer of the object in slot is
// resampled to width x height (rounded to powers of two) as one step of the undo history
// ("Texture size") and its lists rebuilt; the caller refreshes the canvas. Returns false, changing
// nothing, for a slot without an image or a size beyond the image limits.
bool SetTextureSize(Scene &scene, View &view, int32_t slot, int32_t width, int32_t height);
// Fills the whole layer of the object in slot with colour (one step of the undo history, "Fill
// object"), reloads its texture and refreshes the canvas. Returns false for a slot without a layer.
bool FillObjectPaint(Scene &scene, View &view, PaintCanvas &canvas, int32_t slot, moColor colour);
