// The one scene: the object table, the single level of undo, the selection, the scratch vectors
// of interactive operations and the current colour. Modeling operations are Scene methods that
// follow one protocol (runOperation); selection commands live in selection_commands.cpp and undo
// in undo.cpp.
#pragma once

#include "core/mesh.h"
#include "core/primitives.h"
#include "layers/paint_carry.h"
#include "scene/object_delta.h"
#include "scene/object_table.h"
#include "scene/selection.h"
#include "scene/symmetry.h"
#include "scene/texel_journal.h"
#include "scene/user_interface.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Which modes an operation accepts, as a bit mask of (1 << mode).
constexpr uint32_t modeBit(SelectionMode m) { return 1u << m; }

struct OperationRules {
  bool paintGuard = true;                // may change faces: runs PaintedObjectGuard, carries paint
  uint32_t acceptedModes = 0;            // other modes make the operation return false silently
  MirrorRule mirrors = MirrorRule::Join; // how it takes part in symmetry (scene/symmetry.h)
};

class Scene;
// The entries naming an existing element of a usable object in the current mode, in order.
std::vector<ElementRef> liveEntries(const Scene &scene);

class Scene {
public:
  explicit Scene(UserInterface &ui);

  UserInterface &ui() { return ui_; }

  // --- Objects ---

  moObject *object(int32_t slot) const { return objects.get(slot); }
  // The object an entry names, null for an empty slot or an object that is hidden or
  // insensitive when usableOnly.
  moObject *objectOf(const ElementRef &ref, bool usableOnly) const;
  // Whether an entry names an existing element of its object (for the current mode).
  bool elementExists(const ElementRef &ref, SelectionMode m) const;
  // The mean position of the selected elements of usable objects (vertices, edge midpoints, face
  // centres or object centres); the origin for an empty selection.
  moVec3 selectionCentre() const;
  // Builds a primitive as the Add menu does: saves undo, clears the selection, puts the object
  // into the lowest empty slot and appends the slot number to its name. Returns the slot.
  int32_t createPrimitive(PrimitiveType type);
  void SetShading(bool shaded, bool selectedOnly);
  void SetObjectVisible(int32_t slot, bool value);
  void SetObjectSensitive(int32_t slot, bool value);
  void SetCurrentColour(moColor c) { currentColour = c; }
  moColor GetCurrentColour() const { return currentColour; }
  // "Object Statistics": message boxes in objects mode, element dumps on standard output in the
  // element modes, "no elements selected" with an empty selection.
  void ShowInfo();
  // "Delete all objects": clears the selection, saves undo, compacts every object and empties
  // the table; Undo brings everything back.
  void DeleteAll();

  // --- The operation protocol ---

  // Prepares the selected objects for an operation that may change their faces: drops entries
  // of hidden or insensitive objects and empties the paint triangle lists of unpainted ones
  // (painted objects keep theirs until the operation has carried their paint).
  void PaintedObjectGuard();
  // Shows the failure, restores the state saved before the operation and clears the selection.
  bool RecoverFromFailure(const std::exception &failure);
  // Runs one modeling operation: guard, SaveUndo, mode check, dropping unusable entries, the
  // selection's mirror images by the rules' MirrorRule, then change(), after which the mirror
  // vertices are put in place (beginSymmetricOperation) and, under a paintGuard rule, every
  // object it changed or made takes its paint from the painted objects as they were
  // (PaintCarrier: faces it kept keep their texels, new faces take the paint of the surface they
  // grew from); an exception from change() is handed to RecoverFromFailure, except
  // moCancelledException (the user stopped it), after which the objects are as they were saved and
  // the selection stays, without a message. Returns change()'s result, false when a step refused.
  bool runOperation(const OperationRules &rules, const std::function<bool()> &change);
  // Removes selection entries whose object is empty, hidden or insensitive (as toggles).
  void dropUnusableEntries();
  // Compacts every object named by the selection.
  void compactSelectedObjects();

