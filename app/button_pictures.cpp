#include "app/button_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace {

using Sketch = std::function<void(QPainter &)>;

const QColor kInk(32, 32, 32);
const QColor kMark(220, 30, 30);
const QColor kHighlightMark(255, 140, 0);
const QColor kCurrentGround(255, 248, 200); // the light ground of a current paint tool
const QColor kSunkenGround(200, 200, 200);  // the ground of the current element button
const QColor kHoverGround(235, 242, 255);

// A picture fills its button but for the button's frame of 3 pixels on every side.
QSize pictureSize(QSize button) { return button - QSize(6, 6); }

// Draws a sketch made for the button's size into the picture inside the frame.
QImage drawImage(QSize button, qreal ratio, const Sketch &sketch, const QColor &ground) {
  const QSize size = pictureSize(button);
  QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(ground);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(qreal(size.width()) / button.width(), qreal(size.height()) / button.height());
  sketch(p);
  return image;
}

// The same picture greyed and faded, for an unavailable button.
QImage greyed(QImage image) {
  image = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int g = 128 + qGray(row[x]) / 2;
      row[x] = qRgba(g, g, g, qAlpha(row[x]) / 2);
    }
  }
  return image;
}

// Adds one form of a picture for a button of that size to an icon, at ratios 1 and 2.
void addForm(QIcon &icon, QSize size, const Sketch &sketch, const QColor &ground, QIcon::Mode mode,
             QIcon::State state, bool grey = false) {
  for (const qreal ratio : {1.0, 2.0}) {
    const QImage image = drawImage(size, ratio, sketch, ground);
    icon.addPixmap(QPixmap::fromImage(grey ? greyed(image) : image), mode, state);
  }
}

// A picture in its normal form and in one other form on another ground.
QIcon normalAndOther(QSize size, const Sketch &sketch, const QColor &ground, QIcon::Mode mode,
                     QIcon::State state) {
  QIcon icon;
  addForm(icon, size, sketch, Qt::transparent, QIcon::Normal, QIcon::Off);
  addForm(icon, size, sketch, ground, mode, state);
  return icon;
}

// --- Cubes ---

struct Cube {
  QPolygonF front, top, side;
  QPointF corner(int i) const { return front.at(i); } // 0 top-left, 1 top-right, 2 bottom-right
};

// A cube seen from the front, a little from above and the right, filling the box's height.
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

