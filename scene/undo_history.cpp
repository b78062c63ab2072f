// The undo history: a modeling step keeps the object table it started from. Tables share the
// objects a step did not change, so a step costs only the objects SaveUndo copied for it. A
// paint step keeps only the texels it changed and exchanges them in place; that is sound
// because steps are taken back strictly newest first, so every object a paint step names is
// in the state the step left it in when the step is undone, whichever table now holds it.
#include "scene/undo_history.h"

#include "layers/paint_layers.h"
#include "scene/scene.h"

size_t objectBytes(const moObject &o) {
  size_t bytes =
      sizeof(moObject) + size_t(o.vertices.capacity()) * sizeof(moVertex) +
      size_t(o.edges.capacity()) * sizeof(moEdge) + size_t(o.faces.capacity()) * sizeof(moFace) +
      size_t(o.triangleVertices.capacity() + o.triangleFaces.capacity()) * sizeof(int32_t);
  if (o.paintLayer)
    bytes += size_t(o.paintLayer->image.width()) * size_t(o.paintLayer->image.height()) * 4;
  return bytes;
}

void Scene::compactNewestStep(const ObjectTable &after) {
  if (undoSteps_.empty() || undoSteps_.back().texels || !undoSteps_.back().deltas.empty())
    return;
  HistoryStep &step = undoSteps_.back();
  for (int32_t j = 0; j < std::min(step.objects.count(), after.count()); ++j) {
    const ObjectPtr copy = step.objects.pointer(j);
    const ObjectPtr &now = after.pointer(j);
    if (!copy || !now || copy == now)
      continue;
    std::unique_ptr<ObjectDelta> delta = ObjectDelta::between(*copy, *now);
    if (!delta)
      continue;
    const size_t freed = std::min(step.bytes, objectBytes(*copy));
    for (HistoryStep &kept : undoSteps_)
      if (j < kept.objects.count() && kept.objects.pointer(j) == copy)
        kept.objects.place(j, now);
    step.bytes = step.bytes - freed + delta->bytes();
    historyBytes_ = historyBytes_ - freed + delta->bytes();
    step.deltas.emplace_back(j, std::move(delta));
  }
}

void Scene::beginStep(size_t bytes) {
  compactNewestStep(backup);
  droppedRedo_ = std::move(redoSteps_);
  redoSteps_.clear();
  for (const HistoryStep &step : droppedRedo_)
    historyBytes_ -= step.bytes;
  undoSteps_.push_back({"", backup, backupVersion_, bytes, nullptr, {}});
  historyBytes_ += bytes;
  stepOpen_ = true;
  trimHistory();
}

void Scene::pushStep(HistoryStep step) {
  compactNewestStep(step.texels ? objects : step.objects);
  redoSteps_.clear();
  droppedRedo_.clear();
  stepOpen_ = false; // the one-level backup stays with the step before
  undoSteps_.push_back(std::move(step));
  historyBytes_ = 0;
  for (const HistoryStep &kept : undoSteps_)
    historyBytes_ += kept.bytes;
  trimHistory();
}

void Scene::beginObjectStep(const std::vector<int32_t> &slots, const std::string &name) {
  HistoryStep step{name, objects, version_, 0, nullptr, {}};
  for (int32_t slot : slots) {
    if (!objects.get(slot) || step.objects.pointer(slot) != objects.pointer(slot))
      continue; // empty, or named twice
    auto copy = std::make_shared<moObject>(*objects.get(slot));
    keepInHistory(slot, objects.pointer(slot), copy);
    step.bytes += objectBytes(*copy);
    step.objects.place(slot, std::move(copy));
  }
  if (step.bytes)
    pushStep(std::move(step));
}

moObject *Scene::privateObject(int32_t slot) {
  if (!objects.get(slot))
    return nullptr;
  if (objects.pointer(slot).use_count() > 1)
    objects.place(slot, std::make_shared<moObject>(*objects.get(slot)));
  return objects.get(slot);
}

void Scene::addTexelStep(const std::string &name, TexelJournal journal) {
  journal.texels.shrink_to_fit(); // a commit reserves room for a whole layer
  const size_t bytes = journal.bytes();
  pushStep({name, {}, version_, bytes, std::make_shared<TexelJournal>(std::move(journal)), {}});
  markChanged();
}