  // --- Selection commands (return true when the selection changed) ---

  void SetMode(SelectionMode m);
  void DeselectReselect();
  bool SelectAll(int32_t type);
  bool SelectAdjacent(int32_t type);
  bool Grow();
  bool Shrink();
  bool EdgeLoop();
  bool SetModeEmpty(SelectionMode m);
  // A click on a picked element: in automatic pick mode an empty selection first takes the
  // element's type as its mode. Returns true when the click added the element (a drag with the
  // button down then adds), false when it removed it.
  bool ClickSelect(const ElementRef &picked, SelectionMode pickedType, bool automaticPickMode);
  // A further element under the pointer while the button stays down.
  void DragSelect(const ElementRef &picked, bool add);
  // Empties the selection and both scratch vector arrays.
  void clearSelection();

  // --- Undo ---

  // Refreshes the backup: unselected objects are shared with it, selected ones deep-copied.
  void SaveUndo();
  // Swaps the current table with the backup; with discard the swapped-out objects that are not
  // shared with the restored state are released.
  void Undo(bool discard);
  // The Undo command: mode moFREE, Undo(false), selection cleared.
  void UndoCommand();

  // --- Undo history ---
  // Every SaveUndo begins a step of the history; a step that adds nothing (a refused operation,
  // a cancelled drag, a recovered failure: the ones Undo(true) or Undo(false) take back at once)
  // leaves it again, and the steps ahead that it dropped come back.

  // Takes the scene back to the objects before the newest step, which Redo brings back, and says
  // so ("Undo: Extrude"); after a modeling step the mode is moFREE and the selection cleared,
  // a paint step keeps both. False, with "No further undo available", when there is none.
  bool UndoStep();
  // Brings back the step the last UndoStep took back ("Redo: paint stroke"). False, with "No
  // further redo available", when there is none.
  bool RedoStep();
  // What UndoStep and RedoStep would take back or bring back; empty for none or an unnamed step.
  std::string undoStepName() const;
  std::string redoStepName() const;
  bool canUndoStep() const { return !undoSteps_.empty(); }
  size_t undoStepCount() const { return undoSteps_.size(); }
  bool canRedoStep() const { return !redoSteps_.empty(); }
  // The texels the last UndoStep or RedoStep exchanged when it was a paint step, else null; the
  // view reloads just those.
  const TexelJournal *lastTexelStep() const { return lastTexels_.get(); }
  // Names the step the last SaveUndo began ("Extrude", "Add cube").
  void nameStep(const std::string &name);
  // Leaves the step the last SaveUndo began when nothing came of it; the steps ahead that it
  // dropped come back. Nothing when that step has been taken back or followed already.
  void dropOpenStep();
  // Begins a step for a change made in place to these objects that the one-level backup does not
  // keep (name, visibility, sensitivity, a paint layer's size or kind): the history keeps the
  // objects as they are now.
  void beginObjectStep(const std::vector<int32_t> &slots, const std::string &name);
  // Adds a paint step that has changed the texels the journal keeps as they were; the history
  // keeps only those. Counts as a change of the scene.
  void addTexelStep(const std::string &name, TexelJournal journal);
  // The object in slot for a change in place that no step records (a paint surface made for
  // it): when the history or the one-level backup share it, the table takes a copy of its own
  // first, so they keep it as it was. Null for an empty slot.
  moObject *privateObject(int32_t slot);
  // Forgets every step (a new or an opened scene).
  void clearHistory();
  // The memory the steps may hold in objects that only they keep; when it is exceeded the
  // oldest steps are forgotten, the newest always kept. 256 MiB unless set.
  void setHistoryBudget(size_t bytes);
  size_t historyBytes() const { return historyBytes_; }

  // --- Changes ---

