// Choosing tools and switching palettes through the real palette buttons and View menu.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>

#include "support/WindowDriver.h"

namespace {

QWidget* ParameterWindow(const WindowDriver& d) { return d.Find<QWidget>("SetData"); }
QString Prompt(const WindowDriver& d, const char* name) { return d.Find<QLabel>(name)->text(); }
QString Value(const WindowDriver& d, const char* name) { return d.Find<QComboBox>(name)->currentText(); }

}  // namespace

TEST(ToolChoice, ChoosingAndUnchoosingTheRectangle) {
  WindowDriver d;
  d.ClickTool(7);
  EXPECT_EQ(d.State().ToolId, ToolId::Rectangle);
  EXPECT_TRUE(d.ToolButton(7)->isChecked());
  EXPECT_EQ(d.Surface()->cursor().shape(), Qt::CrossCursor);
  EXPECT_TRUE(d.Surface()->toolTip().isEmpty());
  EXPECT_FALSE(ParameterWindow(d)->isVisible());
  d.ClickTool(7);  // the pressed tool again: no tool
  EXPECT_EQ(d.State().ToolId, ToolId::None);
  EXPECT_FALSE(d.ToolButton(7)->isChecked());
  EXPECT_EQ(d.Surface()->cursor().shape(), Qt::ArrowCursor);
  EXPECT_FALSE(d.Surface()->toolTip().isEmpty());
}

TEST(ToolChoice, AnotherToolReleasesThePreviousButton) {
  WindowDriver d;
  d.ClickTool(9);
  d.ClickTool(10);
  EXPECT_EQ(ToolNumber(d.State().ToolId), 10);
  EXPECT_FALSE(d.ToolButton(9)->isChecked());
  EXPECT_TRUE(d.ToolButton(10)->isChecked());
}

TEST(ToolChoice, PointerPerTool) {
  WindowDriver d;
  d.ClickTool(3);
  EXPECT_EQ(d.Surface()->cursor().shape(), Qt::IBeamCursor);
  d.ClickTool(2);
  EXPECT_EQ(d.Surface()->cursor().shape(), Qt::BitmapCursor);
  d.ClickTool(24);
  EXPECT_EQ(d.Surface()->cursor().shape(), Qt::BitmapCursor);
  d.ClickTool(13);
  EXPECT_EQ(d.Surface()->cursor().shape(), Qt::CrossCursor);
}

TEST(ToolChoice, ParameterWindowFollowsTheTool) {
  WindowDriver d;
  d.ClickTool(18);  // grid paper: two values
  ASSERT_TRUE(ParameterWindow(d)->isVisible());
  EXPECT_EQ(Prompt(d, "PL"), QStringLiteral("水平方向分为："));
  EXPECT_EQ(Value(d, "SP"), "5");
  EXPECT_TRUE(d.Find<QLabel>("ZL")->isVisible());
  EXPECT_EQ(Prompt(d, "ZL"), QStringLiteral("竖直方向分为："));
  d.ClickTool(19);  // rod: one value
  EXPECT_EQ(Prompt(d, "PL"), QStringLiteral("杆的粗细设为："));
  EXPECT_EQ(Value(d, "SP"), "3");
  EXPECT_FALSE(d.Find<QLabel>("ZL")->isVisible());
  d.ClickTool(7);  // no parameter: the window closes
  EXPECT_FALSE(ParameterWindow(d)->isVisible());
}

TEST(ToolChoice, ButtonOneOfEveryPaletteIsTheSelectionTool) {
  WindowDriver d;
  d.Trigger("Menu_View_fh");
  d.ClickTool(1);
  EXPECT_EQ(d.State().ToolId, ToolId::Selection);
  d.ClickTool(4);
  EXPECT_EQ(ToolNumber(d.State().ToolId), 104);
  EXPECT_FALSE(d.ToolButton(1)->isChecked());
}

TEST(ToolChoice, SwitchingPalettesReleasesEverythingAndKeepsThePointer) {
  WindowDriver d;
  d.ClickTool(5);
  d.Trigger("Menu_View_hs");
  EXPECT_EQ(d.State().ToolId, ToolId::None);
  EXPECT_EQ(d.State().PaletteIndex, 3);
  for (int b = 1; b <= 50; ++b) EXPECT_FALSE(d.ToolButton(b)->isChecked()) << b;
  EXPECT_TRUE(d.Action("Menu_View_hs")->isChecked());
  EXPECT_FALSE(d.Action("Menu_View_cy")->isChecked());
  EXPECT_EQ(d.Surface()->cursor().shape(), Qt::CrossCursor);
  EXPECT_EQ(d.ToolButton(4)->toolTip(), QStringLiteral("画游标卡尺"));
  d.ClickTool(4);
  EXPECT_EQ(Prompt(d, "PL"), QStringLiteral("游标卡尺分度："));
  EXPECT_EQ(Value(d, "SP"), "50");
  // The palette's toolbar switch shows the same state as the menu.
  EXPECT_TRUE(d.ToolbarButton("Menu_View_hs")->property("checked").toBool());
  EXPECT_FALSE(d.ToolbarButton("Menu_View_cy")->property("checked").toBool());
}

// With no tool chosen a press on the picture draws nothing and says why, in the line under the
// palette beside the read-outs: no box to close. Choosing a tool clears it.
TEST(ToolChoice, APressWithNoToolSaysToChooseOne) {
  WindowDriver d;
  auto* hint = d.Find<QLabel>("ToolHint");
  const QString said = QStringLiteral("请先在左边的工具栏中选择一种工具。");
  EXPECT_TRUE(hint->text().isEmpty());
  const QImage blank = d.Image();
  for (int round = 0; round < 2; ++round) {
    d.Drag({50, 50}, {150, 120});
    EXPECT_EQ(hint->text(), said) << round;
    EXPECT_EQ(d.Image(), blank) << round;
    EXPECT_FALSE(d.State().ImageChanged) << round;
    EXPECT_TRUE(d.dialogs.told.isEmpty() && d.dialogs.asked.isEmpty()) << round;
    d.ClickTool(7);
    EXPECT_TRUE(hint->text().isEmpty()) << round;
    d.ClickTool(7);  // the pressed tool again: no tool, and the next press says so again
  }
  // Shown whole, under the palette and the read-outs, in the tool panel's column.
  d.Drag({50, 50}, {150, 120});
  QApplication::processEvents();
  const auto in = [&](const QWidget* w) { return QRect(w->mapTo(&d.w(), QPoint(0, 0)), w->size()); };
  const QRect shown = in(hint), palette = in(d.Find<QWidget>("jb")), readout = in(d.Find<QWidget>("DxLb"));
  EXPECT_TRUE(hint->isVisible());
  EXPECT_GE(shown.top(), palette.bottom());
  EXPECT_GE(shown.top(), readout.bottom());
  EXPECT_LT(shown.top() - readout.bottom(), 3 * hint->fontMetrics().height()) << "right under the read-outs";
  EXPECT_LE(shown.right(), palette.right() + 20) << "within the column";
  EXPECT_GE(shown.height(), hint->heightForWidth(shown.width())) << "every line of it shows";
}
