#include "ops/triangulate_faces.h"

bool Triangulate(moObject &obj, int32_t method, UserInterface &ui) {
  if (triangulateFaces(obj, method))
    return true;
  ui.messageBox("Triangulation method not implemented yet");
  return false;
}
