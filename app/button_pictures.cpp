#include "app/button_pictures.h"

#include "script/command_numbers.h"

#include "app/picture_sketches.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace {

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

// --- Tutorial tool bar glyphs, in an 18 x 18 square ---

void triangle(QPainter &p, qreal left, qreal right) {
  p.drawPolygon(QPolygonF({{left, 4}, {right, 9}, {left, 14}}));
}

void scriptGlyph(QPainter &p, int32_t command) {
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  switch (command) {
  case kCommandTutorialRewind: // rewind: a bar and two triangles pointing left
    p.drawRect(QRectF(3, 4, 1.5, 10));
    p.drawPolygon(QPolygonF({{5, 9}, {10, 4}, {10, 14}}));
    p.drawPolygon(QPolygonF({{10, 9}, {15, 4}, {15, 14}}));
    break;
  case kCommandTutorialStop:
    p.drawRect(QRectF(4.5, 4.5, 9, 9));
    break;
  case kCommandTutorialPlay:
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
  return normalAndOther(QSize(28, 28), paintToolGlyph(command), kCurrentGround, QIcon::Normal,
                        QIcon::On);
}

QIcon unavailablePaintToolPicture(int32_t command) {
  QIcon icon;
  addForm(icon, QSize(28, 28), paintToolGlyph(command), Qt::transparent, QIcon::Normal, QIcon::Off,
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
  if (command == kCommandTutorialDone) {
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
