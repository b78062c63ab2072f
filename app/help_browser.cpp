#include "app/help_browser.h"

#include <QDir>
#include <QFileInfo>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

HelpBrowser::HelpBrowser(const QString &docFolder, QWidget *parent)
    : QWidget(parent, Qt::Window), folder_(docFolder), browser_(new QTextBrowser(this)) {
  setWindowTitle(QStringLiteral("Morvo Help"));
  browser_->setSearchPaths({folder_});
  browser_->setOpenExternalLinks(false);
  auto *bar = new QToolBar(this);
  QAction *back = bar->addAction(QStringLiteral("Back"), browser_, &QTextBrowser::backward);
  QAction *forward = bar->addAction(QStringLiteral("Forward"), browser_, &QTextBrowser::forward);
  bar->addAction(QStringLiteral("Home"), this, [this] { showPage(QStringLiteral("index.html")); });
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar);
  layout->addWidget(browser_);
  resize(640, 560);
  // Where no window manager draws a close button, the keyboard must close the window.
  for (const QKeySequence &keys :
       {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
    new QShortcut(keys, this, this, &QWidget::close);
}

void HelpBrowser::showPage(const QString &page) {
  const QString path = QDir(folder_).filePath(page.section('#', 0, 0));
  if (QFileInfo(path).isFile()) {
    QUrl url = QUrl::fromLocalFile(path);
    if (page.contains('#'))
      url.setFragment(page.section('#', 1));
    browser_->setSource(url);
  } else {
    browser_->setHtml(
        QStringLiteral("<p>The help page %1 is missing.</p>").arg(path.toHtmlEscaped()));
  }
  show();
  raise();
  activateWindow();
}
