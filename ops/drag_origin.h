// The scene as an interactive operation's setup left it, kept so that a drag can be set to an
// exact amount after the mouse has moved it (a typed amount, a snap onto a vertex). A drag only
// moves vertices of the objects its setup saved for undo (those not shared with the backup) and
// rewrites the scratch vectors and lists, so that is all this keeps.
#pragma once

#include "scene/scene.h"

#include <utility>
#include <vector>

class DragOrigin {
public:
  // Keeps the vertex coordinates of every object not shared with the undo backup, the element
  // vectors and centres and the previous-selection list (the auxiliary vertex list of a move).
  void capture(const Scene &scene);
  // Puts what capture kept back. An object whose slot was emptied or whose vertex count changed
  // since (nothing a drag does) is left alone; false when there was one, or nothing was captured.
  bool restore(Scene &scene) const;
  // Forgets what was kept.
  void clear();
  bool captured() const { return captured_; }
  // The kept position of vertex `vertex` of the object in `slot`; false when none was kept.
  bool position(int32_t slot, int32_t vertex, moVec3 &out) const;

private:
  bool captured_ = false;
  std::vector<std::pair<int32_t, std::vector<moVec3>>> coordinates_;
  std::vector<moVec3> elementVectors_, elementCentres_;
  SelectionList previousSelection_;
};
