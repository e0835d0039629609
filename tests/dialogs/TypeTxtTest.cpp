// The text window "打字工具栏：" with the text tool of the real main window: the window edits the
// text, the main window shows its preview on the picture at the clicked point, stamps it or takes
// it away.
#include <gtest/gtest.h>

#include <QAbstractItemView>

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <string>

#include "dialogs/TypeTxt.h"
#include "support/Controls.h"
#include "support/WindowDriver.h"

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

// A main window with the text tool chosen, and its text window.
struct TextToolWindow : WindowDriver {
  TypeTxt* Window() const { return Find<TypeTxt>("TypeTxt"); }
  QComboBox* Txt() const { return Child<QComboBox>(Window(), "Txt"); }
  QComboBox* Combo1() const { return Child<QComboBox>(Window(), "Combo1"); }
  QPushButton* Button(const char* name) const { return Child<QPushButton>(Window(), name); }
  // A click with the text tool at `at`: the text window opens for that point.
  void ClickAt(QPoint at) {
    if (State().ToolId != ToolId::Text) ClickTool(3);
    Press(at);
    Release(at);
  }
};

class TypeTxtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Something in the picture already, so that restoring has more than white to get right.
    Canvas lined(600, 220);
    lined.Line(0, 100, 299, 100);
    backing = lined.Image();
    ASSERT_TRUE(d.OpenPicture(backing));
    d.ClickTool(3);
  }
  TypeTxt& window() { return *d.Window(); }
  void Type(const QString& text) { QTest::keyClicks(d.Txt()->lineEdit(), text); }
  // The ink the text put into the picture (the line at y = 100 left out).
  QRect TextInk() const { return InkBox(d.Image().copy(0, 0, d.Picture().Width(), 100)); }
  // The ink of `text` typed afresh.
  QRect InkOf(const QString& text) {
    d.Txt()->setEditText(text);
    return TextInk();
  }
  double FontSize() const { return d.Picture().Font.pointSizeF(); }

  TextToolWindow d;
  QImage backing;
  QSignalSpy previews{d.Window(), &TypeTxt::PreviewWanted};
  QSignalSpy stamps{d.Window(), &TypeTxt::Stamped};
};

TEST_F(TypeTxtTest, DesignState) {
  EXPECT_EQ(window().windowTitle(), QStringLiteral("打字工具栏："));
  EXPECT_EQ(Child<QLabel>(&window(), "Label1")->text(), QStringLiteral("请键入输出的内容："));
  EXPECT_EQ(Child<QLabel>(&window(), "Label2")->text(), QStringLiteral("字体大小："));
  EXPECT_EQ(d.Button("Command1")->text(), QStringLiteral("确定"));
  EXPECT_EQ(d.Button("Command2")->text(), QStringLiteral("取消"));
  ASSERT_EQ(d.Txt()->count(), 14);
  EXPECT_EQ(d.Txt()->itemText(0), "kg");
  EXPECT_EQ(d.Txt()->itemText(9), "V(m/s)");
  EXPECT_EQ(d.Txt()->itemText(13), QStringLiteral("V′"));
  EXPECT_TRUE(d.Txt()->currentText().isEmpty());
  ASSERT_EQ(d.Combo1()->count(), 16);
  EXPECT_EQ(d.Combo1()->itemText(0), "6.5");
  EXPECT_EQ(d.Combo1()->itemText(15), "48");
  EXPECT_EQ(d.Combo1()->currentText(), "10");
  const std::pair<int, const char*> symbols[] = {{0, "α"},  {11, "Ψ"}, {12, "δ"}, {21, "℃"}, {22, "υ"},
                                                 {23, "甲"}, {27, "①"}, {31, "⑴"}, {36, "＞"}, {38, "≥"},
                                                 {43, "∥"}, {44, "÷"}};
  for (const auto& [i, s] : symbols)
    EXPECT_EQ(d.Button(("Command3_" + std::to_string(i)).c_str())->text(), QString::fromUtf8(s)) << i;
  EXPECT_TRUE(d.Txt()->lineEdit()->testAttribute(Qt::WA_InputMethodEnabled));
}

