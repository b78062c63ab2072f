#include "app/toolbox_window.h"

#include "script/command_numbers.h"

#include "paint/tools/stamp_tools.h"

#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace {

// An image as the screen shows it: its rows turned top down, its alpha ignored.
QImage toQImage(const ImageBuffer &image) {
  const QImage wrapped(reinterpret_cast<const uchar *>(image.pixels()), image.width(),
                       image.height(), image.width() * 4, QImage::Format_RGBX8888);
  return wrapped.mirrored(false, true);
}

// The image the swatch shows, or null for the colour.
const ImageBuffer *shownImage(const PaintWindowInput &input) {
  const PaintCanvas &canvas = input.canvas;
  if ((canvas.revealFlags & 1) && !canvas.revealImage.empty())
    return &canvas.revealImage;
  if (canvas.patternOn && !canvas.patternImage.empty())
    return &canvas.patternImage;
  const PaintToolbox &toolbox = input.toolbox;
  if (toolbox.currentIndex() == kStampTool)
    return &toolbox.stamp().image();
  return nullptr;
}

class ColourSwatch : public QWidget {
public:
  ColourSwatch(PaintWindowInput &input, ToolboxWindow *owner)
      : QWidget(owner), input_(input), owner_(owner) {
    setObjectName(QStringLiteral("colorSwatch"));
  }

protected:
  void paintEvent(QPaintEvent *) override {
    QPainter painter(this);
    paintSwatch(painter, rect(), input_);
  }
  void mouseReleaseEvent(QMouseEvent *event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
      emit owner_->swatchClicked();
  }
  // The projections of an image onto the objects, "Planar", "Spherical" and "Cylindrical".
  void contextMenuEvent(QContextMenuEvent *event) override {
    QMenu menu(this);
    QAction *heading = menu.addAction(QStringLiteral("Project an image"));
    heading->setEnabled(false);
    menu.addSeparator();
    int32_t number = kCommandProjectPlanar;
    for (const char *label : {"Planar", "Spherical", "Cylindrical"})
      connect(menu.addAction(QString::fromLatin1(label)), &QAction::triggered, this,
              [this, command = number++] { emit owner_->commandChosen(command); });
    menu.exec(event->globalPos());
  }

private:
  PaintWindowInput &input_;
  ToolboxWindow *owner_;
};

} // namespace

void paintSwatch(QPainter &painter, const QRect &rect, const PaintWindowInput &input) {
  if (const ImageBuffer *image = shownImage(input); image && !image->empty()) {
    painter.drawImage(rect, toQImage(*image));
    return;
  }
  const uint32_t c = input.toolColour();
  painter.fillRect(rect, QColor(redOf(c), greenOf(c), blueOf(c)));
}

ToolboxWindow::ToolboxWindow(PaintWindowInput &input, QWidget *parent)
    : QWidget(parent, Qt::Tool), swatch_(new ColourSwatch(input, this)) {
  setWindowTitle(QStringLiteral("Toolbox"));
  setFixedSize(kSize);
  swatch_->setGeometry(kSwatchRect);
}

void ToolboxWindow::setToolBars(QWidget *bars) {
  bars->setParent(this);
  bars->setGeometry(0, 0, kSize.width(), kSwatchRect.top() - 2);
  bars->show();
}
