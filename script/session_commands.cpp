#include "script/session_commands.h"

#include "paint/tools/paint_window_input.h"
#include "script/command_layer.h"
#include "script/command_table.h"
#include "script/file_session.h"

#include <algorithm>

namespace {

using Layer = CommandLayer;

template <bool (PaintWindowInput::*command)()> void paint(Layer &l) {
  l.withPaint([](PaintWindowInput &in) { return (in.*command)(); });
}

} // namespace

void runNewScene(Layer &l, int32_t) { l.files()->newScene(l); }
void runOpen(Layer &l, int32_t) { l.files()->open(); }
void runSave(Layer &l, int32_t) { l.files()->save(); }
void runSaveAs(Layer &l, int32_t) { l.files()->saveAs(); }
void runSaveSelected(Layer &l, int32_t) { l.files()->saveSelected(); }
void runRevert(Layer &l, int32_t) { l.files()->revert(); }
void runImport(Layer &l, int32_t) { l.files()->importModel(); }
void runExport(Layer &l, int32_t allObjects) { l.files()->exportModel(allObjects != 0); }
void runAddFromFile(Layer &l, int32_t) { l.files()->addFromFile(); }
void runStartRecording(Layer &l, int32_t) { l.files()->startRecording(l); }

bool needsFileSession(const CommandEntry &entry) {
  static constexpr void (*kFileCommands[])(Layer &, int32_t) = {
      runNewScene, runOpen,   runSave,   runSaveAs,      runSaveSelected,
      runRevert,   runImport, runExport, runAddFromFile, runStartRecording};
  return std::find(std::begin(kFileCommands), std::end(kFileCommands), entry.run) !=
         std::end(kFileCommands);
}

void runPaintUndo(Layer &l, int32_t) { paint<&PaintWindowInput::undo>(l); }
void runPaintRedo(Layer &l, int32_t) { paint<&PaintWindowInput::redo>(l); }
void runMask(Layer &l, int32_t) { paint<&PaintWindowInput::toggleMask>(l); }
void runInverseMask(Layer &l, int32_t) { paint<&PaintWindowInput::toggleInverseMask>(l); }
void runReveal(Layer &l, int32_t) { paint<&PaintWindowInput::toggleReveal>(l); }
void runPattern(Layer &l, int32_t) { paint<&PaintWindowInput::togglePattern>(l); }

void runProjection(Layer &l, int32_t type) {
  l.withPaint([type](PaintWindowInput &in) { return in.project(type); });
}

void runEraseAll(Layer &l, int32_t) { paint<&PaintWindowInput::eraseAll>(l); }
