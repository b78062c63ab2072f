#include "app/colour_chooser.h"

moColor ColourChooser::current() const {
  return toolColour ? toolColour() : layer_.scene().GetCurrentColour();
}

void ColourChooser::apply(moColor colour) {
  colour.a = 255;
  if (setToolColour)
    setToolColour(colour);
  layer_.execute(kScriptSetColour, {colour.r, colour.g, colour.b, colour.a});
  emit colourChanged();
}

bool ColourChooser::ChooseColour(moColor initial) {
  moColor chosen = initial;
  if (!layer_.ui().chooseColour(initial, chosen))
    return false;
  apply(chosen);
  return true;
}
