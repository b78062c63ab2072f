// The undo history: a step keeps the object table it started from. Tables share the objects a
// step did not change, so a step costs only the objects SaveUndo copied for it.
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

void Scene::beginStep(size_t bytes) {
  droppedRedo_ = std::move(redoSteps_);
  redoSteps_.clear();
  for (const HistoryStep &step : droppedRedo_)
    historyBytes_ -= step.bytes;
  undoSteps_.push_back({"", backup, backupVersion_, bytes});
  historyBytes_ += bytes;
  stepOpen_ = true;
  trimHistory();
}

void Scene::beginAttributeStep(int32_t slot, const std::string &name) {
  if (!objects.get(slot))
    return;
  auto copy = std::make_shared<moObject>(*objects.get(slot));
  keepInHistory(slot, objects.pointer(slot), copy);
  HistoryStep step{name, objects, version_, objectBytes(*copy)};
  step.objects.place(slot, std::move(copy));
  redoSteps_.clear();
  droppedRedo_.clear();
  stepOpen_ = false; // the one-level backup stays with the step before
  historyBytes_ = 0;
  undoSteps_.push_back(std::move(step));
  for (const HistoryStep &kept : undoSteps_)
    historyBytes_ += kept.bytes;
  trimHistory();
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

namespace {

// Moves the newest step of `from` onto `to` with the scene's present table and version, and
// gives the scene the step's.
template <class Step>
void exchangeStep(std::vector<Step> &from, std::vector<Step> &to, ObjectTable &objects,
                  uint64_t &version) {
  Step step = std::move(from.back());
  from.pop_back();
  to.push_back({step.name, objects, version, step.bytes});
  objects = std::move(step.objects);
  version = step.version;
}

} // namespace

bool Scene::UndoStep() {
  if (undoSteps_.empty()) {
    ui_.messageBox("No further undo available");
    return false;
  }
  stepOpen_ = false;
  droppedRedo_.clear();
  exchangeStep(undoSteps_, redoSteps_, objects, version_);
  backup.clear(true); // the one-level backup belonged to the state left behind
  mode = moFREE;
  clearSelection();
  previousSelection.Clear();
  return true;
}

bool Scene::RedoStep() {
  if (redoSteps_.empty()) {
    ui_.messageBox("No further redo available");
    return false;
  }
  stepOpen_ = false;
  droppedRedo_.clear();
  exchangeStep(redoSteps_, undoSteps_, objects, version_);
  backup.clear(true);
  mode = moFREE;
  clearSelection();
  previousSelection.Clear();
  return true;
}
