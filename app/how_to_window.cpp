#include "app/how_to_window.h"

#include "script/command_numbers.h"

#include "app/button_pictures.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

namespace {

const QString kCaption = QStringLiteral("How To...");
constexpr int kMargin = 6, kHeaderWidth = 188, kButtonStep = 23, kButtonSide = 22;
constexpr int kPaneTop = 58, kDoneBarHeight = 29; // the Done button, 24 high, with room around

// The message pane's size in its font: a line of 60 average characters beside the vertical
// scroll bar, and eight lines.
QSize paneSize(const QPlainTextEdit &pane) {
  const QFontMetrics metrics(pane.font());
  const int frame = 2 * (pane.frameWidth() + int(pane.document()->documentMargin()));
  const int bar = pane.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &pane);
  return {60 * metrics.averageCharWidth() + frame + bar + pane.cursorWidth(),
          8 * metrics.lineSpacing() + frame};
}

// A rectangle of that size, centred across a window of that width.
QRect centred(int windowWidth, int top, QSize size) {
  return {QPoint((windowWidth - size.width()) / 2, top), size};
}

} // namespace

HowToWindow::HowToWindow(ScriptPlayer &player, StatusHelp &help, QWidget *owner)
    : QWidget(owner, Qt::Tool), player_(player), header_(new QLineEdit(this)),
      pane_(new QPlainTextEdit(this)) {
  setWindowTitle(kCaption);
  setObjectName(QStringLiteral("howTo"));
  // Tutorial texts are long lines: they wrap, a long word or path too, so that none needs
  // a horizontal scroll; the pane is as wide as a line of text and the window around it.
  pane_->setReadOnly(true);
  pane_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  pane_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  const QSize pane = paneSize(*pane_);
  const int width = pane.width() + 2 * kMargin;
  setFixedSize(width, kPaneTop + pane.height() + kDoneBarHeight);
  pane_->setGeometry(QRect(QPoint(kMargin, kPaneTop), pane));
  header_->setReadOnly(true);
  header_->setText(QStringLiteral("Script header"));
  header_->setGeometry(centred(width, 4, {kHeaderWidth, 22}));
  const int32_t scriptButtons[] = {kCommandTutorialRewind, kCommandTutorialStop,
                                   kCommandTutorialPlay, kCommandTutorialStep};
  const QRect strip = centred(width, 31, {3 * kButtonStep + kButtonSide, kButtonSide});
  for (int i = 0; i < 4; ++i)
    addButton(scriptButtons[i],
              QRect(strip.left() + kButtonStep * i, strip.top(), kButtonSide, kButtonSide), help);
  addButton(kCommandTutorialDone, centred(width, kPaneTop + pane.height() + 2, {48, 24}), help);
  if (const QScreen *screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().topLeft());
  hide();
}

QToolButton *HowToWindow::addButton(int32_t command, QRect geometry, StatusHelp &help) {
  auto *b = new QToolButton(this);
  b->setIcon(scriptPicture(command));
  b->setGeometry(geometry);
  b->setIconSize(buttonPictureSize(geometry.size()));
  help.attach(b, command);
  connect(b, &QToolButton::clicked, this, [this, command] { emit commandChosen(command); });
  buttons_.push_back(b);
  return b;
}

QToolButton *HowToWindow::button(int32_t command) const {
  for (QToolButton *b : buttons_)
    if (b->property("command").toInt() == command)
      return b;
  return nullptr;
}

void HowToWindow::attachCommands(CommandLayer &layer, TutorialShell shell) {
  shell_ = std::move(shell);
  layer.attach(kCommandHowTo, [this, &layer] { load(layer); });
  layer.attach(kCommandTutorialPlay, [this] { play(); });
  layer.attach(kCommandTutorialStop, [this] { player_.Pause(); });
  layer.attach(kCommandTutorialStep, [this] { player_.Step(); });
  layer.attach(kCommandTutorialRewind, [this, &layer] {
    player_.Rewind();
    layer.host().refreshModelView(true);
  });
  layer.attach(kCommandTutorialDone, [this] {
    player_.Stop();
    leaveTutorialMode();
  });
}

void HowToWindow::load(CommandLayer &layer) {
  if (!shell_.askToSave())
    return;
  UserInterface::FileRequest request;
  request.title = "Select a tutorial script to load";
  request.filters = {"Morvo Tutorial Scripts (*.mvs)"};
  request.defaultSuffix = "mvs";
  request.folder = scriptsFolder.toStdString();
  request.purpose = "scripts";
  const std::string path = layer.ui().chooseFile(request).path;
  if (path.empty())
    return;
  const QString name = QFileInfo(QString::fromStdString(path)).fileName();
  setWindowTitle(QStringLiteral("Build a %1").arg(name.left(std::max(0, int(name.size()) - 4))));
  setEnabled(true);
  show();
  shell_.presentMainWindow();
  tutorial_ = true;
  shell_.setTutorialMode(true);
  activateWindow();
  setFocus();
  player_.Load(path);
  layer.host().refreshModelView(true);
}

void HowToWindow::play() {
  if (!player_.Play())
    leaveTutorialMode(); // no timer: the player has stopped and said so
}

// Closing the window during a tutorial is Done: the menus and the model window must not stay
// disabled with no way back.
void HowToWindow::closeEvent(QCloseEvent *event) {
  if (tutorial_)
    emit commandChosen(kCommandTutorialDone);
  event->accept();
}

void HowToWindow::leaveTutorialMode() {
  tutorial_ = false;
  shell_.setTutorialMode(false);
  hide();
}
