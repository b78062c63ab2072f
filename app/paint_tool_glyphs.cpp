#include "app/picture_sketches.h"

#include "paint/tools/tool_registry.h"
#include "script/command_table.h"

#include <QPainterPath>
#include <cmath>
#include <map>

namespace {

void pencilGlyph(QPainter &p) {
  const QPolygonF body({{8, 22}, {6, 20}, {19, 7}, {21, 9}});
  pen(p, kInk, 1);
  p.setBrush(QColor(250, 200, 40));
  p.drawPolygon(body);
  p.setBrush(kInk);
  p.drawPolygon(QPolygonF({{8, 22}, {6, 20}, {4, 24}}));
}

void airbrushGlyph(QPainter &p) {
  pen(p, kInk, 1);
  p.setBrush(QColor(120, 140, 170));
  p.drawRoundedRect(QRectF(14, 9, 8, 15), 2, 2);
  p.drawRect(QRectF(16, 6, 4, 3));
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  for (const QPointF pt : {QPointF(10, 7), QPointF(7, 9), QPointF(10, 11), QPointF(5, 6),
                           QPointF(7, 13), QPointF(4, 10), QPointF(12, 9)})
    p.drawEllipse(pt, 0.9, 0.9);
}
void eraserGlyph(QPainter &p) {
  pen(p, kInk, 1);
  p.setBrush(QColor(245, 160, 180));
  p.drawPolygon(QPolygonF({{4, 18}, {14, 8}, {23, 14}, {13, 24}}));
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF({{4, 18}, {8, 14}, {17, 20}, {13, 24}}));
}
void lightenGlyph(QPainter &p) {
  pen(p, QColor(200, 150, 0), 1.5);
  for (int i = 0; i < 8; ++i) {
    const qreal a = i * M_PI / 4;
    p.drawLine(QPointF(14 + 7 * std::cos(a), 14 + 7 * std::sin(a)),
               QPointF(14 + 10 * std::cos(a), 14 + 10 * std::sin(a)));
  }
  p.setBrush(QColor(255, 220, 60));
  p.drawEllipse(QPointF(14, 14), 5, 5);
}
void shadowGlyph(QPainter &p) {
  QRadialGradient g(QPointF(14, 14), 10);
  g.setColorAt(0, QColor(0, 0, 0, 220));
  g.setColorAt(1, QColor(0, 0, 0, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawEllipse(QPointF(14, 14), 10, 10);
}
void knifeGlyph(QPainter &p) {
  p.setPen(QPen(kInk, 1, Qt::DashLine));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(4, 4, 14, 12));
  pen(p, kInk, 1);
  p.setBrush(QColor(200, 200, 210));
  p.drawPolygon(QPolygonF({{12, 24}, {22, 12}, {24, 14}, {16, 24}}));
}
void blurGlyph(QPainter &p) {
  QPainterPath drop;
  drop.moveTo(14, 4);
  drop.cubicTo(20, 12, 22, 16, 22, 18);
  drop.arcTo(QRectF(6, 10, 16, 16), 0, -180);
  drop.cubicTo(6, 16, 8, 12, 14, 4);
  QRadialGradient g(QPointF(14, 18), 9);
  g.setColorAt(0, QColor(90, 140, 230));
  g.setColorAt(1, QColor(90, 140, 230, 60));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawPath(drop);
}
void smearGlyph(QPainter &p) {
  for (int i = 0; i < 3; ++i) {
    pen(p, QColor(60 + 60 * i, 60, 200 - 50 * i), 2);
    QPainterPath wave;
    wave.moveTo(4, 9 + 5 * i);
    wave.cubicTo(10, 4 + 5 * i, 16, 14 + 5 * i, 24, 9 + 5 * i);
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
  }
}
void fillGlyph(QPainter &p) {
  pen(p, kInk, 1);
  p.setBrush(QColor(190, 190, 200));
  p.drawPolygon(QPolygonF({{6, 11}, {15, 4}, {22, 13}, {13, 20}}));
  p.setBrush(QColor(40, 110, 220));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(22, 20), 2.5, 3.5);
  p.drawPolygon(QPolygonF({{22, 13}, {20, 18}, {24, 18}}));
}
void pickerGlyph(QPainter &p) {
  pen(p, kInk, 1);
  p.setBrush(QColor(230, 230, 240));
  p.drawPolygon(QPolygonF({{5, 23}, {5, 20}, {15, 10}, {18, 13}, {8, 23}}));
  p.setBrush(kInk);
  p.drawEllipse(QPointF(19.5, 8.5), 4, 4);
}
void ellipseGlyph(QPainter &p) {
  pen(p, kInk, 1);
  p.setBrush(QColor(80, 160, 80));
  p.drawEllipse(QRectF(4, 7, 20, 14));
}
void rectangleGlyph(QPainter &p) {
  pen(p, kInk, 1);
  p.setBrush(QColor(80, 120, 200));
  p.drawRect(QRectF(5, 7, 18, 14));
}
void lineGlyph(QPainter &p) {
  pen(p, kInk, 2.5);
  p.drawLine(QPointF(5, 22), QPointF(23, 6));
}
void polygonGlyph(QPainter &p) {
  pen(p, kInk, 1);
  p.setBrush(QColor(200, 120, 60));
  p.drawPolygon(QPolygonF({{5, 20}, {9, 5}, {17, 11}, {23, 6}, {21, 23}}));
}
void handGlyph(QPainter &p) {
  pen(p, kInk, 1);
  p.setBrush(QColor(250, 215, 180));
  for (int i = 0; i < 4; ++i)
    p.drawRoundedRect(QRectF(7 + 3.5 * i, 4 + (i == 0 || i == 3 ? 3 : 0), 3.4, 12), 1.6, 1.6);
  p.drawRoundedRect(QRectF(7, 12, 14, 12), 4, 4);
  p.drawRoundedRect(QRectF(2, 13, 7, 3.4), 1.6, 1.6);
}
void faceSelectionGlyph(QPainter &p) {
  pen(p, kInk, 1);
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF({{4, 22}, {14, 5}, {24, 22}}));
  p.setBrush(kMark);
  p.drawPolygon(QPolygonF({{9, 13.5}, {19, 13.5}, {14, 22}}));
  p.drawLine(QPointF(4, 22), QPointF(24, 22));
}
void objectFillGlyph(QPainter &p) {
  drawCube(p, cubeIn(QRectF(2, 3, 24, 22)), Qt::white, Qt::white, Qt::white);
}
void cloneGlyph(QPainter &p) {
  pen(p, kInk, 1);
  p.setBrush(QColor(120, 180, 220));
  p.drawEllipse(QPointF(10, 11), 6, 6);
  p.drawEllipse(QPointF(18, 18), 6, 6);
  p.drawLine(QPointF(10, 4), QPointF(10, 18));
  p.drawLine(QPointF(3, 11), QPointF(17, 11));
}
void maskGlyph(QPainter &p, bool inverse) {
  pen(p, kInk, 1);
  p.setBrush(inverse ? Qt::white : QColor(110, 110, 120));
  p.drawRect(QRectF(4, 5, 20, 18));
  p.setBrush(inverse ? QColor(110, 110, 120) : Qt::white);
  p.drawEllipse(QRectF(9, 9, 10, 10));
}
void revealGlyph(QPainter &p) {
  pen(p, kInk, 1);
  p.setBrush(QColor(170, 210, 250));
  p.drawRect(QRectF(4, 6, 20, 16));
  p.setBrush(QColor(70, 150, 70));
  p.drawPolygon(QPolygonF({{4, 22}, {11, 12}, {16, 18}, {19, 15}, {24, 22}}));
  p.setBrush(QColor(255, 220, 60));
  p.drawEllipse(QPointF(19, 10), 2, 2);
}
void patternGlyph(QPainter &p) {
  p.setPen(Qt::NoPen);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      p.setBrush((x + y) % 2 ? QColor(230, 90, 60) : QColor(250, 240, 200));
      p.drawRect(QRectF(6 + 4 * x, 6 + 4 * y, 4, 4));
    }
  pen(p, kInk, 1);
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(6, 6, 16, 16));
}
void stampGlyph(QPainter &p) {
  pen(p, kInk, 1);
  p.setBrush(QColor(150, 100, 60));
  p.drawRoundedRect(QRectF(11, 4, 6, 9), 2, 2);
  p.setBrush(QColor(200, 60, 60));
  p.drawRect(QRectF(6, 13, 16, 5));
  p.setBrush(QColor(60, 60, 60));
  p.drawRect(QRectF(5, 20, 18, 3));
}
void arrowGlyph(QPainter &p, bool redo) {
  if (redo) {
    p.translate(28, 0);
    p.scale(-1, 1);
  }
  pen(p, QColor(30, 90, 170), 2.5);
  p.setBrush(Qt::NoBrush);
  QPainterPath curve;
  curve.moveTo(8, 11);
  curve.cubicTo(16, 5, 25, 10, 21, 21);
  p.drawPath(curve);
  p.setBrush(QColor(30, 90, 170));
  pen(p, QColor(30, 90, 170), 1);
  p.drawPolygon(QPolygonF({{4, 12}, {11, 6}, {11, 16}}));
}