void Scene::dropOpenStep() {
  if (!stepOpen_)
    return;
  stepOpen_ = false;
  historyBytes_ -= undoSteps_.back().bytes;
  undoSteps_.pop_back();
  redoSteps_ = std::move(droppedRedo_);
  droppedRedo_.clear();
  for (const HistoryStep &step : redoSteps_)
    historyBytes_ += step.bytes;
}

void Scene::keepInHistory(int32_t j, const ObjectPtr &original, const ObjectPtr &copy) {
  for (HistoryStep &step : undoSteps_)
    if (j < step.objects.count() && step.objects.pointer(j) == original)
      step.objects.place(j, copy);
}

void Scene::keepUncompacted(int32_t j) {
  if (undoSteps_.empty())
    return;
  auto copy = std::make_shared<moObject>(*objects.get(j));
  const size_t bytes = objectBytes(*copy);
  keepInHistory(j, objects.pointer(j), copy);
  undoSteps_.back().bytes += bytes;
  historyBytes_ += bytes;
}

void Scene::trimHistory() {
  while (historyBytes_ > historyBudget_ && undoSteps_.size() > 1) {
    historyBytes_ -= undoSteps_.front().bytes;
    undoSteps_.erase(undoSteps_.begin());
  }
}

void Scene::setHistoryBudget(size_t bytes) {
  historyBudget_ = bytes;
  trimHistory();
}

void Scene::nameStep(const std::string &name) {
  if (stepOpen_)
    undoSteps_.back().name = name;
}

void Scene::clearHistory() {
  undoSteps_.clear();
  redoSteps_.clear();
  droppedRedo_.clear();
  stepOpen_ = false;
  historyBytes_ = 0;
}

std::string Scene::undoStepName() const { return undoSteps_.empty() ? "" : undoSteps_.back().name; }

std::string Scene::redoStepName() const { return redoSteps_.empty() ? "" : redoSteps_.back().name; }

bool Scene::exchangeStep(std::vector<HistoryStep> &from, std::vector<HistoryStep> &to, bool back) {
  HistoryStep step = std::move(from.back());
  from.pop_back();
  stepOpen_ = false;
  droppedRedo_.clear();
  const std::string said = (back ? "Undo: " : "Redo: ") + step.name;
  ui_.setStatus(said);
  lastTexels_ = step.texels;
  if (step.texels) {
    if (!exchangeTexels(objects, *step.texels, back))
      ui_.setStatus(said + " changed nothing: its paint is no longer there");
    std::swap(version_, step.version);
    to.push_back(std::move(step));
    return true;
  }
  for (const auto &[slot, delta] : step.deltas)
    if (!step.objects.get(slot) || !delta->fits(*step.objects.get(slot))) {
      // Changed outside the history since: neither this step nor the ones beyond it can be
      // taken any more.
      for (const HistoryStep &gone : from)
        historyBytes_ -= gone.bytes;
      historyBytes_ -= step.bytes;
      from.clear();
      ui_.setStatus(said + " changed nothing: the object is no longer as the step left it");
      return false;
    }
  // The way back exchanges a delta again where the table left behind holds the very object
  // exchanged; where it holds another (a copy made since), that one is the state to go back to.
  HistoryStep reverse{step.name, objects, version_, step.bytes, nullptr, {}};
  for (auto &[slot, delta] : step.deltas) {
    delta->exchange(*step.objects.get(slot));
    if (objects.pointer(slot) == step.objects.pointer(slot))
      reverse.deltas.emplace_back(slot, std::move(delta));
  }
  to.push_back(std::move(reverse));
  objects = std::move(step.objects);
  version_ = step.version;
  backup.clear(true); // the one-level backup belonged to the state left behind
  mode = moFREE;
  clearSelection();
  previousSelection.Clear();
  return true;
}

bool Scene::UndoStep() {
  if (undoSteps_.empty()) {
    ui_.messageBox("No further undo available");
    return false;
  }
  return exchangeStep(undoSteps_, redoSteps_, true);
}

bool Scene::RedoStep() {
  if (redoSteps_.empty()) {
    ui_.messageBox("No further redo available");
    return false;
  }
  return exchangeStep(redoSteps_, undoSteps_, false);
}
