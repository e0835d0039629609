// Choosing tools and switching palettes through the real palette buttons and View menu.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>

#include "dialogs/SetData.h"
#include "support/WindowDriver.h"

TEST(ToolChoice, ChoosingAndUnchoosingTheRectangle) {
  WindowDriver d;
  ImageDraw& w = d.w();
  d.ClickTool(7);
  EXPECT_EQ(w.State.ToolId, 7);
  EXPECT_TRUE(w.Tools[6]->isChecked());
  EXPECT_EQ(w.Draw_PIC->cursor().shape(), Qt::CrossCursor);
  EXPECT_TRUE(w.Draw_PIC->toolTip().isEmpty());
  EXPECT_FALSE(w.SetDataWindow->isVisible());
  d.ClickTool(7);  // the pressed tool again: no tool
  EXPECT_EQ(w.State.ToolId, 0);
  EXPECT_FALSE(w.Tools[6]->isChecked());
  EXPECT_EQ(w.Draw_PIC->cursor().shape(), Qt::ArrowCursor);
  EXPECT_FALSE(w.Draw_PIC->toolTip().isEmpty());
}

TEST(ToolChoice, AnotherToolReleasesThePreviousButton) {
  WindowDriver d;
  ImageDraw& w = d.w();
  d.ClickTool(9);
  d.ClickTool(10);
  EXPECT_EQ(w.State.ToolId, 10);
  EXPECT_FALSE(w.Tools[8]->isChecked());
  EXPECT_TRUE(w.Tools[9]->isChecked());
}

TEST(ToolChoice, PointerPerTool) {
  WindowDriver d;
  ImageDraw& w = d.w();
  d.ClickTool(3);
  EXPECT_EQ(w.Draw_PIC->cursor().shape(), Qt::IBeamCursor);
  d.ClickTool(2);
  EXPECT_EQ(w.Draw_PIC->cursor().shape(), Qt::BitmapCursor);
  d.ClickTool(24);
  EXPECT_EQ(w.Draw_PIC->cursor().shape(), Qt::BitmapCursor);
  d.ClickTool(13);
  EXPECT_EQ(w.Draw_PIC->cursor().shape(), Qt::CrossCursor);
}

TEST(ToolChoice, ParameterWindowFollowsTheTool) {
  WindowDriver d;
  ImageDraw& w = d.w();
  d.ClickTool(18);  // grid paper: two values
  ASSERT_TRUE(w.SetDataWindow->isVisible());
  EXPECT_EQ(w.SetDataWindow->PL->text(), QStringLiteral("水平方向分为："));
  EXPECT_EQ(w.SetDataWindow->SP->currentText(), "5");
  EXPECT_TRUE(w.SetDataWindow->ZL->isVisible());
  EXPECT_EQ(w.SetDataWindow->ZL->text(), QStringLiteral("竖直方向分为："));
  d.ClickTool(19);  // rod: one value
  EXPECT_EQ(w.SetDataWindow->PL->text(), QStringLiteral("杆的粗细设为："));
  EXPECT_EQ(w.SetDataWindow->SP->currentText(), "3");
  EXPECT_FALSE(w.SetDataWindow->ZL->isVisible());
  d.ClickTool(7);  // no parameter: the window closes
  EXPECT_FALSE(w.SetDataWindow->isVisible());
}

TEST(ToolChoice, ButtonOneOfEveryPaletteIsTheSelectionTool) {
  WindowDriver d;
  ImageDraw& w = d.w();
  w.Menu_View_fh->trigger();
  d.ClickTool(1);
  EXPECT_EQ(w.State.ToolId, 1);
  d.ClickTool(4);
  EXPECT_EQ(w.State.ToolId, 104);
  EXPECT_FALSE(w.Tools[0]->isChecked());
}

TEST(ToolChoice, SwitchingPalettesReleasesEverythingAndKeepsThePointer) {
  WindowDriver d;
  ImageDraw& w = d.w();
  d.ClickTool(5);
  w.Menu_View_hs->trigger();
  EXPECT_EQ(w.State.ToolId, 0);
  EXPECT_EQ(w.State.PaletteIndex, 3);
  for (QToolButton* b : w.Tools) EXPECT_FALSE(b->isChecked());
  EXPECT_TRUE(w.Menu_View_hs->isChecked());
  EXPECT_FALSE(w.Menu_View_cy->isChecked());
  EXPECT_EQ(w.Draw_PIC->cursor().shape(), Qt::CrossCursor);
  EXPECT_EQ(w.Tools[3]->toolTip(), QStringLiteral("画游标卡尺"));
  d.ClickTool(4);
  EXPECT_EQ(w.SetDataWindow->PL->text(), QStringLiteral("游标卡尺分度："));
  EXPECT_EQ(w.SetDataWindow->SP->currentText(), "50");
  // The palette's toolbar switch shows the same state as the menu.
  EXPECT_TRUE(w.Tbar->widgetForAction(w.Menu_View_hs)->property("checked").toBool());
  EXPECT_FALSE(w.Tbar->widgetForAction(w.Menu_View_cy)->property("checked").toBool());
}
