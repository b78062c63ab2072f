#include "app/colour_widgets.h"

#include "app/button_pictures.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

ColourSwatch::ColourSwatch(ColourChooser &chooser, QSize size, QWidget *parent)
    : QWidget(parent), chooser_(chooser) {
  setFixedSize(size);
  connect(&chooser, &ColourChooser::colourChanged, this, qOverload<>(&QWidget::update));
}

void ColourSwatch::paintEvent(QPaintEvent *) {
  const moColor c = chooser_.current();
  QPainter p(this);
  p.fillRect(rect(), QColor(c.r, c.g, c.b));
  p.setPen(Qt::black);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColourSwatch::mousePressEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton)
    chooser_.ChooseColour(chooser_.current());
}

ColourPalette::ColourPalette(ColourChooser &chooser, QWidget *parent)
    : QWidget(parent), chooser_(chooser) {
  setFixedSize(kPaletteWidth, kPaletteHeight);
}

void ColourPalette::paintEvent(QPaintEvent *) {
  const qreal ratio = devicePixelRatioF();
  if (picture_.isNull() || picture_.devicePixelRatio() != ratio)
    picture_ = palettePicture(ratio);
  QPainter p(this);
  p.drawImage(QPoint(0, 0), picture_);
}

moColor ColourPalette::colourAt(const QMouseEvent *event) const {
  const QPointF at = event->position();
  const QColor c = paletteColour(std::floor(at.x()), std::floor(at.y()));
  return {uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue()), 255};
}

// The press of a double-click has picked the colour already; the chooser opens on it.
void ColourPalette::mousePressEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton)
    chooser_.apply(colourAt(event));
}

void ColourPalette::mouseDoubleClickEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton)
    chooser_.ChooseColour(colourAt(event));
}
