#include "app/work_modes.h"

#include "app/colour_chooser.h"
#include "app/file_commands.h"
#include "app/model_window.h"
#include "app/top_shell.h"
#include "paint/tools/paint_images.h"
#include "paint/tools/tool_registry.h"
#include "script/command_table.h"

#include <QStackedWidget>
#include <algorithm>

namespace {

// The commands the paint work mode runs, in two groups; others (modeling, file loading,
// tutorials, display switches, the perspective camera) would change what the paint window cannot
// show and are ignored there. The first group leaves the camera, the scene and the selection
// alone, so the canvas stays as it is (Undo and Redo prepare it themselves for the scene they
// leave); after one of the second the canvas is prepared again.
constexpr int32_t kCanvasKeeping[] = {kCommandGoToModel,
                                      kCommandGoToPaint,
                                      kCommandUndo,
                                      kCommandRedo,
                                      kCommandDelete,
                                      kCommandDeleteAll,
                                      kCommandAbout,
                                      kCommandHelp,
                                      kCommandHotKeys,
                                      kCommandShowObjectInfo,
                                      kCommandShowColorMixer,
                                      kCommandPaintUndo,
                                      kCommandSymmetryX,
                                      kCommandSymmetryY,
                                      kCommandSymmetryZ,
                                      kCommandPaintRedo,
                                      kCommandPaintAll,
                                      kCommandProjectPlanar,
                                      kCommandProjectSpherical,
                                      kCommandProjectCylindrical,
                                      kCommandObjectStatistics,
                                      kCommandEndRecording};
constexpr int32_t kCanvasRenewing[] = {kCommandSave,
                                       kCommandSaveAs,
                                       kCommandRevert,
                                       kCommandQuit,
                                       kCommandAim,
                                       kCommandResetView,
                                       kCommandViewAlongPlusX,
                                       kCommandViewAlongPlusY,
                                       kCommandViewAlongPlusZ,
                                       kCommandViewAlongMinusX,
                                       kCommandViewAlongMinusY,
                                       kCommandViewAlongMinusZ,
                                       kCommandGrowSelection,
                                       kCommandShrinkSelection,
                                       kCommandDeselectReselect,
                                       kCommandPanLeft,
                                       kCommandPanRight,
                                       kCommandPanUp,
                                       kCommandPanDown};

template <size_t N> bool listed(const int32_t (&list)[N], int32_t number) {
  return std::find(std::begin(list), std::end(list), number) != std::end(list);
}

} // namespace

WorkModes::WorkModes(TopShell &shell, QStackedWidget &stack, ModelWindow &modelWindow)
    : shell_(shell), layer_(shell.commands()), stack_(stack), modelWindow_(modelWindow) {
  paintWindow_ =
      new PaintWindow(layer_.scene(), layer_.view(), modelWindow.controller(), layer_.ui(), &stack);
  paintWindow_->setObjectName(QStringLiteral("pntui"));
  paintWindow_->input().imageFolder = shell.files().folders().images.toStdString();
  stack.addWidget(paintWindow_);
  toolbox_ = new ToolboxWindow(paintWindow_->input(), &shell);
  connect(paintWindow_, &PaintWindow::swatchChanged, toolbox_->swatch(),
          qOverload<>(&QWidget::update));
  connect(toolbox_, &ToolboxWindow::swatchClicked, this, &WorkModes::swatchClicked);
  connect(toolbox_, &ToolboxWindow::commandChosen, &shell, &TopShell::runCommand);
  attachCommands();
}

void WorkModes::attachCommands() {
  layer_.attach(kCommandGoToPaint, [this] { goToPaint(); });
  layer_.attach(kCommandGoToModel, [this] { goToModel(); });
}

void WorkModes::goToPaint() {
  Scene &scene = layer_.scene();
  if (scene.objects.objectCount() == 0) {
    layer_.ui().messageBox("You must have objects in your scene to enter Paint");
    return;
  }
  if (paint_ || layer_.recorder().recording())
    return;
  modelPerspective_ = layer_.view().camera.perspective;
  if (firstEntry_)
    placeToolbox();
  paint_ = true;
  layer_.setPaint(&paintWindow_->input(),
                  [this](const auto &command) { return paintWindow_->withContext(command); });
  stack_.setCurrentWidget(paintWindow_);
  paintWindow_->enter(firstEntry_);
  firstEntry_ = false;
  toolbox_->show();
  shell_.installMenuBar(true);
  paintWindow_->setFocus();
  emit workModeChanged(true);
  shell_.raise();
}

void WorkModes::goToModel() {
  if (!paint_)
    return;
  paint_ = false;
  layer_.setPaint(nullptr);
  paintWindow_->leave();
  toolbox_->hide();
  stack_.setCurrentWidget(&modelWindow_);
  shell_.installMenuBar(false);
  modelWindow_.takeView(); // the camera gets the model window's size back
  layer_.view().camera.perspective = modelPerspective_;
  // The paint tool's prompt goes with the paint window; the model window writes its own as soon
  // as the pointer moves over it.
  layer_.ui().setStatus("");
  modelWindow_.setFocus();
  emit workModeChanged(false);
  shell_.raise();
}

void WorkModes::runInPaint(int32_t number) {
  const bool renews = listed(kCanvasRenewing, number);
  const bool paintButton = number >= kCommandFirstPaintButton && number <= kCommandLastPaintButton;
  if (!renews && !paintButton && !listed(kCanvasKeeping, number))
    return;
  paintWindow_->makeCurrent();
  layer_.run(number);
  if (paint_ && renews)
    paintWindow_->viewChanged();
  paintWindow_->update();
}

// 86 pixels left of and 44 above the main window's work area, kept on the screen.
void WorkModes::placeToolbox() {
  const QPoint origin = shell_.mapToGlobal(QPoint(0, 0));
  toolbox_->move(std::max(0, origin.x() - 86), std::max(0, origin.y() - 44));
}

void WorkModes::swatchClicked() {
  const PaintCanvas &canvas = paintWindow_->input().canvas;
  int32_t target = 0;
  if (paint_ && canvas.patternOn)
    target = kPatternTarget;
  else if (paint_ && (canvas.revealFlags & 1))
    target = kRevealTarget;
  else if (paint_ && paintWindow_->input().toolbox.currentIndex() == kStampTool)
    target = kStampTarget;
  if (target)
    paintWindow_->withContext([target](PaintWindowInput &in) { return in.importImage(target); });
  else
    chooseColour();
}

void WorkModes::chooseColour() {
  ColourChooser &colours = shell_.colours();
  colours.ChooseColour(colours.current());
}

void WorkModes::shareToolColour(ColourChooser &colours) {
  colours.toolColour = [this] {
    const uint32_t c = paintWindow_->input().toolColour();
    return moColor{redOf(c), greenOf(c), blueOf(c), 255};
  };
  colours.setToolColour = [this](moColor c) {
    paintWindow_->withContext([c](PaintWindowInput &in) {
      in.setToolColour(packRgba(c.r, c.g, c.b));
      return true;
    });
  };
}
