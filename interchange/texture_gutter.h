// The gutter of an exported texture: texels no paint triangle uses take the colour of the
// nearest texel one uses, so that a viewer that filters the texture over mipmap levels mixes in
// no stray colour where a used region borders an unused one.
#pragma once

#include "core/mesh.h"
#include "image/image_buffer.h"

// For an atlas paint layer (the program's own layout), every texel of image outside the texel
// cells of obj's paint triangles gets the colour of the nearest texel inside one, nearness
// counted in steps to any of the eight neighbours; image has the layer's size. Layers of
// texture coordinates keep every texel: their images may be a model's own, whose texels
// outside the triangles are part of the picture. Nothing changes either when the triangles
// use no texel.
void fillTextureGutter(const moObject &obj, ImageBuffer &image);
