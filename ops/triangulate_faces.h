// The Triangulate command: fills an object's paint triangle lists for painting and export.
#pragma once

#include "core/face_triangulation.h"
#include "scene/user_interface.h"

// triangulateFaces with the method, showing "Triangulation method not implemented yet" for a
// method it does not know (the lists are then left alone).
bool Triangulate(moObject &obj, int32_t method, UserInterface &ui);
