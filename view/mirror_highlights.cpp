#include "view/mirror_highlights.h"

#include <exception>

void MirrorHighlights::update(const Scene &scene) {
  std::vector<ElementRef> selection;
  for (int32_t i = 0; i < scene.selection.Count(); ++i)
    selection.push_back(scene.selection.Get(i));
  if (scene.version() == version_ && scene.mode == mode_ && scene.symmetry.axes == axes_ &&
      selection == selection_)
    return;
  version_ = scene.version();
  mode_ = scene.mode;
  axes_ = scene.symmetry.axes;
  selection_ = std::move(selection);
  images_.clear();
  unselected_.clear();
  try {
    for (const ElementRef &image : mirrorSelection(scene).images) {
      images_.insert(key(image));
      if (!scene.selection.Contains(image))
        unselected_.push_back(image);
    }
  } catch (const std::exception &) {
    images_.clear(); // a broken ring: no images to show
    unselected_.clear();
  }
}
