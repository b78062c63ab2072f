#include "app/picture_sketches.h"

void pen(QPainter &p, const QColor &colour, qreal width) {
  p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

Cube cubeIn(const QRectF &box) {
  const qreal h = box.height(), s = h * 0.66, d = h * 0.34;
  const QPointF tl(box.center().x() - (s + d) / 2, box.top() + d);
  const QPointF tr = tl + QPointF(s, 0), br = tl + QPointF(s, s), bl = tl + QPointF(0, s);
  const QPointF back(d, -d);
  Cube c;
  c.front << tl << tr << br << bl;
  c.top << tl << tr << tr + back << tl + back;
  c.side << tr << br << br + back << tr + back;
  return c;
}

void drawCube(QPainter &p, const Cube &c, const QColor &front, const QColor &top,
              const QColor &side) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(top);
  p.drawPolygon(c.top);
  p.setBrush(side);
  p.drawPolygon(c.side);
  p.setBrush(front);
  p.drawPolygon(c.front);
}

void drawPlainCube(QPainter &p, const QRectF &box) {
  drawCube(p, cubeIn(box), Qt::white, QColor(235, 235, 235), QColor(210, 210, 210));
}
