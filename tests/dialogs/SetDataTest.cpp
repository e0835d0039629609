#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <cmath>

#include "dialogs/SetData.h"

namespace {

class SetDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main.setGeometry(100, 80, 900, 600);
    main.show();
  }
  QWidget main;
  SetData dlg{&main};
};

bool Shown(QWidget* w, QWidget* window) { return w->isVisibleTo(window); }

TEST_F(SetDataTest, DesignStateAndCaption) {
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("请选择："));
  EXPECT_TRUE(dlg.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(dlg.SP->count(), 30);
  EXPECT_EQ(dlg.SP->itemText(0), "1");
  EXPECT_EQ(dlg.SP->itemText(29), "30");
  EXPECT_FALSE(dlg.isVisible());
  const ParameterValues v = dlg.Values();
  EXPECT_EQ(v.SP, 5);
  EXPECT_EQ(v.SZ, 5);
  EXPECT_EQ(v.CS, 5);
}

TEST_F(SetDataTest, PromptsPerTool) {
  dlg.ToolChosen(18);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.PL->text(), QStringLiteral("水平方向分为："));
  EXPECT_EQ(dlg.SP->currentText(), "5");
  EXPECT_EQ(dlg.ZL->text(), QStringLiteral("竖直方向分为："));
  EXPECT_EQ(dlg.SZ->currentText(), "5");
  EXPECT_TRUE(Shown(dlg.ZL, &dlg));
  EXPECT_TRUE(Shown(dlg.SZ, &dlg));
  EXPECT_FALSE(Shown(dlg.CS, &dlg));

  // The rod afterwards: the second row goes.
  dlg.ToolChosen(19);
  EXPECT_EQ(dlg.PL->text(), QStringLiteral("杆的粗细设为："));
  EXPECT_EQ(dlg.SP->currentText(), "3");
  EXPECT_FALSE(Shown(dlg.ZL, &dlg));
  EXPECT_FALSE(Shown(dlg.SZ, &dlg));
  EXPECT_EQ(dlg.Values().SP, 3);

  dlg.ToolChosen(72);
  EXPECT_EQ(dlg.PL->text(), QStringLiteral("原线圈的匝数："));
  EXPECT_EQ(dlg.SP->currentText(), "10");
  EXPECT_EQ(dlg.ZL->text(), QStringLiteral("副线圈的匝数："));

  dlg.ToolChosen(154);
  EXPECT_EQ(dlg.PL->text(), QStringLiteral("游标卡尺分度："));
  EXPECT_EQ(dlg.SP->currentText(), "50");

  // A function tool: SZ and CS hold offsets of 0, CS in ZL's place, no second label.
  dlg.ToolChosen(118);
  EXPECT_EQ(dlg.PL->text(), QStringLiteral("指数 N 取值："));
  EXPECT_EQ(dlg.SP->currentText(), "2");
  EXPECT_EQ(dlg.SZ->currentText(), "0");
  EXPECT_EQ(dlg.CS->currentText(), "0");
  EXPECT_TRUE(Shown(dlg.SZ, &dlg));
  EXPECT_TRUE(Shown(dlg.CS, &dlg));
  EXPECT_FALSE(Shown(dlg.ZL, &dlg));
  const ParameterValues v = dlg.Values();
  EXPECT_EQ(v.SP, 2);
  EXPECT_EQ(v.SZ, 0);
  EXPECT_EQ(v.CS, 0);
}

TEST_F(SetDataTest, OtherToolsCloseTheWindow) {
  dlg.ToolChosen(8);
  EXPECT_TRUE(dlg.isVisible());
  dlg.SP->setEditText("12");
  EXPECT_EQ(dlg.Values().SP, 12);
  dlg.ToolChosen(7);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_FALSE(dlg.IsOpen());
  // Closed: the figures read the design values.
  EXPECT_EQ(dlg.Values().SP, 5);
  // The ammeter has no parameters shown.
  dlg.ToolChosen(81);
  EXPECT_FALSE(dlg.isVisible());
  dlg.ToolChosen(0);
  EXPECT_FALSE(dlg.isVisible());
}

