// The main tool-bar strip: tips and status help, the element tool bar, the bands, the work-mode
// button and the colour palette and swatch.
#include "app/button_pictures.h"
#include "app/colour_chooser.h"
#include "app/main_tool_bar.h"
#include "tool_windows_fixture.h"

#include <QToolButton>

namespace {

moColor opaque(const QColor &c) {
  return {uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue()), 255};
}

using MainToolBarTest = ToolWindowsTest;

TEST_F(MainToolBarTest, EveryControlCarriesItsTipAndStatusHelp) {
  MainToolBar *bar = shell->mainToolBar();
  const QString palette = "(CLICK-L)on a color to select it; (DOUBLE-CLICK) to see the color mixer";
  const std::vector<std::pair<QWidget *, QString>> controls = {
      {bar->elementButton(0), "Select element beneath the mouse"},
      {bar->elementButton(1), "Select vertices"},
      {bar->elementButton(2), "Select edges"},
      {bar->elementButton(3), "Select faces"},
      {bar->elementButton(4), "Select objects"},
      {bar->workModeButton(), "Go to Paint"},
      {bar->palette(), palette},
      {bar->swatch(), palette}};
  for (const auto &[control, text] : controls) {
    EXPECT_EQ(control->toolTip(), text);
    ui.status.clear();
    restOn(control);
    EXPECT_EQ(QString::fromStdString(ui.status), text);
  }
  bar->setPaintMode(true);
  restOn(bar->workModeButton());
  EXPECT_EQ(ui.status, "Go to Model");
}

TEST_F(MainToolBarTest, ElementButtonsSwitchTheSelectionModeAndFollowIt) {
  MainToolBar *bar = shell->mainToolBar();
  EXPECT_TRUE(bar->elementButton(0)->isChecked()); // free mode at start-up
  const SelectionMode modes[] = {moFREE, moVERTICES, moEDGES, moFACES, moOBJECTS};
  for (int b : {3, 1, 4, 2, 0}) {
    QTest::mouseClick(bar->elementButton(b), Qt::LeftButton);
    EXPECT_EQ(shell->scene().mode, modes[b]) << b;
    for (int other = 0; other < 5; ++other)
      EXPECT_EQ(bar->elementButton(other)->isChecked(), other == b) << b << " " << other;
  }
  QTest::keyClick(shell->modelWindow(), 'f'); // the key reaches the same command
  EXPECT_EQ(shell->scene().mode, moFACES);
  EXPECT_TRUE(bar->elementButton(3)->isChecked());
}

TEST_F(MainToolBarTest, BandsHideAndShowByNumber) {
  MainToolBar *bar = shell->mainToolBar();
  bar->setBandVisible(0, false);
  bar->setBandVisible(2, false);
  QTest::qWait(20); // the strip lays its bands out again
  EXPECT_FALSE(bar->bandVisible(0));
  EXPECT_TRUE(bar->bandVisible(1));
  EXPECT_FALSE(bar->bandVisible(2));
  EXPECT_TRUE(bar->bandVisible(3));
  EXPECT_FALSE(bar->swatch()->isVisible());
  bar->setBandVisible(0, true);
  bar->setBandVisible(2, true);
  QTest::qWait(20);
  EXPECT_TRUE(bar->swatch()->isVisible());
  EXPECT_TRUE(bar->elementButton(0)->isVisible());
}

TEST_F(MainToolBarTest, WorkModeButtonRunsTheCommandOfTheWorkMode) {
  std::vector<int32_t> ran;
  shell->commands().attach(8202, [&] { ran.push_back(8202); });
  shell->commands().attach(8201, [&] { ran.push_back(8201); });
  MainToolBar *bar = shell->mainToolBar();
  QTest::mouseClick(bar->workModeButton(), Qt::LeftButton);
  bar->setPaintMode(true);
  QTest::mouseClick(bar->workModeButton(), Qt::LeftButton);
  bar->setPaintMode(false);
  QTest::mouseClick(bar->workModeButton(), Qt::LeftButton);
  EXPECT_EQ(ran, (std::vector<int32_t>{8202, 8201, 8202}));
}

TEST_F(MainToolBarTest, PaletteClickPicksTheColourUnderThePointer) {
  QWidget *palette = shell->mainToolBar()->palette();
  QTest::mouseClick(palette, Qt::LeftButton, {}, QPoint(0, 11));
  EXPECT_EQ(shell->scene().GetCurrentColour(), (moColor{255, 0, 0, 255})); // red, left end
  QTest::mouseClick(palette, Qt::LeftButton, {}, QPoint(100, 0));
  EXPECT_EQ(shell->scene().GetCurrentColour(), (moColor{255, 255, 255, 255})); // top row
  QTest::mouseClick(palette, Qt::LeftButton, {}, QPoint(80, 22));
  EXPECT_EQ(shell->scene().GetCurrentColour(), (moColor{0, 0, 0, 255})); // bottom row
  QTest::mouseClick(palette, Qt::LeftButton, {}, QPoint(79, 11));        // a third round: green
  const moColor green = shell->scene().GetCurrentColour();
  EXPECT_LT(green.r, 20);
  EXPECT_GT(green.g, 240);
  EXPECT_LT(green.b, 20);
  EXPECT_TRUE(ui.colourRequests.empty()); // a click opens no dialog
}

TEST_F(MainToolBarTest, DoubleClickOpensTheChooserOnTheColourAndCancelKeepsIt) {
  QWidget *palette = shell->mainToolBar()->palette();
  const moColor under = opaque(paletteColour(150, 8));
  QTest::mouseClick(palette, Qt::LeftButton, {}, QPoint(150, 8)); // a double-click's first click
  QTest::mouseDClick(palette, Qt::LeftButton, {}, QPoint(150, 8));
  ASSERT_EQ(ui.colourRequests.size(), 1u);
  EXPECT_EQ(ui.colourRequests.back(), under);
  EXPECT_EQ(shell->scene().GetCurrentColour(), under); // cancelled: unchanged
  ui.queueColour({10, 20, 30, 99});
  QTest::mouseDClick(palette, Qt::LeftButton, {}, QPoint(150, 8));
  EXPECT_EQ(shell->scene().GetCurrentColour(), (moColor{10, 20, 30, 255}));
  EXPECT_EQ(shell->colours().current(), (moColor{10, 20, 30, 255}));
}

TEST_F(MainToolBarTest, SwatchAndColourMixerOpenTheChooserOnTheCurrentColour) {
  std::vector<moColor> toolColours;
  shell->colours().setToolColour = [&](moColor c) { toolColours.push_back(c); };
  shell->colours().toolColour = [] { return moColor{1, 2, 3, 255}; };
  ui.queueColour({200, 100, 50, 255});
  QTest::mouseClick(shell->mainToolBar()->swatch(), Qt::LeftButton);
  EXPECT_EQ(ui.colourRequests.back(), (moColor{1, 2, 3, 255})); // the paint tool's colour
  ASSERT_EQ(toolColours.size(), 1u);
  EXPECT_EQ(toolColours.back(), (moColor{200, 100, 50, 255}));
  EXPECT_EQ(shell->scene().GetCurrentColour(), (moColor{200, 100, 50, 255}));
  shell->runCommand(10241); // Show color mixer: the scene's colour, cancelled
  EXPECT_EQ(ui.colourRequests.back(), (moColor{200, 100, 50, 255}));
  EXPECT_EQ(toolColours.size(), 1u);
}

} // namespace
