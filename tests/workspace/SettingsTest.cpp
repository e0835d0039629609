// Drawing settings through the real window: line and fill styles, guide lines, background pattern,
// colour chooser, font, and the text tool's stamp as an undoable change.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <string>

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

// Button `n` of a style row ("LStay" or "FStay"), and a click on it.
QAbstractButton* StyleButton(const WindowDriver& d, const char* row, int n) {
  return d.Find<QAbstractButton>((std::string(row) + std::to_string(n)).c_str());
}
void ClickStyle(WindowDriver& d, const char* row, int n) { QTest::mouseClick(StyleButton(d, row, n), Qt::LeftButton); }

bool ToolbarChecked(const WindowDriver& d, const char* action) {
  return d.ToolbarButton(action)->property("checked").toBool();
}

// The pixels of `shown` inside (or outside) `area` that differ from white.
int Tinted(const QImage& shown, QRect area, bool inside) {
  int n = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x)
      n += area.contains(x, y) == inside && (shown.pixel(x, y) | 0xff000000u) != kWhite;
  return n;
}

// Clicks the text tool at `at` and types `text` into the text window.
void TypeAt(WindowDriver& d, QPointF at, const QString& text) {
  d.Press(at);
  d.Release(at);
  d.Find<QComboBox>("Txt")->setEditText(text);
}

}  // namespace

TEST(Settings, LineStyleButtonsSetStyleThenWidthAndOneStaysPressed) {
  WindowDriver d;
  ClickStyle(d, "LStay", 6);  // 4 px
  ClickStyle(d, "LStay", 1);  // dashed
  EXPECT_EQ(d.Picture().DrawStyle, 1);
  EXPECT_EQ(d.Picture().DrawWidth, 1);
  int pressed = 0;
  for (int b = 1; b <= 6; ++b) pressed += StyleButton(d, "LStay", b)->isChecked();
  EXPECT_EQ(pressed, 1);
  EXPECT_TRUE(StyleButton(d, "LStay", 1)->isChecked());
  d.ClickTool(6);
  d.Drag({10, 20}, {110, 20});
  const int dashed = BlackRun(d, 20, 10, 110);
  EXPECT_GT(dashed, 40);
  EXPECT_LT(dashed, 101) << "a dashed line has gaps";

  ClickStyle(d, "LStay", 5);  // solid 2 px after a pattern
  EXPECT_EQ(d.Picture().DrawStyle, 0);
  EXPECT_EQ(d.Picture().DrawWidth, 2);
  d.Drag({10, 60}, {110, 60});
  EXPECT_EQ(BlackRun(d, 60, 10, 110), 101) << "a width-2 line is solid";
}

TEST(Settings, FillButtonsFillRectanglesAndTheFillTool) {
  WindowDriver d;
  ClickStyle(d, "FStay", 1);  // solid
  EXPECT_EQ(d.Picture().FillStyle, 0);
  d.ClickTool(7);
  d.Drag({10, 10}, {50, 50});
  EXPECT_EQ(d.Pixel(30, 30), kBlack);
  ClickStyle(d, "FStay", 3);  // horizontal lines
  EXPECT_EQ(d.Picture().FillStyle, 2);
  d.Drag({100, 10}, {140, 50});
  int rowsWithInk = 0;
  for (int y = 12; y < 48; ++y) rowsWithInk += d.Pixel(120, y) == kBlack;
  EXPECT_GT(rowsWithInk, 2);
  EXPECT_LT(rowsWithInk, 20) << "hatch lines leave gaps";
  ClickStyle(d, "FStay", 2);  // transparent
  d.Drag({200, 10}, {240, 50});
  EXPECT_EQ(d.Pixel(220, 30), kWhite);
}

TEST(Settings, GuideLinesAreNeverInThePictureOrTheSavedFile) {
  WindowDriver d;
  d.ClickToolbar("Menu_Tools_Line");
  EXPECT_TRUE(d.Action("Menu_Tools_Line")->isChecked());
  d.Move({100, 50}, Qt::NoButton);
  const QImage onScreen = d.Shown();
  int magenta = 0;
  for (int y = 0; y < onScreen.height(); ++y) magenta += QColor(onScreen.pixel(100, y)) == QColor(255, 0, 255);
  EXPECT_GT(magenta, onScreen.height() / 2) << "the guide line shows on screen";
  EXPECT_EQ(d.Pixel(100, 10), kWhite) << "but is not in the picture";
  QTemporaryDir dir;
  d.dialogs.saveNames = {dir.filePath("guides.bmp")};
  d.Trigger("Menu_File_Save");
  PictureRead saved = ReadPictureFile(dir.filePath("guides.bmp"));
  ASSERT_TRUE(saved.ok());
  EXPECT_EQ(saved.image.pixel(100, 10) | 0xff000000u, kWhite);
  d.Trigger("Menu_Tools_Line");
  EXPECT_EQ(d.Shown(), d.Image().convertToFormat(QImage::Format_RGB32)) << "hidden, the guide lines are gone";
  EXPECT_FALSE(ToolbarChecked(d, "Menu_Tools_Line"));
}

TEST(Settings, BackgroundPatternKeepsTheSizeItWasShownWith) {
  WindowDriver d;
  d.Trigger("Menu_Tools_BGLine");
  EXPECT_GT(Tinted(d.Shown(), QRect(0, 0, 600, 220), true), 0) << "the pattern shows over the picture";
  EXPECT_TRUE(ToolbarChecked(d, "Menu_Tools_BGLine"));
  EXPECT_EQ(d.Pixel(3, 3), kWhite);
  // A larger canvas: the pattern keeps the 600 x 220 it was shown with.
  d.ResizePicture(700, 300);
  EXPECT_GT(Tinted(d.Shown(), QRect(0, 0, 600, 220), true), 0);
  EXPECT_EQ(Tinted(d.Shown(), QRect(0, 0, 600, 220), false), 0);
  d.Trigger("Menu_Tools_BGLine");
  EXPECT_EQ(Tinted(d.Shown(), QRect(0, 0, 600, 220), true), 0) << "hidden, the pattern is gone";
}

