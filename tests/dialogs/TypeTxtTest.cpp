// The text window "打字工具栏：" with the text tool of the real main window: the window edits the
// text, the main window shows its preview on the picture at the clicked point, stamps it or takes
// it away.
#include <gtest/gtest.h>

#include <QAbstractItemView>

#include <QComboBox>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRawFont>
#include <QSignalSpy>
#include <QTextLayout>
#include <QTest>
#include <functional>
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
  EXPECT_EQ(window().findChild<QComboBox*>(QStringLiteral("Txt")), nullptr) << "made when the window first opens";
  d.ClickAt(QPoint(20, 20));
  EXPECT_EQ(Child<QLabel>(&window(), "Label1")->text(), QStringLiteral("请键入输出的内容："));
  EXPECT_EQ(Child<QLabel>(&window(), "Label2")->text(), QStringLiteral("字体大小："));
  EXPECT_EQ(d.Button("Command1")->text(), QStringLiteral("确定"));
  EXPECT_EQ(d.Button("Command2")->text(), QStringLiteral("取消"));
  ASSERT_EQ(d.Txt()->count(), 25);
  EXPECT_EQ(d.Txt()->itemText(0), "kg");
  EXPECT_EQ(d.Txt()->itemText(9), "V(m/s)");
  EXPECT_EQ(d.Txt()->itemText(13), QStringLiteral("V′"));
  const char* const added[] = {"m/s²", "N·m", "kg·m/s", "J", "W", "Ω", "Hz", "T", "Wb", "C", "eV"};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(d.Txt()->itemText(14 + i), QString::fromUtf8(added[i])) << i;
  window().layout()->activate();  // the controls in their places, as when the window shows
  EXPECT_EQ(Child<QLabel>(&window(), "Label3")->text(), QStringLiteral("F_1 → F₁，m/s^2 → m/s²，\\vec{F} → 矢量F（英文标点）"));
  EXPECT_GT(Child<QLabel>(&window(), "Label3")->y(), d.Txt()->y()) << "the hint is under the text box";
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
  // The second row, after the 45.
  const char* const second[] = {"²", "³", "⁻¹", "₀", "₁", "₂", "⊗", "⊙", "→", "·", "±", "√", "上标", "下标", "矢量"};
  QPushButton* last = d.Button("Command3_44");
  for (int i = 0; i < 15; ++i) {
    QPushButton* b = d.Button(("Command3_" + std::to_string(45 + i)).c_str());
    EXPECT_EQ(b->text(), QString::fromUtf8(second[i])) << 45 + i;
    EXPECT_GT(b->y(), last->y()) << 45 + i;
    EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text())) << "the caption fits";
  }
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
  EXPECT_EQ(stamps.last().at(0).toString(), QStringLiteral("v")) << "the text goes to the picture";
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
  for (const bool byEnter : {false, true}) {
    d.ClickAt({40, 20});
    if (byEnter) {
      QTest::keyClick(d.Txt()->lineEdit(), Qt::Key_Return);
    } else {
      QTest::mouseClick(d.Button("Command1"), Qt::LeftButton);
    }
    EXPECT_FALSE(window().isVisible()) << byEnter;
    EXPECT_TRUE(stamps.isEmpty() || stamps.last().at(0).toString().isEmpty()) << "nothing is stamped";
    EXPECT_EQ(d.Image(), backing);
    EXPECT_FALSE(d.Enabled("Menu_Edit_Undo")) << "no text, no change to undo";
    EXPECT_FALSE(d.State().ImageChanged);
  }
}

