// Drawing settings through the real window: line and fill styles, guide lines, background pattern,
// colour chooser, font, and the text tool's stamp as an undoable change.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include "dialogs/ColorSlt.h"
#include "dialogs/TypeTxt.h"
#include "document/PictureFiles.h"
#include "Version.h"
#include "support/WindowDriver.h"

namespace {

// Pixels of row y from x0 to x1 that are black.
int BlackRun(WindowDriver& d, int y, int x0, int x1) {
  int n = 0;
  for (int x = x0; x <= x1; ++x) n += d.Pixel(x, y) == kBlack;
  return n;
}

}  // namespace

TEST(Settings, LineStyleButtonsSetStyleThenWidthAndOneStaysPressed) {
  WindowDriver d;
  ImageDraw& w = d.w();
  QTest::mouseClick(w.LStay[5], Qt::LeftButton);  // 4 px
  QTest::mouseClick(w.LStay[0], Qt::LeftButton);  // dashed
  EXPECT_EQ(w.Picture.DrawStyle, 1);
  EXPECT_EQ(w.Picture.DrawWidth, 1);
  int pressed = 0;
  for (QToolButton* b : w.LStay) pressed += b->isChecked();
  EXPECT_EQ(pressed, 1);
  EXPECT_TRUE(w.LStay[0]->isChecked());
  d.ClickTool(6);
  d.Drag({10, 20}, {110, 20});
  const int dashed = BlackRun(d, 20, 10, 110);
  EXPECT_GT(dashed, 40);
  EXPECT_LT(dashed, 101) << "a dashed line has gaps";

  QTest::mouseClick(w.LStay[4], Qt::LeftButton);  // solid 2 px after a pattern
  EXPECT_EQ(w.Picture.DrawStyle, 0);
  EXPECT_EQ(w.Picture.DrawWidth, 2);
  d.Drag({10, 60}, {110, 60});
  EXPECT_EQ(BlackRun(d, 60, 10, 110), 101) << "a width-2 line is solid";
}

TEST(Settings, FillButtonsFillRectanglesAndTheFillTool) {
  WindowDriver d;
  ImageDraw& w = d.w();
  QTest::mouseClick(w.FStay[0], Qt::LeftButton);  // solid
  EXPECT_EQ(w.Picture.FillStyle, 0);
  d.ClickTool(7);
  d.Drag({10, 10}, {50, 50});
  EXPECT_EQ(d.Pixel(30, 30), kBlack);
  QTest::mouseClick(w.FStay[2], Qt::LeftButton);  // horizontal lines
  EXPECT_EQ(w.Picture.FillStyle, 2);
  d.Drag({100, 10}, {140, 50});
  int rowsWithInk = 0;
  for (int y = 12; y < 48; ++y) rowsWithInk += d.Pixel(120, y) == kBlack;
  EXPECT_GT(rowsWithInk, 2);
  EXPECT_LT(rowsWithInk, 20) << "hatch lines leave gaps";
  QTest::mouseClick(w.FStay[1], Qt::LeftButton);  // transparent
  d.Drag({200, 10}, {240, 50});
  EXPECT_EQ(d.Pixel(220, 30), kWhite);
}

TEST(Settings, GuideLinesAreNeverInThePictureOrTheSavedFile) {
  WindowDriver d;
  ImageDraw& w = d.w();
  QTest::mouseClick(w.Tbar->widgetForAction(w.Menu_Tools_Line), Qt::LeftButton);
  EXPECT_TRUE(w.Menu_Tools_Line->isChecked());
  EXPECT_TRUE(w.Draw_PIC->guideVisible);
  d.Move({100, 50}, Qt::NoButton);
  const QImage onScreen = w.Draw_PIC->grab().toImage();
  int magenta = 0;
  for (int y = 0; y < onScreen.height(); ++y) magenta += QColor(onScreen.pixel(100, y)) == QColor(255, 0, 255);
  EXPECT_GT(magenta, onScreen.height() / 2) << "the guide line shows on screen";
  EXPECT_EQ(d.Pixel(100, 10), kWhite) << "but is not in the picture";
  QTemporaryDir dir;
  d.dialogs.saveNames = {dir.filePath("guides.bmp")};
  w.Menu_File_Save->trigger();
  PictureRead saved = ReadPictureFile(dir.filePath("guides.bmp"));
  ASSERT_TRUE(saved.ok());
  EXPECT_EQ(saved.image.pixel(100, 10) | 0xff000000u, kWhite);
  w.Menu_Tools_Line->trigger();
  EXPECT_FALSE(w.Draw_PIC->guideVisible);
  EXPECT_FALSE(w.Tbar->widgetForAction(w.Menu_Tools_Line)->property("checked").toBool());
}

TEST(Settings, BackgroundPatternKeepsTheSizeItWasShownWith) {
  WindowDriver d;
  ImageDraw& w = d.w();
  w.Menu_Tools_BGLine->trigger();
  EXPECT_TRUE(w.Draw_PIC->bgVisible);
  EXPECT_EQ(w.Draw_PIC->bgSize, QSize(600, 220));
  EXPECT_TRUE(w.Tbar->widgetForAction(w.Menu_Tools_BGLine)->property("checked").toBool());
  EXPECT_EQ(d.Pixel(3, 3), kWhite);
  w.Menu_Tools_BGLine->trigger();
  EXPECT_FALSE(w.Draw_PIC->bgVisible);
}