TEST(Settings, ColourChooserFollowsTheMenuAndItsCloseBox) {
  WindowDriver d;
  d.Trigger("Menu_Tools_Forcolor");
  QWidget* chooser = d.Find<QWidget>("ColorSlt");
  ASSERT_TRUE(chooser->isVisible());
  EXPECT_TRUE(ToolbarChecked(d, "Menu_Tools_Forcolor"));
  QTest::mouseClick(d.Find<QWidget>("FColor1"), Qt::LeftButton);  // 255,0,0
  EXPECT_EQ(d.Picture().ForeColor, qRgb(255, 0, 0));
  EXPECT_EQ(d.Picture().FillColor, qRgb(255, 0, 0));
  ClickStyle(d, "FStay", 1);
  d.ClickTool(7);
  d.Drag({10, 10}, {50, 50});
  EXPECT_EQ(d.Pixel(10, 10), kRed);
  EXPECT_EQ(d.Pixel(30, 30), kRed);
  chooser->close();  // its close box
  EXPECT_FALSE(d.Action("Menu_Tools_Forcolor")->isChecked());
  EXPECT_FALSE(ToolbarChecked(d, "Menu_Tools_Forcolor"));
  d.Trigger("Menu_Tools_Forcolor");
  EXPECT_TRUE(chooser->isVisible());
}

TEST(Settings, FontWindowSetsTheTextFontAndColourOrNothingOnCancel) {
  WindowDriver d;
  const QFont before = d.Picture().Font;
  d.Trigger("Menu_Tools_Font");  // cancelled
  EXPECT_EQ(d.Picture().Font, before);
  EXPECT_EQ(d.Picture().ForeColor, qRgb(0, 0, 0));
  QFont chosen("WenQuanYi Micro Hei");
  chosen.setPointSize(20);
  chosen.setBold(true);
  chosen.setStrikeOut(true);
  d.dialogs.fonts = {std::make_pair(chosen, qRgb(255, 0, 0))};
  d.Trigger("Menu_Tools_Font");
  EXPECT_EQ(d.Picture().Font.pointSize(), 20);
  EXPECT_TRUE(d.Picture().Font.bold());
  EXPECT_FALSE(d.Picture().Font.strikeOut()) << "strike-through is not taken over";
  EXPECT_EQ(d.Picture().ForeColor, qRgb(255, 0, 0));
  EXPECT_EQ(d.Picture().FillColor, qRgb(0, 0, 0)) << "the font window sets only the foreground";
}

TEST(Settings, StampedTextIsAChangeThatUndoRemoves) {
  WindowDriver d;
  const QImage blank = d.Image();
  d.ClickTool(3);
  TypeAt(d, {40, 40}, QStringLiteral("F=ma甲"));
  ASSERT_TRUE(d.Find<QWidget>("TypeTxt")->isVisible());
  EXPECT_NE(d.Image(), blank) << "the preview shows at the click point";
  QTest::mouseClick(d.Find<QPushButton>("Command1"), Qt::LeftButton);  // 确定
  const QImage stamped = d.Image();
  EXPECT_NE(stamped, blank);
  EXPECT_FALSE(d.Find<QWidget>("TypeTxt")->isVisible());
  EXPECT_TRUE(d.State().ImageChanged);
  ASSERT_TRUE(d.Action("Menu_Edit_Undo")->isEnabled());
  d.Trigger("Menu_Edit_Undo");
  EXPECT_EQ(d.Image(), blank);
}

TEST(Settings, SecondTextClickMovesTheUnstampedText) {
  WindowDriver d;
  d.ClickTool(3);
  TypeAt(d, {40, 40}, QStringLiteral("F"));
  TypeAt(d, {300, 100}, QStringLiteral("Fx"));
  QTest::mouseClick(d.Find<QPushButton>("Command2"), Qt::LeftButton);  // 取消
  const QImage img = d.Image();
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) ASSERT_EQ(img.pixel(x, y) | 0xff000000u, kWhite) << x << "," << y;
}

TEST(Settings, HelpMenuHandsAddressesToTheDesktopAndShowsTheVersion) {
  WindowDriver d;
  d.Trigger("Menu_Help_web");
  d.Trigger("Menu_Help_LiuYan");
  d.Trigger("Menu_Help_MailME");
  ASSERT_EQ(d.dialogs.urls.size(), 3);
  EXPECT_TRUE(d.dialogs.urls[0].scheme().startsWith("http"));
  EXPECT_TRUE(d.dialogs.urls[1].scheme().startsWith("http"));
  EXPECT_EQ(d.dialogs.urls[2].scheme(), "mailto");
  d.Trigger("Menu_Help_about");
  ASSERT_EQ(d.dialogs.told.size(), 1);
  EXPECT_TRUE(d.dialogs.told[0].startsWith(QStringLiteral("关于|Quillmere")));
  EXPECT_TRUE(d.dialogs.told[0].contains(QStringLiteral(QM_VERSION)));
  d.Trigger("Menu_Help_help");
  QWidget* help = d.w().findChild<QWidget*>("HelpWindow");
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->windowTitle(), QStringLiteral("软件说明"));
  help->close();
}
