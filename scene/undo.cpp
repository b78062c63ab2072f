// One level of undo: the backup table shares every unselected object with the current table and
// holds private copies of the selected ones, which are the only objects operations change.
#include "scene/scene.h"

#include "scene/undo_history.h"

#include <vector>

void Scene::SaveUndo() {
  for (int32_t j = backup.count() - 1; j >= objects.count(); --j)
    backup.remove(j);
  for (int32_t j = 0; j < objects.count(); ++j)
    backup.place(j, objects.pointer(j));
  std::vector<bool> copied(static_cast<size_t>(objects.count()));
  size_t bytes = 0;
  for (int32_t i = 0; i < selection.Count(); ++i) {
    const int32_t j = selection.Get(i).object;
    if (j < 0 || j >= objects.count() || copied[j] || !objects.get(j))
      continue;
    copied[j] = true;
    auto copy = std::make_shared<moObject>(*objects.get(j));
    keepInHistory(j, objects.pointer(j), copy);
    bytes += objectBytes(*copy);
    backup.place(j, std::move(copy));
  }
  backupVersion_ = version_;
  markChanged();
  beginStep(bytes);
}

void Scene::Undo(bool discard) {
  dropOpenStep();
  if (backup.count() == 0) {
    ui_.messageBox("No further undo available");
    return;
  }
  objects.swapContents(backup);
  std::swap(version_, backupVersion_);
  if (discard)
    backup.clear(true);
  if (clearSelectionOnUndo) {
    clearSelection();
    previousSelection.Clear();
  }
}

void Scene::UndoCommand() {
  mode = moFREE;
  Undo(false);
  clearSelection();
}
