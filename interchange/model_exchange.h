// Importing model files into the scene and exporting scene objects to them, through the format
// registry and the two converters.
#pragma once

#include "interchange/format_registry.h"
#include "interchange/gx_to_geo.h"
#include "scene/scene.h"

#include <ostream>
#include <string>

// Imports the model file at path: the reader for its extension (or, with sniffing, the first
// whose content sniff accepts the file) builds a tree and the import converter makes objects of
// it, which go into the lowest empty slots after SaveUndo. The status line shows "Processing
// file" and then "Done importing file", or "Trouble importing file" when nothing could be
// imported; the readers' messages go to diagnostics. Progress is reported on the scene's user
// interface; when the user stops the import the status line shows "Import cancelled". Returns
// whether any object was imported; otherwise the scene is exactly as it was. A body with more
// triangles than an object holds is simplified when overLimit says so, else the import fails
// (GxOverLimit's words on diagnostics).
bool importModel(Scene &scene, const FormatRegistry &registry, const std::string &path,
                 bool sniffing, std::ostream &diagnostics, const OverLimitChoice &overLimit = {});

// The lines of what importModel wrote to diagnostics that say how bodies were simplified
// ("NAME: simplified from 69 451 to 30 000 triangles, error 0.2 %"), joined by "; ".
std::string importSimplifications(const std::string &diagnostics);

// Why an import failed, in one line for the user, from what importModel wrote to diagnostics:
// the first message that reports a problem (progress notes are passed over), followed by
// " (and N more)" when N more such messages follow; "it holds no objects" when there is none.
std::string importFailureReason(const std::string &diagnostics);

// Exports every object (allObjects) or the selected objects to path with the writer for its
// extension, texture files beside it named after the model file and the object (8.3 names
// after the object alone, passing over the names of files already beside it other than the
// textures of the model file it replaces). Without a writer for the extension nothing happens
// and the result is false. When a file cannot be written a message box
// says why and the result is false. Progress is reported on the scene's user interface; the user
// can stop the export until the files are written, and then nothing is written and the status line
// shows "Export cancelled". The scene is unchanged, except that per-triangle formats triangulate
// objects that have no paint triangles.
bool exportModel(Scene &scene, const FormatRegistry &registry, const std::string &path,
                 bool allObjects, std::ostream &diagnostics);
