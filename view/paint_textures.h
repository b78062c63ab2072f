// The paint layers' images as OpenGL textures on the current context: object i's texture has
// the name i + 1. Whole images are loaded when an object's lists are built; a stroke reloads
// only the texel rectangles it changed.
#pragma once

#include "core/mesh.h"

#include <vector>

constexpr uint32_t paintTextureName(int32_t slot) { return uint32_t(slot) + 1; }

// Whether obj is drawn with its paint texture: textures shown, the object shaded, its
// showTexture flag set and a layer with an image and paint triangles.
bool showsPaintTexture(const moObject &obj, bool texturesOn);

// Binds the texture of slot, sets linear filtering, priority 1 and the modulate environment and
// loads the whole image of obj's layer. Returns false, loading nothing, when obj has no image
// or the image is larger than the context's textures may be.
bool UploadTexture(const moObject &obj, int32_t slot);
// Binds the texture of slot and reloads the texels of rect (clipped to the image) from obj's
// layer as a sub-image. The pixel unpack settings are back at their defaults afterwards.
void UpdateTextureRect(const moObject &obj, int32_t slot, const TexelRect &rect);
// Reloads the rectangles, merging those of one row of texels that lie close together so that
// many small cells cost few loads.
void UpdateTextureRects(const moObject &obj, int32_t slot, std::vector<TexelRect> rects);
// Deletes the texture of slot (after its paint layer has gone).
void DeleteTexture(int32_t slot);
