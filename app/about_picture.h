// The about picture: a borderless 551 x 280 pop-up over the main window with the program's
// name, version and credits, drawn in code. It closes itself after six seconds.
#pragma once

#include <QWidget>

class AboutPicture : public QWidget {
  Q_OBJECT
public:
  static constexpr int kShowMilliseconds = 6000;
  // Shows the picture centred on owner; the owner is redrawn when it closes.
  explicit AboutPicture(QWidget *owner);

protected:
  void paintEvent(QPaintEvent *event) override;
};
