#include "app/status_line.h"

#include <QEvent>
#include <QFontMetrics>
#include <algorithm>

namespace {

const QString kDots = QStringLiteral("...");

// The text cut so that it and three dots fit width; the whole text when it fits as it is.
QString cutToWidth(const QString &text, const QFontMetrics &metrics, int width) {
  if (metrics.horizontalAdvance(text) <= width)
    return text;
  // Qt cuts at a character boundary and ends with its own ellipsis, narrower than three dots:
  // asked for the room the dots leave it, it gives a prefix that fits with them.
  const QChar ellipsis(0x2026);
  const int room = width - metrics.horizontalAdvance(kDots) + metrics.horizontalAdvance(ellipsis);
  QString cut = metrics.elidedText(text, Qt::ElideRight, std::max(0, room));
  if (cut.endsWith(ellipsis))
    cut.chop(1);
  return cut + kDots;
}

} // namespace

StatusLine::StatusLine() {
  // The line takes the width the window gives it: a long text must not widen the window.
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  setTextFormat(Qt::PlainText); // file paths and prompts, never markup
}

void StatusLine::setFullText(const QString &text) {
  full_ = text;
  fit();
}

void StatusLine::resizeEvent(QResizeEvent *event) {
  QLabel::resizeEvent(event);
  fit();
}

void StatusLine::changeEvent(QEvent *event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange)
    fit();
}

void StatusLine::setModeText(const QString &text) {
  if (text == mode_)
    return;
  mode_ = text;
  fit();
}

void StatusLine::fit() {
  const QString prefix = mode_.isEmpty() ? QString() : mode_ + QStringLiteral("  |  ");
  const int room = contentsRect().width() - fontMetrics().horizontalAdvance(prefix);
  const QString shown = cutToWidth(full_, fontMetrics(), room);
  setText(prefix + shown);
  // The tip shows what the cut hides; the status bar's, so that it comes up over the whole bar.
  if (QWidget *bar = parentWidget())
    bar->setToolTip(shown == full_ ? QString() : full_);
}
