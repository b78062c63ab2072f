// What the button pictures are drawn with: a sketch paints one picture with QPainter in its
// button's coordinates; the shared colours, pen and cube; and the glyphs of the paint tool bars.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPolygonF>
#include <cstdint>
#include <functional>

using Sketch = std::function<void(QPainter &)>;

const QColor kInk(32, 32, 32);
const QColor kMark(220, 30, 30);

// A round-capped pen of the colour.
void pen(QPainter &p, const QColor &colour, qreal width = 1.5);

// A cube seen from the front, a little from above and the right.
struct Cube {
  QPolygonF front, top, side; // corners clockwise from the top-left (front), or the front's edge
};
// The cube filling the box's height, centred in it.
Cube cubeIn(const QRectF &box);
void drawCube(QPainter &p, const Cube &c, const QColor &front, const QColor &top,
              const QColor &side);
// A white cube.
void drawPlainCube(QPainter &p, const QRectF &box);

// The glyph of a paint tool-bar button (28 x 28) by command number; an empty sketch for others.
Sketch paintToolGlyph(int32_t command);
// The paintbrush alone, which the work-mode picture also shows.
void paintbrushGlyph(QPainter &p);
