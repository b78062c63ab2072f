// Images brought into the paint work mode: the reveal image (placed over the view, uncovered by
// the brushes), the pattern image (tiled over the view as paint), the stamp image and the image
// projected onto the objects. Each import asks for the file through the user interface.
#pragma once

#include "paint/tools/paint_tool.h"
#include "scene/user_interface.h"

#include <string>

enum PaintImageTarget : int32_t {
  kRevealTarget = 1,
  kStampTarget = 2,
  kPatternTarget = 3,
  kProjectionTarget = 4,
};

// The file dialog of the paint images ("Select an image file to load", TIFF, BMP, PNG, JPEG and
// PPM entries, default extension tif). It starts in folder, which is then cleared so that later
// dialogs start where the last one was left. The file's extension picks the reader, or else the
// filter entry it was chosen under. Returns false when the dialog was cancelled; an
// image the file does not give (a message names it) comes back empty.
bool chooseImageFile(UserInterface &ui, std::string &folder, ImageBuffer &image);

// Asks for an image and puts it to use as target says: the reveal image (alpha 48, centred on
// the canvas, the reveal mode turned on and shown), the stamp (the stamp tool made current; an
// empty image makes the knife current instead) or the pattern (alpha 48, the pattern mode on).
// An empty reveal or pattern image changes nothing. Returns false when the dialog was cancelled
// or the target is not one of these three, leaving everything as it was.
bool ImportPaintImage(PaintContext &ctx, UserInterface &ui, std::string &folder, int32_t target);

// The reveal tool: turns the reveal mode off (the view redrawn, the current tool activated
// again), or on with the image it has (drawn over the view), or imports one first. Returns
// whether the reveal mode is on afterwards.
bool ToggleReveal(PaintContext &ctx, UserInterface &ui, std::string &folder);
// The pattern tool, likewise with the pattern image. Returns whether the pattern mode is on.
bool TogglePattern(PaintContext &ctx, UserInterface &ui, std::string &folder);

// Asks for an image and projects it onto every visible, sensitive object from the current view
// (type moPLANAR, moSPHERICAL or moCYLINDRICAL), replacing their paint. Returns false, changing
// nothing, when the dialog was cancelled, the image is empty or there is no scene.
bool ProjectPaintImage(PaintContext &ctx, UserInterface &ui, std::string &folder, int32_t type);
