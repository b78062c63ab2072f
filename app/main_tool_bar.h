// The main tool-bar strip along the top of the main window, in four bands: 0 the colour swatch,
// 1 the colour palette, 2 the element tool bar (the selection modes), 3 the work-mode button.
// Buttons report their command numbers; the shell runs them.
#pragma once

#include "app/colour_chooser.h"
#include "app/status_help.h"
#include "scene/selection.h"

#include <QToolBar>
#include <array>

class QButtonGroup;
class QToolButton;

class MainToolBar : public QToolBar {
  Q_OBJECT
public:
  enum Band { kSwatchBand, kPaletteBand, kElementBand, kWorkModeBand, kBandCount };

  // The strip with the free mode's element button current and the work-mode button going to
  // Paint.
  MainToolBar(ColourChooser &colours, StatusHelp &help, QWidget *parent = nullptr);

  // Shows or hides a band by number (the Paint mode hides 0 and 2); other numbers do nothing.
  void setBandVisible(int band, bool visible);
  bool bandVisible(int band) const;
  // The element button of mode shows its current picture, the others their normal one;
  // moNONE changes nothing.
  void showSelectionMode(SelectionMode mode);
  // The work-mode button for the work mode: in Model mode it goes to Paint (command 8202, a
  // painted cube), in Paint mode to Model (8201, a white cube).
  void setPaintMode(bool paint);

  QToolButton *elementButton(int index) const { return elements_.at(size_t(index)); }
  QToolButton *workModeButton() const { return workMode_; }
  QWidget *swatch() const { return swatch_; }
  QWidget *palette() const { return palette_; }

signals:
  // An element button or the work-mode button was pressed.
  void commandChosen(int32_t number);

private:
  QWidget *band(QWidget *content, QSize size);
  QWidget *elementBar(StatusHelp &help);

  std::array<QAction *, kBandCount> bands_{};
  std::array<QToolButton *, 5> elements_{};
  QButtonGroup *elementGroup_ = nullptr;
  QToolButton *workMode_ = nullptr;
  QWidget *swatch_ = nullptr;
  QWidget *palette_ = nullptr;
};
