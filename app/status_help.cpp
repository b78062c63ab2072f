#include "app/status_help.h"

#include "scene/user_interface.h"
#include "script/command_table.h"

#include <QEvent>
#include <QWidget>

namespace {

// Row r's control of a family; rows 0 to 254 have the text.
bool rowControl(int32_t command, int32_t base) { return command >= base && command < base + 255; }

} // namespace

QString toolBarHelp(int32_t command) {
  if (rowControl(command, kVisibilityBase))
    return QStringLiteral("Toggle Object Visibility");
  if (rowControl(command, kSensitivityBase))
    return QStringLiteral("Toggle Object Sensitivity");
  if (rowControl(command, kNameBase))
    return QStringLiteral("Set the Object's Name");
  if (rowControl(command, kTextureSizeBase))
    return QStringLiteral("Change Object Texture size");
  const CommandEntry *entry = findCommand(command);
  return entry && entry->help ? QString::fromLatin1(entry->help) : QString();
}

void StatusHelp::attach(QWidget *control, int32_t command) {
  control->setProperty("command", command);
  control->setToolTip(toolBarHelp(command));
  control->installEventFilter(this);
}

bool StatusHelp::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() != QEvent::ToolTip)
    return false;
  const QString text = toolBarHelp(watched->property("command").toInt());
  if (!text.isEmpty())
    ui_.setStatus(text.toStdString());
  return true; // the text is in the status line; no tip pops up
}