// Element marks: bit 1 a vertex, 2 an edge, 4 a face, 8 the whole cube.
void elementSketch(QPainter &p, QSize size, int marks, const QColor &mark) {
  const Cube c = cubeIn(QRectF(QPointF(0, 0), size).adjusted(4, 3, -4, -3));
  if (marks & 8) {
    drawCube(p, c, mark, mark.lighter(130), mark.darker(120));
    return;
  }
  drawPlainCube(p, QRectF(QPointF(0, 0), size).adjusted(4, 3, -4, -3));
  if (marks & 4) {
    p.setBrush(mark);
    p.drawPolygon(c.front);
  }
  if (marks & 2) {
    p.setPen(QPen(mark, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c.top.at(2), c.top.at(3));
  }
  if (marks & 1) {
    p.setPen(Qt::NoPen);
    p.setBrush(mark);
    p.drawEllipse(c.side.at(2), 2.8, 2.8);
  }
}

// --- Paint tool glyphs, in a 28 x 28 square ---

void pen(QPainter &p, const QColor &colour, qreal width = 1.5) {
  p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void pencilGlyph(QPainter &p) {
  const QPolygonF body({{8, 22}, {6, 20}, {19, 7}, {21, 9}});
  pen(p, kInk, 1);
  p.setBrush(QColor(250, 200, 40));
  p.drawPolygon(body);
  p.setBrush(kInk);
  p.drawPolygon(QPolygonF({{8, 22}, {6, 20}, {4, 24}}));
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
      {12289, pencilGlyph},
      {12290, paintbrushGlyph},
      {12291, airbrushGlyph},
      {12292, eraserGlyph},
      {12293, lightenGlyph},
      {12294, shadowGlyph},
      {12295, knifeGlyph},
      {12297, blurGlyph},
      {12298, smearGlyph},
      {12299, fillGlyph},
      {12300, pickerGlyph},
      {12301, ellipseGlyph},
      {12302, rectangleGlyph},
      {12303, lineGlyph},
      {12304, polygonGlyph},
      {12305, handGlyph},
      {12306, faceSelectionGlyph},
      {12307, objectFillGlyph},
      {12308, cloneGlyph},
      {12309, [](QPainter &p) { maskGlyph(p, false); }},
      {12310, [](QPainter &p) { maskGlyph(p, true); }},
      {12311, revealGlyph},
      {12312, patternGlyph},
      {12313, stampGlyph},
      {12315, [](QPainter &p) { arrowGlyph(p, false); }},
      {12316, [](QPainter &p) { arrowGlyph(p, true); }},
  };
  return glyphs;
}

Sketch toolGlyph(int32_t command) {
  const auto found = toolGlyphs().find(command);
  return found != toolGlyphs().end() ? found->second : Sketch([](QPainter &) {});
}

// --- Tutorial tool bar glyphs, in an 18 x 18 square ---

void triangle(QPainter &p, qreal left, qreal right) {
  p.drawPolygon(QPolygonF({{left, 4}, {right, 9}, {left, 14}}));
}

void scriptGlyph(QPainter &p, int32_t command) {
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  switch (command) {
  case 20481: // rewind: a bar and two triangles pointing left
    p.drawRect(QRectF(3, 4, 1.5, 10));
    p.drawPolygon(QPolygonF({{5, 9}, {10, 4}, {10, 14}}));
    p.drawPolygon(QPolygonF({{10, 9}, {15, 4}, {15, 14}}));
    break;
  case 20482:
    p.drawRect(QRectF(4.5, 4.5, 9, 9));
    break;
  case 20483:
    triangle(p, 5, 14);
    break;
  default: // step: a triangle and a bar
    triangle(p, 4, 11);
    p.drawRect(QRectF(12, 4, 2, 10));
    break;
  }
}

void doneGlyph(QPainter &p) {
  p.setPen(kInk);
  QFont font = p.font();
  font.setPixelSize(13);
  font.setBold(true);
  p.setFont(font);
  p.drawText(QRectF(0, 0, 48, 24), Qt::AlignCenter, QStringLiteral("Done"));
}

} // namespace

QIcon elementPicture(int index) {
  static const int kMarks[] = {1 | 2 | 4, 1, 2, 4, 8};
  const int marks = kMarks[std::clamp(index, 0, 4)];
  const QSize size(47, 27);
  QIcon icon;
  addForm(
      icon, size, [&](QPainter &p) { elementSketch(p, size, marks, kMark); }, Qt::transparent,
      QIcon::Normal, QIcon::Off);
  addForm(
      icon, size, [&](QPainter &p) { elementSketch(p, size, marks, kMark); }, kSunkenGround,
      QIcon::Normal, QIcon::On);
  addForm(
      icon, size, [&](QPainter &p) { elementSketch(p, size, marks, kHighlightMark); }, kHoverGround,
      QIcon::Active, QIcon::Off);
  addForm(
      icon, size, [&](QPainter &p) { elementSketch(p, size, marks, kHighlightMark); },
      kSunkenGround, QIcon::Active, QIcon::On);
  return icon;
}

QIcon workModePicture(bool goToPaint) {
  const QSize size(47, 25);
  const Sketch sketch = [goToPaint](QPainter &p) {
    const QRectF box(2, 2, 30, 21);
    if (!goToPaint) {
      drawPlainCube(p, box);
      return;
    }
    drawCube(p, cubeIn(box), QColor(230, 70, 60), QColor(250, 210, 60), QColor(70, 120, 220));
    p.translate(20, -2);
    p.scale(0.9, 0.9);
    paintbrushGlyph(p);
  };
  return normalAndOther(size, sketch, kHoverGround, QIcon::Active, QIcon::Off);
}

