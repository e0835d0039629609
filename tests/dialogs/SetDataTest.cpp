#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <cmath>

#include "dialogs/NumberText.h"
#include "dialogs/SetData.h"
#include "support/Controls.h"
#include "workspace/ToolCatalogue.h"

namespace {

class SetDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main.setGeometry(100, 80, 900, 600);
    main.show();
  }
  // The workspace chooses a tool: the window gets that tool's prompts.
  void Choose(int toolId) { dlg.ToolChosen(ParameterPromptsOf(toolId)); }
  QLabel* PL() const { return Child<QLabel>(&dlg, "PL"); }
  QLabel* ZL() const { return Child<QLabel>(&dlg, "ZL"); }
  QComboBox* SP() const { return Child<QComboBox>(&dlg, "SP"); }
  QComboBox* SZ() const { return Child<QComboBox>(&dlg, "SZ"); }
  QComboBox* CS() const { return Child<QComboBox>(&dlg, "CS"); }

  QWidget main;
  SetData dlg{&main};
};

bool Shown(QWidget* w, QWidget* window) { return w->isVisibleTo(window); }

TEST_F(SetDataTest, DesignStateAndCaption) {
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("请选择："));
  EXPECT_TRUE(dlg.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(SP()->count(), 30);
  EXPECT_EQ(SP()->itemText(0), "1");
  EXPECT_EQ(SP()->itemText(29), "30");
  EXPECT_FALSE(dlg.isVisible());
  const ParameterValues v = dlg.Values();
  EXPECT_EQ(v.SP, 5);
  EXPECT_EQ(v.SZ, 5);
  EXPECT_EQ(v.CS, 5);
}

TEST_F(SetDataTest, PromptsPerTool) {
  Choose(18);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(PL()->text(), QStringLiteral("水平方向分为："));
  EXPECT_EQ(SP()->currentText(), "5");
  EXPECT_EQ(ZL()->text(), QStringLiteral("竖直方向分为："));
  EXPECT_EQ(SZ()->currentText(), "5");
  EXPECT_TRUE(Shown(ZL(), &dlg));
  EXPECT_TRUE(Shown(SZ(), &dlg));
  EXPECT_FALSE(Shown(CS(), &dlg));

  // The rod afterwards: the second row goes.
  Choose(19);
  EXPECT_EQ(PL()->text(), QStringLiteral("杆的粗细设为："));
  EXPECT_EQ(SP()->currentText(), "3");
  EXPECT_FALSE(Shown(ZL(), &dlg));
  EXPECT_FALSE(Shown(SZ(), &dlg));
  EXPECT_EQ(dlg.Values().SP, 3);

  Choose(72);
  EXPECT_EQ(PL()->text(), QStringLiteral("原线圈的匝数："));
  EXPECT_EQ(SP()->currentText(), "10");
  EXPECT_EQ(ZL()->text(), QStringLiteral("副线圈的匝数："));

  Choose(154);
  EXPECT_EQ(PL()->text(), QStringLiteral("游标卡尺分度："));
  EXPECT_EQ(SP()->currentText(), "50");

  // A function tool: SZ and CS hold offsets of 0, CS in ZL's place, no second label.
  Choose(118);
  EXPECT_EQ(PL()->text(), QStringLiteral("指数 N 取值："));
  EXPECT_EQ(SP()->currentText(), "2");
  EXPECT_EQ(SZ()->currentText(), "0");
  EXPECT_EQ(CS()->currentText(), "0");
  EXPECT_TRUE(Shown(SZ(), &dlg));
  EXPECT_TRUE(Shown(CS(), &dlg));
  EXPECT_FALSE(Shown(ZL(), &dlg));
  const ParameterValues v = dlg.Values();
  EXPECT_EQ(v.SP, 2);
  EXPECT_EQ(v.SZ, 0);
  EXPECT_EQ(v.CS, 0);
}

TEST_F(SetDataTest, OtherToolsCloseTheWindow) {
  Choose(8);
  EXPECT_TRUE(dlg.isVisible());
  SP()->setEditText("12");
  EXPECT_EQ(dlg.Values().SP, 12);
  Choose(7);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_FALSE(dlg.IsOpen());
  // Closed: the figures read the design values.
  EXPECT_EQ(dlg.Values().SP, 5);
  // The ammeter has no parameters shown.
  Choose(81);
  EXPECT_FALSE(dlg.isVisible());
  Choose(0);
  EXPECT_FALSE(dlg.isVisible());
}

TEST_F(SetDataTest, CloseBoxClosesAndValuesReturnToFive) {
  Choose(11);
  SP()->setEditText("7");
  EXPECT_EQ(dlg.Values().SP, 7);
  EXPECT_TRUE(dlg.close());
  EXPECT_FALSE(dlg.IsOpen());
  EXPECT_EQ(dlg.Values().SP, 5);
  Choose(11);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(SP()->currentText(), "2");
}