TEST(Settings, ColourChooserFollowsTheMenuAndItsCloseBox) {
  WindowDriver d;
  ImageDraw& w = d.w();
  w.Menu_Tools_Forcolor->trigger();
  ASSERT_TRUE(w.ColorSltWindow->isVisible());
  EXPECT_TRUE(w.Tbar->widgetForAction(w.Menu_Tools_Forcolor)->property("checked").toBool());
  QTest::mouseClick(w.ColorSltWindow->FColor[1], Qt::LeftButton);  // 255,0,0
  EXPECT_EQ(w.Picture.ForeColor, qRgb(255, 0, 0));
  EXPECT_EQ(w.Picture.FillColor, qRgb(255, 0, 0));
  QTest::mouseClick(w.FStay[0], Qt::LeftButton);
  d.ClickTool(7);
  d.Drag({10, 10}, {50, 50});
  EXPECT_EQ(d.Pixel(10, 10), 0xffff0000u);
  EXPECT_EQ(d.Pixel(30, 30), 0xffff0000u);
  w.ColorSltWindow->close();  // its close box
  EXPECT_FALSE(w.Menu_Tools_Forcolor->isChecked());
  EXPECT_FALSE(w.Tbar->widgetForAction(w.Menu_Tools_Forcolor)->property("checked").toBool());
  w.Menu_Tools_Forcolor->trigger();
  EXPECT_TRUE(w.ColorSltWindow->isVisible());
}

TEST(Settings, FontWindowSetsTheTextFontAndColourOrNothingOnCancel) {
  WindowDriver d;
  ImageDraw& w = d.w();
  const QFont before = w.Picture.Font;
  w.Menu_Tools_Font->trigger();  // cancelled
  EXPECT_EQ(w.Picture.Font, before);
  EXPECT_EQ(w.Picture.ForeColor, qRgb(0, 0, 0));
  QFont chosen("WenQuanYi Micro Hei");
  chosen.setPointSize(20);
  chosen.setBold(true);
  chosen.setStrikeOut(true);
  d.dialogs.fonts = {std::make_pair(chosen, qRgb(255, 0, 0))};
  w.Menu_Tools_Font->trigger();
  EXPECT_EQ(w.Picture.Font.pointSize(), 20);
  EXPECT_TRUE(w.Picture.Font.bold());
  EXPECT_FALSE(w.Picture.Font.strikeOut()) << "strike-through is not taken over";
  EXPECT_EQ(w.Picture.ForeColor, qRgb(255, 0, 0));
  EXPECT_EQ(w.Picture.FillColor, qRgb(0, 0, 0)) << "the font window sets only the foreground";
}

TEST(Settings, StampedTextIsAChangeThatUndoRemoves) {
  WindowDriver d;
  ImageDraw& w = d.w();
  const QImage blank = d.Image();
  d.ClickTool(3);
  d.Press({40, 40});
  d.Release({40, 40});
  ASSERT_TRUE(w.TypeTxtWindow->isVisible());
  w.TypeTxtWindow->Txt->setEditText(QStringLiteral("F=ma甲"));
  EXPECT_NE(d.Image(), blank) << "the preview shows at the click point";
  QTest::mouseClick(w.TypeTxtWindow->Command1, Qt::LeftButton);  // 确定
  const QImage stamped = d.Image();
  EXPECT_NE(stamped, blank);
  EXPECT_FALSE(w.TypeTxtWindow->isVisible());
  EXPECT_TRUE(w.State.ImageChanged);
  ASSERT_TRUE(w.Menu_Edit_Undo->isEnabled());
  w.Menu_Edit_Undo->trigger();
  EXPECT_EQ(d.Image(), blank);
}

TEST(Settings, SecondTextClickMovesTheUnstampedText) {
  WindowDriver d;
  ImageDraw& w = d.w();
  d.ClickTool(3);
  d.Press({40, 40});
  d.Release({40, 40});
  w.TypeTxtWindow->Txt->setEditText(QStringLiteral("F"));
  d.Press({300, 100});
  d.Release({300, 100});
  w.TypeTxtWindow->Txt->setEditText(QStringLiteral("Fx"));
  QTest::mouseClick(w.TypeTxtWindow->Command2, Qt::LeftButton);  // 取消
  const QImage img = d.Image();
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) ASSERT_EQ(img.pixel(x, y) | 0xff000000u, kWhite) << x << "," << y;
}

TEST(Settings, HelpMenuHandsAddressesToTheDesktopAndShowsTheVersion) {
  WindowDriver d;
  ImageDraw& w = d.w();
  w.Menu_Help_web->trigger();
  w.Menu_Help_LiuYan->trigger();
  w.Menu_Help_MailME->trigger();
  ASSERT_EQ(d.dialogs.urls.size(), 3);
  EXPECT_TRUE(d.dialogs.urls[0].scheme().startsWith("http"));
  EXPECT_TRUE(d.dialogs.urls[1].scheme().startsWith("http"));
  EXPECT_EQ(d.dialogs.urls[2].scheme(), "mailto");
  w.Menu_Help_about->trigger();
  ASSERT_EQ(d.dialogs.told.size(), 1);
  EXPECT_TRUE(d.dialogs.told[0].startsWith(QStringLiteral("关于|Quillmere")));
  EXPECT_TRUE(d.dialogs.told[0].contains(QStringLiteral(QM_VERSION)));
  w.Menu_Help_help->trigger();
  QWidget* help = w.findChild<QWidget*>("HelpWindow");
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->windowTitle(), QStringLiteral("软件说明"));
  help->close();
}