QIcon paintToolPicture(int32_t command) {
  return normalAndOther(QSize(28, 28), toolGlyph(command), kCurrentGround, QIcon::Normal,
                        QIcon::On);
}

QIcon unavailablePaintToolPicture(int32_t command) {
  QIcon icon;
  addForm(icon, QSize(28, 28), toolGlyph(command), Qt::transparent, QIcon::Normal, QIcon::Off,
          true);
  return icon;
}

QSize buttonPictureSize(QSize button) { return pictureSize(button); }

QIcon eyePicture(bool open) {
  const QSize size(23, 22);
  QIcon icon;
  addForm(
      icon, size,
      [open](QPainter &p) {
        pen(p, kInk, 1.2);
        QPainterPath lid;
        lid.moveTo(3, 11);
        lid.quadTo(11.5, open ? 2 : 6, 20, 11);
        if (open) {
          lid.quadTo(11.5, 20, 3, 11);
          p.setBrush(Qt::white);
          p.drawPath(lid);
          p.setBrush(QColor(40, 90, 170));
          p.drawEllipse(QPointF(11.5, 11), 3.2, 3.2);
          return;
        }
        lid.quadTo(11.5, 16, 3, 11);
        p.setBrush(QColor(230, 200, 170));
        p.drawPath(lid);
        for (int i = 0; i < 4; ++i)
          p.drawLine(QPointF(6 + 3.6 * i, 14), QPointF(5 + 3.6 * i, 17));
      },
      Qt::transparent, QIcon::Normal, QIcon::Off);
  return icon;
}

QIcon ballPicture(bool sensitive) {
  const QSize size(23, 22);
  QIcon icon;
  addForm(
      icon, size,
      [sensitive](QPainter &p) {
        const QColor colour = sensitive ? QColor(40, 180, 60) : QColor(150, 150, 150);
        QRadialGradient g(QPointF(9.5, 8.5), 8);
        g.setColorAt(0, colour.lighter(170));
        g.setColorAt(1, colour.darker(130));
        pen(p, colour.darker(160), 1);
        p.setBrush(g);
        p.drawEllipse(QPointF(11.5, 11), 6.5, 6.5);
      },
      Qt::transparent, QIcon::Normal, QIcon::Off);
  return icon;
}

QIcon scriptPicture(int32_t command) {
  QIcon icon;
  if (command == 20480) {
    addForm(icon, QSize(48, 24), doneGlyph, Qt::transparent, QIcon::Normal, QIcon::Off);
    return icon;
  }
  addForm(
      icon, QSize(18, 18), [command](QPainter &p) { scriptGlyph(p, command); }, Qt::transparent,
      QIcon::Normal, QIcon::Off);
  return icon;
}

QColor paletteColour(double x, double y) {
  const double u = std::clamp(x / (kPaletteWidth - 1), 0.0, 1.0);
  const double t = std::clamp(y / (kPaletteHeight - 1), 0.0, 1.0);
  const QColor full = QColor::fromHsvF(float(u < 1 ? u : 0), 1.f, 1.f);
  // White at the top, the full colour in the middle row, black at the bottom.
  const double mix = t < 0.5 ? 2 * t : 2 * (1 - t);
  const double ground = t < 0.5 ? 255 : 0;
  auto channel = [&](int c) { return int(std::lround(ground + (c - ground) * mix)); };
  return QColor(channel(full.red()), channel(full.green()), channel(full.blue()));
}

QImage palettePicture(qreal ratio) {
  QImage image(QSize(kPaletteWidth, kPaletteHeight) * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      image.setPixel(x, y, paletteColour(x / ratio, y / ratio).rgb());
  return image;
}