TEST_F(TypeTxtTest, PreviewSymbolsAndCancel) {
  QFont large = d.Picture().Font;
  large.setPointSizeF(30);
  d.dialogs.fonts = {std::make_pair(large, qRgb(0, 0, 0))};
  d.Trigger("Menu_Tools_Font");
  ASSERT_EQ(FontSize(), 30);
  d.ClickAt({20, 30});
  EXPECT_TRUE(window().isVisible());
  EXPECT_EQ(FontSize(), 10);  // the window loads with 10 points
  EXPECT_EQ(window().focusWidget(), d.Txt());
  Type("F=ma");
  EXPECT_EQ(d.Txt()->currentText(), "F=ma");
  const QRect ink = TextInk();
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GE(ink.left(), 20);
  EXPECT_GE(ink.top(), 30);
  EXPECT_LT(ink.left(), 30);
  EXPECT_GE(previews.count(), 4);
  QTest::mouseClick(d.Button("Command3_0"), Qt::LeftButton);
  EXPECT_EQ(d.Txt()->currentText(), QStringLiteral("F=maα"));
  EXPECT_GT(TextInk().right(), ink.right());

  QTest::mouseClick(d.Button("Command2"), Qt::LeftButton);
  EXPECT_FALSE(window().isVisible());
  EXPECT_EQ(d.Image(), backing);
  EXPECT_EQ(stamps.count(), 0);
  // Unloaded: the next click starts with an empty text.
  EXPECT_FALSE(window().IsLoaded());
  EXPECT_TRUE(d.Txt()->currentText().isEmpty());
}

TEST_F(TypeTxtTest, CommitKeepsTextAndSize) {
  d.ClickAt({40, 20});
  d.Combo1()->setEditText("14");
  Type(QStringLiteral("v"));
  QTest::mouseClick(d.Button("Command1"), Qt::LeftButton);
  ASSERT_EQ(stamps.count(), 1);
  EXPECT_EQ(stamps.last().at(0).toByteArray(), QByteArray("v")) << "the text goes to the picture";
  EXPECT_FALSE(window().isVisible());
  EXPECT_NE(d.Image(), backing);
  const QImage stamped = d.Image();
  EXPECT_EQ(d.Txt()->currentText(), "v");
  EXPECT_EQ(d.Combo1()->currentText(), "14");
  // Another tool chosen later: the stamped text stays.
  window().CloseWindow();
  EXPECT_EQ(d.Image(), stamped);
  EXPECT_FALSE(window().IsLoaded());
}

TEST_F(TypeTxtTest, CommittingNothingChangesNothing) {
  d.ClickAt({40, 20});
  QTest::mouseClick(d.Button("Command1"), Qt::LeftButton);
  EXPECT_TRUE(stamps.isEmpty() || stamps.last().at(0).toByteArray().isEmpty()) << "nothing is stamped";
  EXPECT_EQ(d.Image(), backing);
  EXPECT_FALSE(d.Enabled("Menu_Edit_Undo")) << "no text, no change to undo";
}

TEST_F(TypeTxtTest, OtherToolAndCloseBoxRemoveThePreview) {
  d.ClickAt({10, 10});
  Type("abc");
  ASSERT_NE(d.Image(), backing);
  d.ClickTool(7);  // another tool
  EXPECT_FALSE(window().isVisible());
  EXPECT_EQ(d.Image(), backing);

  d.ClickAt({10, 10});
  EXPECT_TRUE(d.Txt()->currentText().isEmpty());
  Type("abc");
  ASSERT_NE(d.Image(), backing);
  EXPECT_TRUE(window().close());
  EXPECT_EQ(d.Image(), backing);
  EXPECT_FALSE(window().IsLoaded());
}

TEST_F(TypeTxtTest, ChineseAndLatinDrawnCompletely) {
  d.ClickAt({20, 30});
  const QRect chinese = InkOf(QStringLiteral("甲"));
  const QRect mixed = InkOf(QStringLiteral("甲F"));
  const QRect three = InkOf(QStringLiteral("甲F乙"));
  ASSERT_FALSE(chinese.isEmpty());
  EXPECT_GT(mixed.right(), chinese.right() + 3);
  EXPECT_GT(three.right(), mixed.right() + 3);
}

TEST_F(TypeTxtTest, CharactersOutsideTheCodePageShowAsQuestionMarks) {
  d.ClickAt({20, 30});
  d.Txt()->setEditText(QStringLiteral("a?"));
  const QImage question = d.Image();
  d.Txt()->setEditText(QStringLiteral("a") + QString::fromUtf8("\xF0\x9F\x98\x80"));  // an emoji
  EXPECT_EQ(d.Image(), question);
  EXPECT_EQ(previews.last().at(0).toByteArray(), QByteArray("a?"));
  ASSERT_FALSE(TextInk().isEmpty());
}

