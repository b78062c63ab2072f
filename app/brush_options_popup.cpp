#include "app/brush_options_popup.h"

#include "paint/tools/brush_options.h"

#include <QMenu>

namespace {

void showHelpOnHover(QAction *action, UserInterface &ui, const char *help) {
  QObject::connect(action, &QAction::hovered, action, [&ui, help] { ui.setStatus(help); });
}

void addSubmenu(QMenu &popup, const BrushOptionMenu &options, PaintWindowInput &input,
                UserInterface &ui) {
  QMenu *sub = popup.addMenu(QString::fromLatin1(options.title));
  showHelpOnHover(sub->menuAction(), ui, options.help);
  const int32_t tool = input.toolbox.currentIndex();
  for (const BrushChoice &choice : options.choices) {
    QAction *action = sub->addAction(QString::fromLatin1(choice.label));
    action->setCheckable(true);
    action->setChecked(brushChoiceChecked(input.toolbox.current(), options.option, choice));
    showHelpOnHover(action, ui, choice.help);
    QObject::connect(action, &QAction::triggered, action, [&input, tool, &options, &choice] {
      chooseBrushOption(input.context(), tool, options.option, choice);
    });
  }
}

} // namespace

void showBrushOptions(QWidget *parent, PaintWindowInput &input, UserInterface &ui, QPoint where) {
  const std::vector<const BrushOptionMenu *> menus = brushOptionMenus(input.toolbox.currentIndex());
  if (menus.empty())
    return;
  QMenu popup(parent);
  QAction *heading = popup.addAction(QString::fromLatin1(kBrushOptionsTitle));
  heading->setEnabled(false);
  showHelpOnHover(heading, ui, kBrushOptionsHelp);
  popup.addSeparator();
  for (const BrushOptionMenu *options : menus)
    addSubmenu(popup, *options, input, ui);
  popup.exec(where);
}
