#include "app/main_tool_bar.h"

#include "script/command_numbers.h"

#include "app/button_pictures.h"
#include "app/colour_widgets.h"

#include <QAction>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QToolButton>

namespace {

// Element buttons left to right: command and selection mode.
struct ElementButton {
  int32_t command;
  SelectionMode mode;
};
constexpr ElementButton kElementButtons[] = {{kCommandSelectFree, moFREE},
                                             {kCommandSelectVertices, moVERTICES},
                                             {kCommandSelectEdges, moEDGES},
                                             {kCommandSelectFaces, moFACES},
                                             {kCommandSelectObjects, moOBJECTS}};

QToolButton *pictureButton(const QIcon &icon, QSize size, QWidget *parent) {
  auto *button = new QToolButton(parent);
  button->setIcon(icon);
  button->setFixedSize(size);
  button->setIconSize(buttonPictureSize(size));
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

} // namespace

MainToolBar::MainToolBar(ColourChooser &colours, StatusHelp &help, QWidget *parent)
    : QToolBar(parent) {
  setObjectName(QStringLiteral("mainToolBar"));
  setMovable(false); // no gripper
  setFloatable(false);
  setContextMenuPolicy(Qt::PreventContextMenu);
  swatch_ = new ColourSwatch(colours, QSize(25, 25));
  swatch_->setObjectName(QStringLiteral("barColorSwatch"));
  help.attach(swatch_, kCommandColorSwatch);
  palette_ = new ColourPalette(colours);
  help.attach(palette_, kCommandPalette);
  workMode_ = pictureButton(QIcon(), QSize(47, 25), nullptr);
  connect(workMode_, &QToolButton::clicked, this,
          [this] { emit commandChosen(workMode_->property("command").toInt()); });
  bands_[kSwatchBand] = addWidget(band(swatch_, QSize(32, 32)));
  bands_[kPaletteBand] = addWidget(band(palette_, QSize(246, 34)));
  bands_[kElementBand] = addWidget(band(elementBar(help), QSize(265, 34)));
  bands_[kWorkModeBand] = addWidget(band(workMode_, QSize(60, 34)));
  setPaintMode(false);
  help.attach(workMode_, kCommandGoToPaint);
}

// A band: fixed size, its content centred.
QWidget *MainToolBar::band(QWidget *content, QSize size) {
  auto *holder = new QWidget(this);
  holder->setFixedSize(size);
  auto *layout = new QHBoxLayout(holder);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(content, 0, Qt::AlignCenter);
  return holder;
}

QWidget *MainToolBar::elementBar(StatusHelp &help) {
  auto *bar = new QWidget(this);
  auto *layout = new QHBoxLayout(bar);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  elementGroup_ = new QButtonGroup(this);
  for (size_t i = 0; i < elements_.size(); ++i) {
    QToolButton *button = pictureButton(elementPicture(int(i)), QSize(47, 27), bar);
    button->setCheckable(true);
    help.attach(button, kElementButtons[i].command);
    elementGroup_->addButton(button, int(i));
    layout->addWidget(button);
    elements_[i] = button;
    connect(button, &QToolButton::clicked, this,
            [this, i] { emit commandChosen(kElementButtons[i].command); });
  }
  elements_[0]->setChecked(true); // free mode at start-up
  return bar;
}

void MainToolBar::setBandVisible(int band, bool visible) {
  if (band >= 0 && band < kBandCount)
    bands_[size_t(band)]->setVisible(visible);
}

bool MainToolBar::bandVisible(int band) const {
  return band >= 0 && band < kBandCount && bands_[size_t(band)]->isVisible();
}

void MainToolBar::showSelectionMode(SelectionMode mode) {
  for (size_t i = 0; i < elements_.size(); ++i)
    if (kElementButtons[i].mode == mode)
      elements_[i]->setChecked(true);
}

void MainToolBar::setPaintMode(bool paint) {
  const int32_t command = paint ? kCommandGoToModel : kCommandGoToPaint;
  workMode_->setIcon(workModePicture(!paint));
  workMode_->setProperty("command", command);
  workMode_->setToolTip(toolBarHelp(command));
}