TEST_F(TypeTxtTest, FontSizeCheck) {
  d.ClickAt({0, 0});
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
    d.Combo1()->setEditText(QString::fromLatin1(c.typed));
    EXPECT_EQ(d.Combo1()->currentText(), QString::fromLatin1(c.shown)) << c.typed;
    EXPECT_EQ(FontSize(), c.size) << c.typed;
  }
  // Typed key by key.
  d.Combo1()->lineEdit()->selectAll();
  QTest::keyClicks(d.Combo1()->lineEdit(), "0");
  EXPECT_EQ(d.Combo1()->currentText(), "10");
}

TEST_F(TypeTxtTest, FontSizeChangesTheNextPreview) {
  d.ClickAt({5, 5});
  const QRect small = InkOf("H");
  d.Combo1()->setCurrentIndex(d.Combo1()->findText("48"));
  EXPECT_EQ(TextInk(), small);  // no redraw until the text changes
  const QRect large = InkOf("HH").intersected(QRect(0, 0, 1000, 1000));
  const QRect largeH = InkOf("H");
  EXPECT_GT(largeH.height(), small.height() * 3);
  EXPECT_GT(large.width(), largeH.width());
}

TEST_F(TypeTxtTest, LargestSizeDrawsWithoutTrouble) {
  TextToolWindow big;
  big.ResizePicture(900, 900);
  ASSERT_EQ(big.Picture().Size(), QSize(900, 900));
  big.ClickAt({0, 0});
  big.Combo1()->setEditText("100000");
  big.Txt()->setEditText(QStringLiteral("甲"));
  const QRect ink = InkBox(big.Image());
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GT(ink.height(), 300);
}

TEST_F(TypeTxtTest, InputMethodCommitPreviews) {
  d.ClickAt({20, 30});
  QInputMethodEvent preedit(QStringLiteral("jia"), {});
  QCoreApplication::sendEvent(d.Txt()->lineEdit(), &preedit);
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("甲"));
  QCoreApplication::sendEvent(d.Txt()->lineEdit(), &commit);
  EXPECT_EQ(d.Txt()->currentText(), QStringLiteral("甲"));
  EXPECT_FALSE(TextInk().isEmpty());
}

TEST_F(TypeTxtTest, UnitListAndSecondClick) {
  d.ClickAt({20, 30});
  d.Txt()->setCurrentIndex(2);  // "m/s"
  EXPECT_EQ(d.Txt()->currentText(), "m/s");
  const QRect first = TextInk();
  ASSERT_FALSE(first.isEmpty());
  // Another click while the text shows: the preview moves, nothing stays behind.
  d.ClickAt({120, 60});
  const QRect moved = TextInk();
  EXPECT_EQ(moved.topLeft(), first.topLeft() + QPoint(100, 30));
  EXPECT_EQ(moved.size(), first.size()) << "no ink is left at the first place";
  QImage withoutText = d.Image();
  for (int y = moved.top(); y <= moved.bottom(); ++y)
    for (int x = moved.left(); x <= moved.right(); ++x) withoutText.setPixel(x, y, backing.pixel(x, y));
  EXPECT_EQ(withoutText, backing);
}

TEST_F(TypeTxtTest, ChoosingTheUnitAlreadyShownRedrawsThePreview) {
  d.ClickAt({20, 30});
  d.Txt()->setCurrentIndex(2);  // "m/s"
  const QRect small = TextInk();
  // A larger size shows at the next redraw: choosing the same unit from the list again is one.
  d.Combo1()->setCurrentIndex(d.Combo1()->findText("48"));
  EXPECT_EQ(TextInk(), small);
  d.Txt()->showPopup();
  QAbstractItemView* list = d.Txt()->view();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualRect(list->model()->index(2, 0)).center());
  EXPECT_EQ(d.Txt()->currentText(), "m/s");
  EXPECT_GT(TextInk().height(), 2 * small.height());
}

TEST_F(TypeTxtTest, PlacedAtBottomRightOfTheMainWindow) {
  d.ClickAt({0, 0});
  const QRect m = d.w().frameGeometry();
  const QRect w = window().frameGeometry();
  EXPECT_EQ(w.x() + w.width(), m.x() + m.width());
  EXPECT_EQ(w.y() + w.height(), m.y() + m.height());
}

}  // namespace
