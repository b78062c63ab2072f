// The elements the selection highlights in the second colour while symmetry is on: the mirror
// images of the selected elements (scene/symmetry.h), selected or not. Worked out again only when
// the selection, its mode, the planes or the scene's version change, so a frame of a drag reuses
// them.
#pragma once

#include "scene/scene.h"

#include <cstdint>
#include <unordered_set>
#include <vector>

class MirrorHighlights {
public:
  // Brings the images up to date with the scene; none for a broken mesh.
  void update(const Scene &scene);
  // Whether a selected entry is an image.
  bool isImage(const ElementRef &ref) const { return images_.count(key(ref)) != 0; }
  // The images that are not selected.
  const std::vector<ElementRef> &unselected() const { return unselected_; }

private:
  static uint64_t key(const ElementRef &ref) {
    return uint64_t(uint32_t(ref.object)) << 32 | uint32_t(ref.element);
  }
  uint64_t version_ = 0;
  int32_t mode_ = -1;
  uint8_t axes_ = 0;
  std::vector<ElementRef> selection_;
  std::unordered_set<uint64_t> images_;
  std::vector<ElementRef> unselected_;
};
