// Painting with symmetry: what a stroke changed repeats at the mirror images of its surface
// points, straight in the texels, so it reaches mirrored surface that the view does not show.
#pragma once

#include "paint/canvas.h"
#include "scene/scene.h"
#include "view/transforms.h"

#include <cstdint>
#include <vector>

// For each mirror the scene's symmetry planes make: every texel of the paint triangles of the
// mirror images of the faces of `changed` (paint triangles of the object in slot) takes the
// colour of the texel at its mirrored surface point, where the stroke changed that texel
// (`before` holds the image's pixels before the stroke, row by row). The texels replaced are kept
// in journal, so the stroke stays one step. Returns the paint triangles written.
std::vector<int32_t> MirrorStrokeTexels(Scene &scene, int32_t slot,
                                        const std::vector<uint32_t> &before,
                                        const std::vector<int32_t> &changed, TexelJournal &journal);
// Shows what MirrorStrokeTexels wrote in the canvas, which the next stroke blends with: each
// pixel of the written triangles (of the object whose paint indices start at base) takes the
// texel under it. The paint view is orthographic, so window positions interpolate linearly.
void ShowInCanvas(const moObject &obj, int64_t base, const std::vector<int32_t> &triangles,
                  const Projector &project, PaintCanvas &canvas);
