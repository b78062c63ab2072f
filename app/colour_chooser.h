// The colour the paint tools and the scene share, and the colour chooser. A chosen colour
// becomes the current paint tool's colour and, through script command 120 (so a recording sees
// it), the scene's current colour; the swatches repaint on colourChanged.
#pragma once

#include "script/command_layer.h"

#include <QObject>
#include <functional>

class ColourChooser : public QObject {
  Q_OBJECT
public:
  explicit ColourChooser(CommandLayer &layer, QObject *parent = nullptr)
      : QObject(parent), layer_(layer) {}

  // The paint window's hooks: the current paint tool's colour and its colour setter. Without
  // them the scene's current colour stands for the tool's.
  std::function<moColor()> toolColour;
  std::function<void(moColor)> setToolColour;

  // The colour a swatch shows: the current paint tool's.
  moColor current() const;
  // Makes colour, with alpha 255, the paint tool's colour and the scene's current colour.
  void apply(moColor colour);
  // The colour dialog, preset to initial; on OK apply(chosen). On Cancel nothing changes.
  // Returns whether a colour was chosen.
  bool ChooseColour(moColor initial);

signals:
  void colourChanged();

private:
  CommandLayer &layer_;
};
