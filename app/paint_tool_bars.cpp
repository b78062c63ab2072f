#include "app/paint_tool_bars.h"

#include "app/button_pictures.h"
#include "paint/tools/tool_registry.h"
#include "script/command_table.h"

#include <QGridLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QSize kButton(28, 28);
// The bars top to bottom, buttons left to right and row by row.
const std::vector<int32_t> kBarA = {
    paintToolCommand(kPencilTool),     paintToolCommand(kPaintbrushTool),
    paintToolCommand(kAirbrushTool),   paintToolCommand(kEraserTool),
    paintToolCommand(kLightenTool),    paintToolCommand(kShadowTool),
    paintToolCommand(kKnifeTool),      paintToolCommand(kStampTool),
    paintToolCommand(kSmearTool),      paintToolCommand(kBlurTool),
    paintToolCommand(kFillTool),       paintToolCommand(kColorPickerTool),
    paintToolCommand(kObjectFillTool), paintToolCommand(kCloneTool),
    paintToolCommand(kEllipseTool),    paintToolCommand(kRectangleTool),
    paintToolCommand(kLineTool),       paintToolCommand(kPolygonTool)};
const std::vector<int32_t> kBarB = {paintToolCommand(kHandTool),
                                    paintToolCommand(kFaceSelectionTool)};
const std::vector<int32_t> kBarC = {kCommandPattern, kCommandReveal};
const std::vector<int32_t> kBarD = {kCommandMask, kCommandInverseMask};
const std::vector<int32_t> kBarE = {kCommandPaintUndo, kCommandPaintRedo};

} // namespace

PaintToolBars::PaintToolBars(StatusHelp &help, QWidget *parent) : QWidget(parent) {
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(4);
  layout->addWidget(bar(kBarA, help));
  layout->addWidget(bar(kBarB, help));
  layout->addWidget(bar(kBarC, help));
  layout->addWidget(bar(kBarD, help));
  layout->addWidget(bar(kBarE, help));
  layout->addStretch(1);
  setUnavailable(paintToolCommand(kHandTool), true);
}

QWidget *PaintToolBars::bar(const std::vector<int32_t> &commands, StatusHelp &help) {
  auto *holder = new QWidget(this);
  auto *grid = new QGridLayout(holder);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  for (size_t i = 0; i < commands.size(); ++i) {
    const int32_t command = commands[i];
    auto *b = new QToolButton(holder);
    b->setIcon(paintToolPicture(command));
    b->setFixedSize(kButton);
    b->setIconSize(buttonPictureSize(kButton));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    // Tool buttons show the current tool, toggles their mode: the state comes from
    // showToolState after the command has run, not from the click.
    b->setCheckable(true);
    help.attach(b, command);
    connect(b, &QToolButton::clicked, this, [this, b, command] {
      b->setChecked(!b->isChecked());
      emit commandChosen(command);
    });
    grid->addWidget(b, int(i / 2), int(i % 2));
    buttons_[command] = b;
  }
  return holder;
}

QToolButton *PaintToolBars::button(int32_t command) const {
  const auto found = buttons_.find(command);
  return found != buttons_.end() ? found->second : nullptr;
}

bool PaintToolBars::shownUnavailable(int32_t command) const {
  const auto found = unavailable_.find(command);
  return found != unavailable_.end() && found->second;
}

void PaintToolBars::setUnavailable(int32_t command, bool unavailable) {
  if (shownUnavailable(command) == unavailable)
    return;
  unavailable_[command] = unavailable;
  button(command)->setIcon(unavailable ? unavailablePaintToolPicture(command)
                                       : paintToolPicture(command));
}

void PaintToolBars::showToolState(const PaintToolbox &toolbox, const PaintCanvas &canvas) {
  for (int32_t index = 0; index < kPaintToolCount; ++index) {
    const int32_t command = paintToolCommand(index);
    button(command)->setChecked(index == toolbox.currentIndex());
    setUnavailable(command, !paintToolAllowed(canvas, index));
  }
  button(kCommandMask)->setChecked(canvas.maskOn && !canvas.maskInverse);
  button(kCommandInverseMask)->setChecked(canvas.maskOn && canvas.maskInverse);
  button(kCommandReveal)->setChecked(canvas.revealFlags & 1);
  button(kCommandPattern)->setChecked(canvas.patternOn != 0);
}

void PaintToolBars::attachToolChoices(CommandLayer &layer, PaintToolbox &toolbox,
                                      std::function<PaintContext &()> context) {
  for (int32_t index = 0; index < kPaintToolCount; ++index)
    layer.attach(paintToolCommand(index), [this, &toolbox, context, index] {
      PaintContext &ctx = context();
      toolbox.SelectTool(ctx, index);
      showToolState(toolbox, ctx.canvas);
    });
}