  // The version of the scene's content. Every step raises it to a value it never had before
  // (SaveUndo, which every modeling step starts with, and markChanged); Undo exchanges it with
  // the backup's, so undoing a step gives back the version from before it. A file command
  // that records the version can tell whether the scene still is what it read or wrote.
  uint64_t version() const { return version_; }
  // A change outside the undo protocol: paint strokes, fills and layers, names, visibility.
  void markChanged() { version_ = ++lastVersion_; }

  // --- Fields ---

  ObjectTable objects;
  ObjectTable backup;
  SelectionMode mode = moVERTICES;
  SelectionMode previousMode = moVERTICES;
  SelectionList selection;
  SelectionList previousSelection;
  std::vector<moVec3> elementVectors; // per-element normals or offsets during a drag
  std::vector<moVec3> elementCentres; // per-element or per-region pivots during a drag
  bool clearSelectionOnUndo = false;
  moColor currentColour{0, 0, 0, 255};

  // --- Symmetry (view state: not saved in scene files) ---

  SymmetryPlanes symmetry;
  MirrorFollowers mirrorFollowers; // of the running operation; each operation starts them anew

  // The running operation's paint sources, when it carries paint (null otherwise). An operation
  // that builds its result from an intermediate object (a mirrored copy) adds that object.
  PaintCarrier *paintCarrier = nullptr;

private:
  using EntryVisitor = std::function<void(const ElementRef &, const moObject &)>;
  // The frame of the commands that derive a result from the selection: an empty selection is
  // refused with a message, a mode not accepted silently; otherwise the result list is emptied
  // and visit sees every entry from the last to the first whose object is usable and whose
  // element exists.
  bool deriveSelection(bool modeAccepted, const EntryVisitor &visit);
  // Swaps the result built in previousSelection in, with the given mode.
  void commitResult(SelectionMode resultMode);
  // The selected objects as the backup keeps them, when one of them is painted, with the
  // selected faces preferred.
  void addPaintSources(PaintCarrier &carrier) const;
  // Every object the operation changed or made takes its paint from the carrier's sources.
  void carryPaint(const PaintCarrier &carrier);

  struct HistoryStep {
    std::string name;
    ObjectTable objects; // the table the step starts from (or, for a redo, leads to)
    uint64_t version = 0;
    size_t bytes = 0; // the objects (or texels) the step copied
    // A paint step's texels, exchanged in place; its table is empty.
    std::shared_ptr<TexelJournal> texels;
    // Objects of the table that the step leads to by exchanging these in place.
    std::vector<std::pair<int32_t, std::shared_ptr<ObjectDelta>>> deltas;
  };
  // The newest step is followed by another: the copies it made give way to the deltas from
  // `after`, the table the step led to, wherever they are smaller.
  void compactNewestStep(const ObjectTable &after);
  // Drops the steps ahead for good and adds step, which the one-level backup does not know.
  void pushStep(HistoryStep step);
  // Moves the newest step of `from` onto `to`, exchanging the scene's state with the step's.
  // False, forgetting the steps of `from`, when an object is not as the step expects it.
  bool exchangeStep(std::vector<HistoryStep> &from, std::vector<HistoryStep> &to, bool back);
  void beginStep(size_t bytes);
  // Older steps that hold `original` in slot j hold `copy` instead, since original is about to
  // change in place.
  void keepInHistory(int32_t j, const ObjectPtr &original, const ObjectPtr &copy);
  // Before Delete all compacts the object in slot j, the history keeps a copy as it was.
  void keepUncompacted(int32_t j);
  void trimHistory();

  UserInterface &ui_;
  uint64_t version_ = 0, backupVersion_ = 0, lastVersion_ = 0;
  std::vector<HistoryStep> undoSteps_, redoSteps_, droppedRedo_;
  bool stepOpen_ = false;
  std::shared_ptr<const TexelJournal> lastTexels_;
  size_t historyBudget_ = size_t(256) << 20, historyBytes_ = 0;
};
