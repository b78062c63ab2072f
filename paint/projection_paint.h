// Laying an image over the objects as the paint window sees them: every object's paint is
// replaced by the image projected from the current view (planar, spherical or cylindrical).
#pragma once

#include "image/image_buffer.h"
#include "paint/canvas.h"
#include "scene/scene.h"
#include "view/view.h"

// For every visible, sensitive object with paint triangles, in slot order: its vertices are
// projected with the view's camera into the unit square (moProject, no perspective division),
// the image is resampled to the size of the object's paint image (512 x 512 without one) and
// the object's layer becomes a per-vertex layer with that image and those coordinates; its
// texture is reloaded. The objects changed are one step of the undo history ("Project image").
// Then the canvas is refreshed. type is
// moPLANAR, moSPHERICAL or moCYLINDRICAL. Needs the paint window's context current. Returns
// false, changing nothing, for an empty image or an unknown type; an object whose layer cannot
// be made at its size keeps the layer it had.
bool ProjectImage(Scene &scene, View &view, PaintCanvas &canvas, const ImageBuffer &image,
                  int32_t type);
