// The paint tool bars on their own: every button's tip and status help, the unavailable tools
// and the tool choices through the command layer.
#include "app/paint_tool_bars.h"
#include "tool_windows_fixture.h"

#include <QToolButton>

namespace {

class PaintToolBarsTest : public ToolWindowsTest {
protected:
  void SetUp() override {
    ToolWindowsTest::SetUp();
    help = std::make_unique<StatusHelp>(ui, nullptr);
    bars = std::make_unique<PaintToolBars>(*help);
    QObject::connect(bars.get(), &PaintToolBars::commandChosen, shell.get(), &TopShell::runCommand);
    bars->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(bars.get()));
  }
  void click(int32_t command) { QTest::mouseClick(bars->button(command), Qt::LeftButton); }

  std::unique_ptr<StatusHelp> help;
  std::unique_ptr<PaintToolBars> bars;
};

TEST_F(PaintToolBarsTest, EveryButtonCarriesItsTipAndStatusHelp) {
  const std::pair<int32_t, const char *> buttons[] = {
      {12289, "Pencil Tool - draws a thin, hard-edged line"},
      {12290, "Paintbrush Tool - paints with brush strokes"},
      {12291, "Airbrush Tool - simulates an airbrush"},
      {12292, "Eraser Tool - removes all texture from an area"},
      {12293, "Lighten Brush Tool - lightens the area under the brush"},
      {12294, "Shadow Brush Tool - paints with nearly transparent black paint"},
      {12295, "Knife Tool - captures a rectangular region"},
      {12313, "Stamp Tool - stamps texture onto object"},
      {12298, "Smear Tool - smears paint on objects"},
      {12297, "Blur Tool - blurs the paint on objects"},
      {12299, "Fill Tool - colors a continuous area"},
      {12300, "Color Picker Tool - selects the current color from the canvas"},
      {12307, "Eraser Tool - removes all texture from an area"},
      {12308, "Clone Tool - copies an area"},
      {12301, "Ellipse Tool - draws a filled ellipse"},
      {12302, "Rectangle Tool - draws a filled rectangle"},
      {12303, "Line Tool - draws a line"},
      {12304, "Polygon Tool - draws a filled polygon"},
      {12305, "Hand Tool - positions textures imported with the Reveal Tool"},
      {12306, "Face Selection Tool - selects faces to mask"},
      {12312, "Pattern Tool - imports textures to use as paint"},
      {12311, "Reveal Tool - imports textures to place on an object"},
      {12309, "Mask Tool - creates a mask over selected areas"},
      {12310, "Inverse Mask Tool - creates a mask over non-selected areas"},
      {12315, "Undo - reverses the last operation"},
      {12316, "Redo - undoes the last undo"}};
  for (const auto &[command, text] : buttons) {
    QToolButton *b = bars->button(command);
    ASSERT_NE(b, nullptr) << command;
    EXPECT_EQ(b->size(), QSize(28, 28));
    EXPECT_EQ(b->toolTip(), QString::fromLatin1(text)) << command;
    ui.status.clear();
    restOn(b);
    EXPECT_EQ(ui.status, text) << command;
  }
}

TEST_F(PaintToolBarsTest, ToolChoicesGoThroughTheCommandLayerAndShowTheCurrentTool) {
  for (const int32_t command : {12289, 12290, 12292, 12305})
    EXPECT_FALSE(bars->button(command)->isChecked()); // nothing current before the first choice
  EXPECT_TRUE(bars->shownUnavailable(12305));         // the hand starts unavailable
  EXPECT_FALSE(bars->shownUnavailable(12292));

  PaintCanvas canvas;
  canvas.resize(64, 64);
  PaintToolbox toolbox;
  ToolFeedback feedback;
  PaintContext context{canvas, toolbox, feedback};
  bars->attachToolChoices(shell->commands(), toolbox, [&]() -> PaintContext & { return context; });

  click(12289);
  EXPECT_EQ(toolbox.currentIndex(), kPencilTool);
  EXPECT_TRUE(bars->button(12289)->isChecked());
  click(12299);
  EXPECT_EQ(toolbox.currentIndex(), kFillTool);
  EXPECT_FALSE(bars->button(12289)->isChecked());
  EXPECT_TRUE(bars->button(12299)->isChecked());

  canvas.revealFlags = 1; // the reveal mode: no eraser, but the hand
  click(12292);
  EXPECT_EQ(toolbox.currentIndex(), kFillTool); // refused
  EXPECT_TRUE(bars->shownUnavailable(12292));
  EXPECT_FALSE(bars->shownUnavailable(12305));
  EXPECT_TRUE(bars->button(12311)->isChecked()); // the reveal toggle shows the mode
  EXPECT_FALSE(bars->button(12292)->isChecked());
  click(12305);
  EXPECT_EQ(toolbox.currentIndex(), kHandTool);
}

} // namespace
