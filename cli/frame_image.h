// Pictures of the scene as the model window shows it, for morvo-cli's render and play.
#pragma once

#include "scene/scene.h"
#include "view/view.h"

#include <string>

// The image type an output name asks for; an empty string, or the reason it is refused (only
// the formats the program writes are accepted).
std::string pictureTypeOf(const std::string &path, int &type);

// Draws the scene into the current context with the view and writes the picture to path in
// type's format. False with a one-line reason in error.
bool writeScenePicture(Scene &scene, View &view, const std::string &path, int type,
                       std::string &error);