const std::map<int32_t, Sketch> &toolGlyphs() {
  static const std::map<int32_t, Sketch> glyphs = {
      {paintToolCommand(kPencilTool), pencilGlyph},
      {paintToolCommand(kPaintbrushTool), paintbrushGlyph},
      {paintToolCommand(kAirbrushTool), airbrushGlyph},
      {paintToolCommand(kEraserTool), eraserGlyph},
      {paintToolCommand(kLightenTool), lightenGlyph},
      {paintToolCommand(kShadowTool), shadowGlyph},
      {paintToolCommand(kKnifeTool), knifeGlyph},
      {paintToolCommand(kBlurTool), blurGlyph},
      {paintToolCommand(kSmearTool), smearGlyph},
      {paintToolCommand(kFillTool), fillGlyph},
      {paintToolCommand(kColorPickerTool), pickerGlyph},
      {paintToolCommand(kEllipseTool), ellipseGlyph},
      {paintToolCommand(kRectangleTool), rectangleGlyph},
      {paintToolCommand(kLineTool), lineGlyph},
      {paintToolCommand(kPolygonTool), polygonGlyph},
      {paintToolCommand(kHandTool), handGlyph},
      {paintToolCommand(kFaceSelectionTool), faceSelectionGlyph},
      {paintToolCommand(kObjectFillTool), objectFillGlyph},
      {paintToolCommand(kCloneTool), cloneGlyph},
      {kCommandMask, [](QPainter &p) { maskGlyph(p, false); }},
      {kCommandInverseMask, [](QPainter &p) { maskGlyph(p, true); }},
      {kCommandReveal, revealGlyph},
      {kCommandPattern, patternGlyph},
      {paintToolCommand(kStampTool), stampGlyph},
      {kCommandPaintUndo, [](QPainter &p) { arrowGlyph(p, false); }},
      {kCommandPaintRedo, [](QPainter &p) { arrowGlyph(p, true); }},
  };
  return glyphs;
}

} // namespace

Sketch paintToolGlyph(int32_t command) {
  const auto found = toolGlyphs().find(command);
  return found != toolGlyphs().end() ? found->second : Sketch([](QPainter &) {});
}

void paintbrushGlyph(QPainter &p) {
  pen(p, QColor(140, 80, 30), 2.5);
  p.drawLine(QPointF(21, 5), QPointF(12, 15));
  pen(p, kInk, 1);
  p.setBrush(kInk);
  QPainterPath tip;
  tip.moveTo(12, 14);
  tip.cubicTo(6, 16, 9, 22, 4, 24);
  tip.cubicTo(10, 24, 14, 20, 13, 16);
  p.drawPath(tip);
}
