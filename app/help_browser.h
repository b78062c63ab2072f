// The program's own help browser: a small window that shows the HTML help pages from the doc
// folder, offline, with Back, Forward and Home (the index page). Links between the pages and to
// anchors inside them are followed in the window. Escape and Ctrl+W close it.
#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

class HelpBrowser : public QWidget {
  Q_OBJECT
public:
  // Shows pages from docFolder; index.html is the home page.
  HelpBrowser(const QString &docFolder, QWidget *parent = nullptr);
  // Shows the page (a file name in the doc folder, optionally with "#anchor") and raises the
  // window. A missing page shows a short note naming it instead.
  void showPage(const QString &page);
  QTextBrowser *browser() const { return browser_; }

private:
  QString folder_;
  QTextBrowser *browser_;
};
