#include "app/about_picture.h"

#include "morvo_version.h"

#include <QLinearGradient>
#include <QPainter>
#include <QTimer>

AboutPicture::AboutPicture(QWidget *owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(551, 280);
  const QPoint centre = owner->mapToGlobal(owner->rect().center());
  move(centre - QPoint(width() / 2, height() / 2));
  QTimer::singleShot(kShowMilliseconds, this, [this, owner] {
    close();
    owner->update();
  });
}

void AboutPicture::paintEvent(QPaintEvent *) {
  QPainter p(this);
  QLinearGradient sky(0, 0, 0, height());
  sky.setColorAt(0, QColor(24, 40, 88));
  sky.setColorAt(1, QColor(8, 12, 28));
  p.fillRect(rect(), sky);
  // A wire cube beside the name.
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(255, 196, 64), 3));
  const QRect front(48, 70, 110, 110);
  p.drawRect(front);
  p.drawRect(front.translated(40, -34));
  for (const QPoint &corner :
       {front.topLeft(), front.topRight(), front.bottomLeft(), front.bottomRight()})
    p.drawLine(corner, corner + QPoint(40, -34));
  p.setPen(Qt::white);
  QFont title = font();
  title.setPointSize(44);
  title.setBold(true);
  p.setFont(title);
  p.drawText(QRect(230, 50, 300, 80), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Morvo"));
  QFont text = font();
  text.setPointSize(18);
  p.setFont(text);
  p.drawText(QRect(234, 126, 300, 34), Qt::AlignLeft, QStringLiteral(MORVO_VERSION));
  text.setPointSize(10);
  p.setFont(text);
  p.setPen(QColor(200, 210, 230));
  p.drawText(QRect(24, 214, 503, 56), Qt::AlignLeft | Qt::TextWordWrap,
             QStringLiteral("A polygon modeler with a 3D texture painter.\n"
                            "Written by the Morvo developers with Qt, OpenGL and Mesa."));
}