TEST_F(SetDataTest, CloseBoxClosesAndValuesReturnToFive) {
  dlg.ToolChosen(11);
  dlg.SP->setEditText("7");
  EXPECT_EQ(dlg.Values().SP, 7);
  EXPECT_TRUE(dlg.close());
  EXPECT_FALSE(dlg.IsOpen());
  EXPECT_EQ(dlg.Values().SP, 5);
  dlg.ToolChosen(11);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.SP->currentText(), "2");
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
    dlg.ToolChosen(17);
    dlg.SP->setEditText(typed);
    dlg.SZ->setEditText(typed);
    dlg.CS->setEditText(typed);
    EXPECT_EQ(dlg.SP->currentText(), QString::fromUtf8(c.sp)) << c.typed;
    EXPECT_EQ(dlg.SZ->currentText(), QString::fromUtf8(c.sz17)) << c.typed;
    EXPECT_EQ(dlg.CS->currentText(), QString::fromUtf8(c.cs)) << c.typed;
    dlg.ToolChosen(118);
    dlg.SZ->setEditText(typed);
    EXPECT_EQ(dlg.SZ->currentText(), QString::fromUtf8(c.sz118)) << c.typed;
    const ParameterValues v = dlg.Values();
    EXPECT_TRUE(std::isfinite(v.SP) && std::isfinite(v.SZ) && std::isfinite(v.CS)) << c.typed;
    EXPECT_GT(v.SP, 0) << c.typed;
  }
}

TEST_F(SetDataTest, TypingAndListChoiceRunTheCheck) {
  dlg.ToolChosen(18);
  dlg.SP->lineEdit()->selectAll();
  QTest::keyClicks(dlg.SP->lineEdit(), "0");
  EXPECT_EQ(dlg.SP->currentText(), "5");
  dlg.SP->lineEdit()->selectAll();
  QTest::keyClicks(dlg.SP->lineEdit(), "2.5");
  EXPECT_EQ(dlg.SP->currentText(), "2.5");
  EXPECT_DOUBLE_EQ(dlg.Values().SP, 2.5);
  dlg.SZ->lineEdit()->selectAll();
  QTest::keyClicks(dlg.SZ->lineEdit(), "x");
  EXPECT_EQ(dlg.SZ->currentText(), "5");
  dlg.SZ->setCurrentIndex(11);
  EXPECT_EQ(dlg.SZ->currentText(), "12");
  EXPECT_EQ(dlg.Values().SZ, 12);

  // A negative offset typed key by key into the function tool's boxes.
  dlg.ToolChosen(119);
  dlg.CS->lineEdit()->selectAll();
  QTest::keyClicks(dlg.CS->lineEdit(), "-3");
  EXPECT_EQ(dlg.CS->currentText(), "-3");
  EXPECT_EQ(dlg.Values().CS, -3);
}

TEST_F(SetDataTest, LeadingNumber) {
  EXPECT_EQ(SetData::LeadingNumber("3abc"), 3);
  EXPECT_EQ(SetData::LeadingNumber(" -1.25x"), -1.25);
  EXPECT_EQ(SetData::LeadingNumber(".5"), 0.5);
  EXPECT_EQ(SetData::LeadingNumber("1e3"), 1);
  EXPECT_EQ(SetData::LeadingNumber("x3"), 0);
  EXPECT_EQ(SetData::LeadingNumber(QString(400, u'9')), 0);
}

TEST_F(SetDataTest, PlacedAtLowerRightOfTheMainWindow) {
  dlg.ToolChosen(8);
  const QRect m = main.frameGeometry();
  const QRect d = dlg.frameGeometry();
  EXPECT_EQ(d.x() + d.width(), m.x() + m.width() - 1);
  EXPECT_EQ(d.y() + d.height(), m.y() + m.height() - 44);
  // Moving the window by hand is kept while it stays open.
  dlg.move(10, 10);
  dlg.ToolChosen(11);
  EXPECT_EQ(dlg.pos(), QPoint(10, 10));
}

}  // namespace
