#include <gtest/gtest.h>

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "dialogs/TypeTxt.h"
#include "figures/Canvas.h"

namespace {

// The box around every non-white pixel (empty when the picture is all white).
QRect InkBox(const QImage& img) {
  QRect box;
  for (int y = 0; y < img.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if ((line[x] & 0xFFFFFFu) != 0xFFFFFFu) box |= QRect(x, y, 1, 1);
  }
  return box;
}

class TypeTxtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main.setGeometry(100, 100, 900, 650);
    main.show();
    canvas.Font = QFont(QStringLiteral("WenQuanYi Micro Hei"));
    // Something in the picture already, so that restoring has more than white to get right.
    canvas.Line(0, 100, 299, 100);
    backing = canvas.Image();
    window.SurfaceChanged = [this] { ++surfaceChanges; };
    window.Committed = [this] { ++commits; };
  }
  void Type(const QString& text) { QTest::keyClicks(window.Txt->lineEdit(), text); }
  // The ink the text put into the picture (the line at y = 100 left out).
  QRect TextInk() const { return InkBox(canvas.Raster().copy(0, 0, canvas.Width(), 100)); }
  // The ink of `text` typed afresh at (20, 30).
  QRect InkOf(const QString& text) {
    window.Txt->setEditText(text);
    return TextInk();
  }

  QWidget main;
  Canvas canvas{300, 120};
  QImage backing;
  TypeTxt window{canvas, &main};
  int surfaceChanges = 0;
  int commits = 0;
};

TEST_F(TypeTxtTest, DesignState) {
  EXPECT_EQ(window.windowTitle(), QStringLiteral("打字工具栏："));
  EXPECT_EQ(window.Label1->text(), QStringLiteral("请键入输出的内容："));
  EXPECT_EQ(window.Label2->text(), QStringLiteral("字体大小："));
  EXPECT_EQ(window.Command1->text(), QStringLiteral("确定"));
  EXPECT_EQ(window.Command2->text(), QStringLiteral("取消"));
  ASSERT_EQ(window.Txt->count(), 14);
  EXPECT_EQ(window.Txt->itemText(0), "kg");
  EXPECT_EQ(window.Txt->itemText(9), "V(m/s)");
  EXPECT_EQ(window.Txt->itemText(13), QStringLiteral("V′"));
  EXPECT_TRUE(window.Txt->currentText().isEmpty());
  ASSERT_EQ(window.Combo1->count(), 16);
  EXPECT_EQ(window.Combo1->itemText(0), "6.5");
  EXPECT_EQ(window.Combo1->itemText(15), "48");
  EXPECT_EQ(window.Combo1->currentText(), "10");
  const std::pair<int, const char*> symbols[] = {{0, "α"},  {11, "Ψ"}, {12, "δ"}, {21, "℃"}, {22, "υ"},
                                                 {23, "甲"}, {27, "①"}, {31, "⑴"}, {36, "＞"}, {38, "≥"},
                                                 {43, "∥"}, {44, "÷"}};
  for (const auto& [i, s] : symbols) EXPECT_EQ(window.Command3[i]->text(), QString::fromUtf8(s)) << i;
  EXPECT_TRUE(window.Txt->lineEdit()->testAttribute(Qt::WA_InputMethodEnabled));
}

TEST_F(TypeTxtTest, PreviewSymbolsAndCancel) {
  canvas.Font.setPointSizeF(30);
  window.Open(QPoint(20, 30), &backing);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(canvas.Font.pointSizeF(), 10);  // the window loads with 10 points
  EXPECT_EQ(window.focusWidget(), window.Txt);
  Type("F=ma");
  EXPECT_EQ(window.Txt->currentText(), "F=ma");
  const QRect ink = TextInk();
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GE(ink.left(), 20);
  EXPECT_GE(ink.top(), 30);
  EXPECT_LT(ink.left(), 30);
  EXPECT_GE(surfaceChanges, 4);
  QTest::mouseClick(window.Command3[0], Qt::LeftButton);
  EXPECT_EQ(window.Txt->currentText(), QStringLiteral("F=maα"));
  EXPECT_GT(TextInk().right(), ink.right());

  QTest::mouseClick(window.Command2, Qt::LeftButton);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(canvas.Raster(), backing);
  EXPECT_EQ(commits, 0);
  // Unloaded: the next click starts with an empty text.
  EXPECT_FALSE(window.IsLoaded());
  EXPECT_TRUE(window.Txt->currentText().isEmpty());
}

TEST_F(TypeTxtTest, CommitKeepsTextAndSize) {
  window.Open(QPoint(40, 20), &backing);
  window.Combo1->setEditText("14");
  Type(QStringLiteral("v"));
  const int before = surfaceChanges;
  QTest::mouseClick(window.Command1, Qt::LeftButton);
  EXPECT_EQ(commits, 1);
  EXPECT_GT(surfaceChanges, before);
  EXPECT_FALSE(window.isVisible());
  EXPECT_NE(canvas.Raster(), backing);
  const QImage stamped = canvas.Image();
  EXPECT_EQ(window.Txt->currentText(), "v");
  EXPECT_EQ(window.Combo1->currentText(), "14");
  // Another tool chosen later: the stamped text stays.
  window.CloseWindow();
  EXPECT_EQ(canvas.Raster(), stamped);
  EXPECT_FALSE(window.IsLoaded());
}

TEST_F(TypeTxtTest, CommittingNothingChangesNothing) {
  window.Open(QPoint(40, 20), &backing);
  QTest::mouseClick(window.Command1, Qt::LeftButton);
  EXPECT_EQ(commits, 0);
  EXPECT_EQ(canvas.Raster(), backing);
}

