#include "app/tool_cursors.h"

#include "paint/tools/tool_registry.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace {

constexpr int kSide = 32;

// The picture of one tool: a path drawn black over a white halo, so it shows on any paint, and
// the point of the picture the tool acts at.
struct CursorPicture {
  QPainterPath path;
  QPoint hotSpot;
};

QPainterPath circle(qreal x, qreal y, qreal r) {
  QPainterPath p;
  p.addEllipse(QPointF(x, y), r, r);
  return p;
}

QPainterPath polyline(std::initializer_list<QPointF> points) {
  QPainterPath p;
  bool first = true;
  for (const QPointF &q : points) {
    if (first)
      p.moveTo(q);
    else
      p.lineTo(q);
    first = false;
  }
  return p;
}

// A small cross at the hot spot of the round brushes.
QPainterPath brush(qreal r) {
  QPainterPath p = circle(16, 16, r);
  p.addPath(polyline({{14, 16}, {18, 16}}));
  p.addPath(polyline({{16, 14}, {16, 18}}));
  return p;
}

CursorPicture pictureOf(int32_t tool) {
  switch (tool) {
  case kPaintbrushTool:
  case kLightenTool:
  case kShadowTool:
    return {brush(9), {16, 16}};
  case kPencilTool:
    return {polyline({{2, 29}, {5, 21}, {24, 2}, {29, 7}, {10, 26}, {2, 29}, {5, 21}, {10, 26}}),
            {2, 29}};
  case kAirbrushTool: {
    QPainterPath p = brush(4);
    for (int k = 0; k < 8; ++k)
      p.addPath(circle(16 + 10 * std::cos(k * 0.785), 16 + 10 * std::sin(k * 0.785), 1));
    return {p, {16, 16}};
  }
  case kBlurTool: {
    QPainterPath p = brush(9);
    p.addPath(polyline({{9, 24}, {13, 21}, {17, 24}, {21, 21}}));
    return {p, {16, 16}};
  }
  case kSmearTool:
    return {polyline({{3, 3}, {12, 27}, {15, 19}, {23, 27}, {27, 23}, {19, 15}, {27, 12}, {3, 3}}),
            {3, 3}};
  case kCloneTool: {
    QPainterPath p = brush(7);
    p.addPath(circle(24, 8, 5));
    return {p, {16, 16}};
  }
  case kStampTool: {
    QPainterPath p;
    p.addRect(6, 18, 20, 8);
    p.addRect(13, 6, 6, 12);
    return {p, {16, 28}};
  }
  case kKnifeTool:
    return {polyline({{2, 29}, {20, 6}, {28, 2}, {25, 11}, {2, 29}}), {2, 29}};
  case kFillTool:
  case kObjectFillTool: {
    QPainterPath p = polyline({{8, 12}, {18, 4}, {28, 14}, {18, 24}, {8, 12}});
    p.addPath(polyline({{8, 12}, {4, 22}, {4, 28}}));
    return {p, {4, 28}};
  }
  case kEraserTool: {
    QPainterPath p;
    p.addRect(6, 10, 20, 12);
    return {p, {6, 22}};
  }
  case kColorPickerTool:
    return {polyline({{2, 29}, {4, 23}, {19, 8}, {23, 12}, {8, 27}, {2, 29}}), {2, 29}};
  case kHandTool: {
    QPainterPath p;
    p.addRoundedRect(8, 14, 16, 14, 4, 4);
    for (int k = 0; k < 4; ++k)
      p.addRect(8 + 4 * k, 4 + (k % 3), 3, 11);
    return {p, {16, 16}};
  }
  default: { // the face selection
    QPainterPath p =
        polyline({{4, 4}, {4, 24}, {10, 18}, {16, 28}, {20, 26}, {14, 16}, {22, 16}, {4, 4}});
    p.addPath(polyline({{18, 4}, {30, 4}, {24, 14}, {18, 4}}));
    return {p, {4, 4}};
  }
  }
}

QCursor drawnCursor(int32_t tool) {
  const CursorPicture picture = pictureOf(tool);
  QPixmap pixmap(kSide, kSide);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::white, 3));
  painter.drawPath(picture.path);
  painter.setPen(QPen(Qt::black, 1));
  painter.drawPath(picture.path);
  painter.end();
  return QCursor(pixmap, picture.hotSpot.x(), picture.hotSpot.y());
}

} // namespace

QCursor paintToolCursor(int32_t toolIndex) {
  if (toolIndex < 0 || toolIndex >= kPaintToolCount)
    return QCursor(Qt::ArrowCursor);
  if (toolIndex >= kLineTool && toolIndex <= kEllipseTool)
    return QCursor(Qt::CrossCursor);
  return drawnCursor(toolIndex); // a 32-pixel drawing: cheaper than keeping pixmaps past the app
}
