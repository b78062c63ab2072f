// The user commands that work on the command layer's sessions, as the rows of the command table
// run them (the argument is the row's): the file commands on its file session, the paint
// commands on its active paint session.
#pragma once

#include <cstdint>

class CommandLayer;
struct CommandEntry;

// The file commands. Each needs the layer's file session: without one the layer does not run
// them (see needsFileSession).
void runNewScene(CommandLayer &layer, int32_t);
void runOpen(CommandLayer &layer, int32_t);
void runSave(CommandLayer &layer, int32_t);
void runSaveAs(CommandLayer &layer, int32_t);
void runSaveSelected(CommandLayer &layer, int32_t);
void runRevert(CommandLayer &layer, int32_t);
void runImport(CommandLayer &layer, int32_t);
// Exports all objects when allObjects is not 0, else the selected ones.
void runExport(CommandLayer &layer, int32_t allObjects);
void runAddFromFile(CommandLayer &layer, int32_t);
void runStartRecording(CommandLayer &layer, int32_t);
// Whether the row runs one of the file commands.
bool needsFileSession(const CommandEntry &entry);

// The paint commands: on the active paint session, nothing in the Model work mode.
void runPaintUndo(CommandLayer &layer, int32_t);
void runPaintRedo(CommandLayer &layer, int32_t);
void runMask(CommandLayer &layer, int32_t);
void runInverseMask(CommandLayer &layer, int32_t);
void runReveal(CommandLayer &layer, int32_t);
void runPattern(CommandLayer &layer, int32_t);
// Projects an image of the user's choice by its moProjection type.
void runProjection(CommandLayer &layer, int32_t type);
// Erases the paint of every object after the user agreed.
void runEraseAll(CommandLayer &layer, int32_t);
