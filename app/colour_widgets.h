// The small colour controls of the tool bars: a swatch that shows the paint tool's colour and
// opens the colour chooser when clicked, and the palette picture that picks a colour with a click
// and opens the chooser on it with a double-click.
#pragma once

#include "app/colour_chooser.h"

#include <QImage>
#include <QWidget>

class ColourSwatch : public QWidget {
  Q_OBJECT
public:
  // Repaints whenever the chooser's colour changes.
  ColourSwatch(ColourChooser &chooser, QSize size, QWidget *parent = nullptr);

protected:
  void paintEvent(QPaintEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;

private:
  ColourChooser &chooser_;
};

class ColourPalette : public QWidget {
  Q_OBJECT
public:
  explicit ColourPalette(ColourChooser &chooser, QWidget *parent = nullptr);

protected:
  void paintEvent(QPaintEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
  // The palette's colour under the pointer, opaque.
  moColor colourAt(const QMouseEvent *event) const;

  ColourChooser &chooser_;
  QImage picture_; // drawn for the screen's pixel ratio
};
