// The model window's input controller behind the script layer. Live events from the window come
// through here and are recorded, when a recording runs, with what they caused: hover results,
// selection clicks, drag kinds, operation titles and the step marker of each return to the select
// mode. Played-back events reach the controller as the window's would; while playing, the
// selection changes of clicks come from the script's own click records, not from the pointer.
#pragma once

#include "script/command_layer.h"
#include "view/interaction_controller.h"

class ScriptedController : public ScriptInput {
public:
  ScriptedController(InteractionController &controller, CommandLayer &layer);

  // Live input of the model window. An amount typed during a drag is recorded when Enter applies
  // it: the amount (code 133), then the left click that commits it and the step marker.
  Reaction pointer(const PointerInput &input);
  Reaction key(const KeyInput &input);
  // Escape: cancels a running drag exactly as a right click does (and is recorded as one).
  Reaction cancelDrag();
  // An entry of the operations menu, run through the command layer.
  Reaction choose(const MenuCommand &command);
  // The reaction an operation, a wheel turn or a spin tick sent through the command layer left
  // for the window.
  Reaction takeReaction();
  bool playing() const { return playing_; }

  // ScriptInput: recorded events played back.
  void press(int32_t button, int32_t x, int32_t y) override;
  void release(int32_t button, int32_t x, int32_t y) override;
  void move(int32_t x, int32_t y) override;
  void setButtons(int32_t word) override { buttons_ = word; }
  void setLastPosition(int32_t x, int32_t y) override;
  void setDragKind(int32_t kind) override { controller_.dragKind = kind; }
  void keyDown(int32_t key) override { playKey(key, true); }
  void keyUp(int32_t key) override { playKey(key, false); }
  void regionSelect(int32_t x, int32_t y, int32_t width, int32_t height, int32_t kind,
                    int32_t capacity) override;
  bool inSelectMode() const override;
  bool startOperation(int32_t operationId, int32_t argument) override;
  bool runCommand(int32_t command, int32_t argument) override;
  void setPlaying(bool playing) override { playing_ = controller_.playing = playing; }
  void releaseSnap() override;
  void setDragAmount(float amount) override { controller_.setDragAmount(amount); }
  // Live only: the controller's zoom and spin, their reactions kept for takeReaction.
  // Records the turn, then zooms.
  void wheel(int32_t delta) override;
  void spinTick() override { pending_ = controller_.tick(); }

private:
  struct Before {
    InteractionController::Mode mode;
    int32_t hoverKind, hoverObject, hoverElement;
    int32_t selectionCount;
  };
  Before snapshot() const;
  // Records what an event changed; returns the reaction unchanged.
  Reaction recordEffects(Before &before, const PointerInput &input, Reaction reaction);
  // Records the hover result when it differs from before's, which then takes it.
  void recordHover(Before &before);
  Reaction playPointer(PointerInput input);
  void playKey(int32_t key, bool press);
  // Records the drag kind of a start that left the controller dragging.
  void recordDragKind();
  // The typing keys of a drag, and what Enter made of them.
  Reaction typedKey(const KeyInput &input);

  InteractionController &controller_;
  CommandLayer &layer_;
  bool playing_ = false;
  bool ctrl_ = false;
  int32_t buttons_ = 0;         // played: the word of the next move
  int32_t recordedButtons_ = 0; // recorded: the word last written
  Reaction pending_;
};
