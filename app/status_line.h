// The one-pane status line of the main window. A text wider than the line is cut at its end
// with "..." and shown whole in the status bar's tool tip; the cut is redone when the line
// changes width, so a wider window shows more of the text. The mode text ("Symmetry X") goes
// before it, never cut.
#pragma once

#include <QLabel>

class StatusLine : public QLabel {
public:
  StatusLine();
  // Replaces the text the line shows.
  void setFullText(const QString &text);
  const QString &fullText() const { return full_; }
  // Replaces the mode text; empty for none.
  void setModeText(const QString &text);
  const QString &modeText() const { return mode_; }

protected:
  void resizeEvent(QResizeEvent *event) override;
  void changeEvent(QEvent *event) override;

private:
  void fit();

  QString full_, mode_;
};