// Typed text -> resulting text of each box; SZ under tool 17 must stay positive, under 118 it may not.
TEST_F(SetDataTest, ChangeCheckTable) {
  struct Case {
    const char* typed;
    const char* sp;
    const char* sz17;
    const char* sz118;
    const char* cs;
  };
  const std::string many(400, '9');
  const std::string manyThenLetter = many + "x";
  const Case cases[] = {
      {"3abc", "3", "3", "3", "3"},
      {"2.5", "2.5", "2.5", "2.5", "2.5"},
      {"2.", "2.", "2.", "2.", "2."},  // on the way to "2.5": left alone
      {"0", "5", "5", "0", "0"},
      {"-2", "5", "5", "-2", "-2"},
      {"-3x", "5", "5", "-3", "-3"},
      {"abc", "5", "5", "0", "0"},
      {"", "5", "5", "0", "0"},
      {"  7", "  7", "  7", "  7", "  7"},
      {"1e3", "1", "1", "1", "1"},
      {"1e999", "1", "1", "1", "1"},
      {"nan", "5", "5", "0", "0"},
      {"inf", "5", "5", "0", "0"},
      {"-inf", "5", "5", "0", "0"},
      {"-", "5", "5", "-", "-"},  // a sign being typed
      {many.c_str(), "5", "5", "0", "0"},
      {manyThenLetter.c_str(), "5", "5", "0", "0"},
  };
  for (const Case& c : cases) {
    const QString typed = QString::fromUtf8(c.typed);
    Choose(17);
    SP()->setEditText(typed);
    SZ()->setEditText(typed);
    CS()->setEditText(typed);
    EXPECT_EQ(SP()->currentText(), QString::fromUtf8(c.sp)) << c.typed;
    EXPECT_EQ(SZ()->currentText(), QString::fromUtf8(c.sz17)) << c.typed;
    EXPECT_EQ(CS()->currentText(), QString::fromUtf8(c.cs)) << c.typed;
    Choose(118);
    SZ()->setEditText(typed);
    EXPECT_EQ(SZ()->currentText(), QString::fromUtf8(c.sz118)) << c.typed;
    const ParameterValues v = dlg.Values();
    EXPECT_TRUE(std::isfinite(v.SP) && std::isfinite(v.SZ) && std::isfinite(v.CS)) << c.typed;
    EXPECT_GT(v.SP, 0) << c.typed;
  }
}

TEST_F(SetDataTest, TypingAndListChoiceRunTheCheck) {
  Choose(18);
  SP()->lineEdit()->selectAll();
  QTest::keyClicks(SP()->lineEdit(), "0");
  EXPECT_EQ(SP()->currentText(), "5");
  SP()->lineEdit()->selectAll();
  QTest::keyClicks(SP()->lineEdit(), "2.5");
  EXPECT_EQ(SP()->currentText(), "2.5");
  EXPECT_DOUBLE_EQ(dlg.Values().SP, 2.5);
  SZ()->lineEdit()->selectAll();
  QTest::keyClicks(SZ()->lineEdit(), "x");
  EXPECT_EQ(SZ()->currentText(), "5");
  SZ()->setCurrentIndex(11);
  EXPECT_EQ(SZ()->currentText(), "12");
  EXPECT_EQ(dlg.Values().SZ, 12);

  // A negative offset typed key by key into the function tool's boxes.
  Choose(119);
  CS()->lineEdit()->selectAll();
  QTest::keyClicks(CS()->lineEdit(), "-3");
  EXPECT_EQ(CS()->currentText(), "-3");
  EXPECT_EQ(dlg.Values().CS, -3);
}

TEST_F(SetDataTest, LeadingNumber) {
  EXPECT_EQ(NumberText::LeadingNumber("3abc"), 3);
  EXPECT_EQ(NumberText::LeadingNumber(" -1.25x"), -1.25);
  EXPECT_EQ(NumberText::LeadingNumber(".5"), 0.5);
  EXPECT_EQ(NumberText::LeadingNumber("1e3"), 1);
  EXPECT_EQ(NumberText::LeadingNumber("x3"), 0);
  EXPECT_EQ(NumberText::LeadingNumber(QString(400, u'9')), 0);
}

TEST_F(SetDataTest, PlacedAtLowerRightOfTheMainWindow) {
  Choose(8);
  const QRect m = main.frameGeometry();
  const QRect d = dlg.frameGeometry();
  EXPECT_EQ(d.x() + d.width(), m.x() + m.width() - 1);
  EXPECT_EQ(d.y() + d.height(), m.y() + m.height() - 44);
  // Moving the window by hand is kept while it stays open.
  dlg.move(10, 10);
  Choose(11);
  EXPECT_EQ(dlg.pos(), QPoint(10, 10));
}

}  // namespace
