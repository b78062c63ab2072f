// The "Toolbox" floating window of the paint work mode: the paint tool bars on top and the
// colour swatch ("colorSwatch") below them. The swatch shows the reveal, pattern or stamp image
// while one is in use, else the current tool's colour; a click on it asks for another such
// image, or else a colour. Its context menu offers the image projections onto the objects.
#pragma once

#include "paint/tools/paint_window_input.h"

#include <QWidget>

class ToolboxWindow : public QWidget {
  Q_OBJECT
public:
  ToolboxWindow(PaintWindowInput &input, QWidget *parent);
  // Places the paint tool bars in the room above the swatch (the toolbox owns them then).
  void setToolBars(QWidget *bars);
  QWidget *swatch() const { return swatch_; }

  static constexpr QSize kSize{80, 564};
  static constexpr QRect kSwatchRect{5, 462, 62, 62}; // (5, 462) to (67, 524)

signals:
  // A click on the swatch.
  void swatchClicked();
  // A command chosen from the swatch's context menu.
  void commandChosen(int32_t number);

private:
  QWidget *swatch_;
};

// The swatch's picture: the image the paint tools take their paint from, scaled to fill rect,
// or the current tool's colour.
void paintSwatch(QPainter &painter, const QRect &rect, const PaintWindowInput &input);