// Every way out of the text tool with a label on show, the label running off the picture's corner:
// 确定, Enter and choosing another tool or palette (button, key or menu) stamp it, as one step of
// undo; 取消, Esc and the close box take it away. The palette in use stays.
TEST_F(TypeTxtTest, EveryWayOutOfTheTextTool) {
  auto key = [&](QKeyCombination k) {
    d.w().activateWindow();
    d.Surface()->setFocus();
    QApplication::processEvents();
    QTest::keyClick(d.Surface(), k.key(), k.keyboardModifiers());
  };
  struct Case {
    const char* way;
    int palette;  // where the text tool is chosen: its button on 常用图形, its key T elsewhere
    std::function<void()> leave;
    bool stamped;
    int paletteAfter = palette;
  };
  const Case cases[] = {
      {"确定", 0, [&] { QTest::mouseClick(d.Button("Command1"), Qt::LeftButton); }, true},
      {"Enter in the text box", 0, [&] { QTest::keyClick(d.Txt()->lineEdit(), Qt::Key_Return); }, true},
      {"another tool's button", 0, [&] { d.ClickTool(7); }, true},
      {"the text tool's button again", 0, [&] { d.ClickTool(3); }, true},
      {"the line tool's key", 0, [&] { key(QKeyCombination(Qt::Key_L)); }, true},
      {"the arrow tool's key on 立体几何", 2, [&] { key(QKeyCombination(Qt::Key_A)); }, true},
      {"a palette button on 立体几何", 2, [&] { d.ClickTool(26); }, true},
      {"another palette's menu entry", 0, [&] { d.Trigger("Menu_View_xz"); }, true, 1},
      {"another palette's key", 2, [&] { key(Qt::CTRL | Qt::Key_4); }, true, 3},
      {"取消", 0, [&] { QTest::mouseClick(d.Button("Command2"), Qt::LeftButton); }, false},
      {"Esc in the text box", 2, [&] { QTest::keyClick(d.Txt()->lineEdit(), Qt::Key_Escape); }, false},
      {"the close box", 0, [&] { window().close(); }, false},
  };
  for (const Case& c : cases) {
    d.Trigger(c.palette == 0 ? "Menu_View_cy" : "Menu_View_fh");
    if (c.palette == 0) {
      d.ClickTool(3);
    } else {
      key(QKeyCombination(Qt::Key_T));
    }
    ASSERT_EQ(d.State().ToolId, ToolId::Text) << c.way;
    const QImage before = d.Image();
    d.ClickAt({575, 210});
    d.Txt()->setEditText(QStringLiteral("F=ma 甲"));
    const QImage preview = d.Image();
    ASSERT_NE(preview, before) << c.way;
    c.leave();
    EXPECT_FALSE(window().isVisible()) << c.way;
    EXPECT_EQ(d.State().PaletteIndex, c.paletteAfter) << c.way;
    if (!c.stamped) {
      EXPECT_EQ(d.Image(), before) << c.way;
      EXPECT_FALSE(d.Enabled("Menu_Edit_Undo")) << c.way;
      continue;
    }
    EXPECT_EQ(d.Image(), preview) << c.way << ": the label as it showed, cut at the picture's edges";
    EXPECT_TRUE(d.State().ImageChanged) << c.way;
    ASSERT_TRUE(d.Enabled("Menu_Edit_Undo")) << c.way;
    d.Trigger("Menu_Edit_Undo");
    EXPECT_EQ(d.Image(), before) << c.way << ": undo takes the label away";
  }
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

TEST_F(TypeTxtTest, CharactersOutsideTheCodePageShowAsTyped) {
  d.ClickAt({20, 30});
  d.Txt()->setEditText(QStringLiteral("m/s?"));
  const QImage question = d.Image();
  d.Txt()->setEditText(QStringLiteral("m/s^2"));
  const QImage markup = d.Image();
  d.Txt()->setEditText(QStringLiteral("m/s²"));
  EXPECT_EQ(previews.last().at(0).toString(), QStringLiteral("m/s²")) << "the text goes out as typed";
  EXPECT_NE(d.Image(), question);
  EXPECT_EQ(d.Image(), markup) << "a typed ² is ^2";
  const QString emoji = QStringLiteral("a") + QString::fromUtf8("\xF0\x9F\x98\x80");
  d.Txt()->setEditText(emoji);
  EXPECT_EQ(previews.last().at(0).toString(), emoji);
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

TEST_F(TypeTxtTest, ButtonsInsertAtTheCursor) {
  d.ClickAt({20, 30});
  struct Case {
    const char* text;
    int cursor, selected;  // the selection runs from the cursor over `selected` characters (backwards if < 0)
    int button;
    const char* after;
    int cursorAfter;
  };
  const Case cases[] = {
      {"F=ma", 4, 0, 0, "F=maα", 5},             // at the end: appended
      {"F=ma", 1, 0, 45, "F²=ma", 2},            // in the middle
      {"F=ma", 4, -2, 51, "F=⊗", 3},             // over a selection
      {"x", 1, 0, 47, "x⁻¹", 3},
      {"v", 1, 0, 57, "v^{}", 3},                // 上标: the cursor inside the braces
      {"F", 1, 0, 58, "F_{}", 3},                // 下标
      {"F=ma", 1, 0, 59, "\\vec{F}=ma", 7},        // 矢量 wraps the character before the cursor
      {"", 0, 0, 59, "\\vec{}", 5},                // ... or brings its braces with the cursor inside
      {"a b", 2, 0, 59, "a \\vec{}b", 7},
      {"AB+C", 0, 2, 59, "\\vec{AB}+C", 8},        // a selection gets the arrow
  };
  for (const Case& c : cases) {
    QLineEdit* edit = d.Txt()->lineEdit();
    d.Txt()->setEditText(QString::fromUtf8(c.text));
    edit->setCursorPosition(c.cursor);
    if (c.selected) edit->setSelection(c.cursor, c.selected);
    const qsizetype before = previews.count();
    QTest::mouseClick(d.Button(("Command3_" + std::to_string(c.button)).c_str()), Qt::LeftButton);
    EXPECT_EQ(d.Txt()->currentText(), QString::fromUtf8(c.after)) << c.text << " " << c.button;
    EXPECT_EQ(edit->cursorPosition(), c.cursorAfter) << c.text << " " << c.button;
    EXPECT_EQ(previews.count(), before + 1) << "one preview per button";
    EXPECT_EQ(window().focusWidget(), d.Txt()) << "typing goes on";
  }
  // Typing into the braces of 上标 makes the superscript.
  d.Txt()->setEditText(QStringLiteral("m/s"));
  QTest::mouseClick(d.Button("Command3_57"), Qt::LeftButton);
  Type("2");
  EXPECT_EQ(d.Txt()->currentText(), QStringLiteral("m/s^{2}"));
  const QImage typed = d.Image();
  d.Txt()->setEditText(QStringLiteral("m/s²"));
  EXPECT_EQ(d.Image(), typed);
}

TEST_F(TypeTxtTest, KeptTextPreviewsAtTheNextClickAndTypingReplacesIt) {
  d.ClickAt({20, 20});
  Type("F_1");
  const QRect first = TextInk();
  QTest::mouseClick(d.Button("Command1"), Qt::LeftButton);
  EXPECT_FALSE(window().PreviewShowing());
  const QImage stamped = d.Image();

  // The next click: the kept text shows at once at the new point, selected.
  d.ClickAt({200, 50});
  EXPECT_TRUE(window().isVisible());
  EXPECT_TRUE(window().PreviewShowing());
  EXPECT_EQ(d.Txt()->lineEdit()->selectedText(), QStringLiteral("F_1"));
  EXPECT_EQ(InkBox(d.Image().copy(150, 0, 450, 100)).translated(150, 0), first.translated(180, 30));
  // 确定 now would stamp it again; typing replaces it instead.
  Type("v");
  EXPECT_EQ(d.Txt()->currentText(), "v");
  const QRect v = InkBox(d.Image().copy(150, 0, 450, 100)).translated(150, 0);
  ASSERT_FALSE(v.isEmpty());
  EXPECT_GE(v.left(), 200);
  EXPECT_LT(v.width(), first.width()) << "only the v shows at the new point";
  // A third click while the text shows moves it and keeps what is typed.
  d.ClickAt({300, 50});
  EXPECT_FALSE(d.Txt()->lineEdit()->hasSelectedText());
  EXPECT_EQ(InkBox(d.Image().copy(250, 0, 350, 100)).translated(250, 0), v.translated(100, 0));
  // StampNow stamps as 确定 does.
  const qsizetype before = stamps.count();
  window().StampNow();
  EXPECT_EQ(stamps.count(), before + 1);
  EXPECT_EQ(stamps.last().at(0).toString(), "v");
  EXPECT_FALSE(window().isVisible());
  EXPECT_FALSE(window().PreviewShowing());
  EXPECT_TRUE(d.Enabled("Menu_Edit_Undo"));
  QImage withoutV = d.Image();
  for (int y = 0; y < 100; ++y)
    for (int x = 250; x < 600; ++x) withoutV.setPixel(x, y, stamped.pixel(x, y));
  EXPECT_EQ(withoutV, stamped) << "the first label stays, the v is the only other ink";
  window().StampNow();  // nothing shows: nothing happens
  EXPECT_EQ(stamps.count(), before + 1);
}

// A new or opened picture takes the place of the one the text was previewed on: the unstamped
// text goes, and nothing of the old picture comes back at the next click or 取消.
TEST_F(TypeTxtTest, NewOrOpenedPictureDropsTheUnstampedText) {
  Canvas boxed(600, 220);
  boxed.Box(10, 10, 200, 150);
  const QImage other = boxed.Image();
  d.ClickAt({20, 30});
  Type("F_1");
  ASSERT_TRUE(d.OpenPicture(other));  // the save question answered 否
  EXPECT_FALSE(window().isVisible());
  EXPECT_EQ(d.Image(), other);
  d.ClickAt({300, 30});
  QTest::mouseClick(d.Button("Command2"), Qt::LeftButton);
  EXPECT_EQ(d.Image(), other) << "取消 gives back the opened picture";

  d.ClickAt({300, 30});
  Type("v");
  d.dialogs.answers = {QMessageBox::No};
  d.Trigger("Menu_File_New");
  EXPECT_FALSE(window().isVisible());
  const QImage blank = d.Image();
  EXPECT_TRUE(InkBox(blank).isEmpty());
  d.ClickAt({100, 30});
  QTest::mouseClick(d.Button("Command2"), Qt::LeftButton);
  EXPECT_EQ(d.Image(), blank) << "the new picture stays white";
}

TEST_F(TypeTxtTest, PlacedAtBottomRightOfTheMainWindow) {
  d.ClickAt({0, 0});
  const QRect m = d.w().frameGeometry();
  const QRect w = window().frameGeometry();
  EXPECT_EQ(w.x() + w.width(), m.x() + m.width());
  EXPECT_EQ(w.y() + w.height(), m.y() + m.height());
}

// Every character of a teacher's labels and every button's caption is in an installed font: the
// fonts beside the program hold it, and the text tool's font (with its fallbacks) draws a glyph
// for it, never the empty box of a missing one.
TEST(TypeTxtFonts, EveryListedCharacterIsCovered) {
  const QStringList families = QFontDatabase::families();
  ASSERT_TRUE(families.contains(QStringLiteral("DejaVu Sans")));
  ASSERT_TRUE(families.contains(QStringLiteral("WenQuanYi Micro Hei")));
  const QRawFont installed[] = {QRawFont::fromFont(QFont(QStringLiteral("DejaVu Sans"))),
                                QRawFont::fromFont(QFont(QStringLiteral("WenQuanYi Micro Hei")))};
  QString characters = QStringLiteral("²³⁰¹⁴⁵⁶⁷⁸⁹⁺⁻₀₁₂₃₄₅₆₇₈₉⊗⊙→·±√∑∫\u20D7");
  for (const char* caption : TypeTxt::kSymbols) characters += QString::fromUtf8(caption);
  for (const QFont& font : {QFont(), QFont(QStringLiteral("WenQuanYi Micro Hei")), QFont(QStringLiteral("DejaVu Sans"))}) {
    for (char32_t u : characters.toUcs4()) {
      const QString c = QString::fromUcs4(&u, 1);
      EXPECT_TRUE(installed[0].supportsCharacter(u) || installed[1].supportsCharacter(u)) << c.toStdString();
      // After a letter, as the combining arrow stands.
      QTextLayout line(QStringLiteral("x") + c, font);
      line.beginLayout();
      line.createLine();
      line.endLayout();
      for (const QGlyphRun& run : line.glyphRuns())
        for (quint32 glyph : run.glyphIndexes())
          EXPECT_NE(glyph, 0u) << c.toStdString() << " in " << font.family().toStdString();
    }
  }
}

}  // namespace
