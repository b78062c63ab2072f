// The paint commands of the object menu: turning an object's paint into corner colours, or
// dropping it.
#pragma once

#include "scene/scene.h"

// Convert paint to colour (moOBJECTS): every selected object's paint becomes its corner colours,
// then its paint surface is deleted and its triangle lists emptied. With convert false (Erase
// paint) the paint is dropped without converting. The selection stays. Returns whether it ran.
bool convertPaint(Scene &scene, bool convert);