TEST_F(TypeTxtTest, OtherToolAndCloseBoxRemoveThePreview) {
  window.Open(QPoint(10, 10), &backing);
  Type("abc");
  ASSERT_NE(canvas.Raster(), backing);
  window.CloseWindow();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(canvas.Raster(), backing);

  window.Open(QPoint(10, 10), &backing);
  EXPECT_TRUE(window.Txt->currentText().isEmpty());
  Type("abc");
  ASSERT_NE(canvas.Raster(), backing);
  EXPECT_TRUE(window.close());
  EXPECT_EQ(canvas.Raster(), backing);
  EXPECT_FALSE(window.IsLoaded());
}

TEST_F(TypeTxtTest, ChineseAndLatinDrawnCompletely) {
  window.Open(QPoint(20, 30), &backing);
  const QRect chinese = InkOf(QStringLiteral("甲"));
  const QRect mixed = InkOf(QStringLiteral("甲F"));
  const QRect three = InkOf(QStringLiteral("甲F乙"));
  ASSERT_FALSE(chinese.isEmpty());
  EXPECT_GT(mixed.right(), chinese.right() + 3);
  EXPECT_GT(three.right(), mixed.right() + 3);
}

TEST_F(TypeTxtTest, CharactersOutsideTheCodePageShowAsQuestionMarks) {
  window.Open(QPoint(20, 30), &backing);
  window.Txt->setEditText(QStringLiteral("a?"));
  const QImage question = canvas.Image();
  window.Txt->setEditText(QStringLiteral("a") + QString::fromUtf8("\xF0\x9F\x98\x80"));  // an emoji
  EXPECT_EQ(canvas.Raster(), question);
  ASSERT_FALSE(TextInk().isEmpty());
}

TEST_F(TypeTxtTest, FontSizeCheck) {
  window.Open(QPoint(0, 0), &backing);
  struct Case {
    const char* typed;
    const char* shown;
    double size;
  };
  const Case cases[] = {{"0", "10", 10},         {"abc", "10", 10},  {"-3", "10", 10},
                        {"100000", "500", 500},  {"48", "48", 48},   {"6.5", "6.5", 6.5},
                        {"12pt", "12", 12},      {"1e999", "1", 1},  {"", "10", 10},
                        {"nan", "10", 10}};
  for (const Case& c : cases) {
    window.Combo1->setEditText(QString::fromLatin1(c.typed));
    EXPECT_EQ(window.Combo1->currentText(), QString::fromLatin1(c.shown)) << c.typed;
    EXPECT_EQ(canvas.Font.pointSizeF(), c.size) << c.typed;
  }
  // Typed key by key.
  window.Combo1->lineEdit()->selectAll();
  QTest::keyClicks(window.Combo1->lineEdit(), "0");
  EXPECT_EQ(window.Combo1->currentText(), "10");
}

TEST_F(TypeTxtTest, FontSizeChangesTheNextPreview) {
  window.Open(QPoint(5, 5), &backing);
  const QRect small = InkOf("H");
  window.Combo1->setCurrentIndex(window.Combo1->findText("48"));
  EXPECT_EQ(TextInk(), small);  // no redraw until the text changes
  const QRect large = InkOf("HH").intersected(QRect(0, 0, 1000, 1000));
  const QRect largeH = InkOf("H");
  EXPECT_GT(largeH.height(), small.height() * 3);
  EXPECT_GT(large.width(), largeH.width());
}

TEST_F(TypeTxtTest, LargestSizeDrawsWithoutTrouble) {
  Canvas big(900, 900);
  const QImage blank = big.Image();
  TypeTxt large(big, &main);
  large.Open(QPoint(0, 0), &blank);
  large.Combo1->setEditText("100000");
  large.Txt->setEditText(QStringLiteral("甲"));
  const QRect ink = InkBox(big.Raster());
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GT(ink.height(), 300);
}

TEST_F(TypeTxtTest, InputMethodCommitPreviews) {
  window.Open(QPoint(20, 30), &backing);
  QInputMethodEvent preedit(QStringLiteral("jia"), {});
  QCoreApplication::sendEvent(window.Txt->lineEdit(), &preedit);
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("甲"));
  QCoreApplication::sendEvent(window.Txt->lineEdit(), &commit);
  EXPECT_EQ(window.Txt->currentText(), QStringLiteral("甲"));
  EXPECT_FALSE(TextInk().isEmpty());
}

TEST_F(TypeTxtTest, UnitListAndSecondClick) {
  window.Open(QPoint(20, 30), &backing);
  window.Txt->setCurrentIndex(2);  // "m/s"
  EXPECT_EQ(window.Txt->currentText(), "m/s");
  const QRect first = TextInk();
  ASSERT_FALSE(first.isEmpty());
  // Another click while the text shows: the preview moves, nothing stays behind.
  window.RemovePreview();
  EXPECT_EQ(canvas.Raster(), backing);
  window.Open(QPoint(120, 60), &backing);
  const QRect moved = TextInk();
  EXPECT_EQ(moved.topLeft(), first.topLeft() + QPoint(100, 30));
}

TEST_F(TypeTxtTest, PlacedAtBottomRightOfTheMainWindow) {
  window.Open(QPoint(0, 0), &backing);
  const QRect m = main.frameGeometry();
  const QRect w = window.frameGeometry();
  EXPECT_EQ(w.x() + w.width(), m.x() + m.width());
  EXPECT_EQ(w.y() + w.height(), m.y() + m.height());
}

}  // namespace
