#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include "dialogs/DialogSeam.h"
#include "dialogs/FontWindow.h"
#include "support/Controls.h"

namespace {

QFont StartFont() {
  QFont f(QStringLiteral("WenQuanYi Micro Hei"));
  f.setPointSizeF(10);
  f.setStyleStrategy(QFont::NoAntialias);
  return f;
}

// Answers the next modal window with OK (after setting it up) or Cancel, from the event loop.
void AnswerModal(bool ok, std::function<void(FontWindow&)> fill = {}) {
  QTimer::singleShot(0, [ok, fill] {
    auto* w = qobject_cast<FontWindow*>(QApplication::activeModalWidget());
    ASSERT_NE(w, nullptr);
    if (fill) fill(*w);
    if (ok) {
      w->accept();
    } else {
      w->reject();
    }
  });
}

TEST(FontWindowTest, StartsFromTheGivenFontAndColour) {
  QFont f = StartFont();
  f.setBold(true);
  FontWindow w(nullptr, f, qRgb(255, 0, 0));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("字体"));
  EXPECT_TRUE(Child<QCheckBox>(&w, "Bold")->isChecked());
  EXPECT_FALSE(Child<QCheckBox>(&w, "Italic")->isChecked());
  EXPECT_EQ(Child<QComboBox>(&w, "SizeBox")->currentText(), "10");
  EXPECT_EQ(Child<QComboBox>(&w, "ColorBox")->count(), 16);
  EXPECT_EQ(w.ChosenColor(), qRgb(255, 0, 0));
  EXPECT_EQ(Child<QComboBox>(&w, "ColorBox")->currentText(), QStringLiteral("红色"));
  ASSERT_NE(Child<QListWidget>(&w, "FamilyList")->currentItem(), nullptr);
  EXPECT_EQ(Child<QListWidget>(&w, "FamilyList")->currentItem()->text(), f.family());

  // A colour outside the sixteen stays on offer unchanged.
  FontWindow other(nullptr, f, qRgb(192, 64, 0));
  EXPECT_EQ(Child<QComboBox>(&other, "ColorBox")->count(), 17);
  EXPECT_EQ(other.ChosenColor(), qRgb(192, 64, 0));
}

TEST(FontWindowTest, CancelChangesNothing) {
  QFont f = StartFont();
  QRgb c = qRgb(0, 0, 128);
  AnswerModal(false, [](FontWindow& w) {
    Child<QCheckBox>(&w, "Bold")->setChecked(true);
    Child<QComboBox>(&w, "SizeBox")->setEditText("30");
    Child<QComboBox>(&w, "ColorBox")->setCurrentIndex(9);
  });
  EXPECT_FALSE(FontWindow::Choose(nullptr, f, c));
  EXPECT_EQ(f, StartFont());
  EXPECT_EQ(c, qRgb(0, 0, 128));
}

TEST(FontWindowTest, OkTakesOverEverythingButStrikeThrough) {
  const QStringList families = QFontDatabase::families();
  ASSERT_GE(families.size(), 2);
  const QString target = families.first() == StartFont().family() ? families[1] : families.first();
  QFont f = StartFont();
  QRgb c = qRgb(0, 0, 0);
  AnswerModal(true, [&](FontWindow& w) {
    Child<QLineEdit>(&w, "Filter")->setText(target);
    const auto items = Child<QListWidget>(&w, "FamilyList")->findItems(target, Qt::MatchExactly);
    ASSERT_FALSE(items.isEmpty());
    Child<QListWidget>(&w, "FamilyList")->setCurrentItem(items.first());
    Child<QComboBox>(&w, "SizeBox")->setEditText("24");
    Child<QCheckBox>(&w, "Bold")->setChecked(true);
    Child<QCheckBox>(&w, "Italic")->setChecked(true);
    Child<QCheckBox>(&w, "Underline")->setChecked(true);
    Child<QCheckBox>(&w, "StrikeOut")->setChecked(true);
    Child<QComboBox>(&w, "ColorBox")->setCurrentIndex(9);  // red
  });
  ASSERT_TRUE(FontWindow::Choose(nullptr, f, c));
  EXPECT_EQ(f.family(), target);
  EXPECT_EQ(f.pointSizeF(), 24);
  EXPECT_TRUE(f.bold());
  EXPECT_TRUE(f.italic());
  EXPECT_TRUE(f.underline());
  EXPECT_FALSE(f.strikeOut());
  EXPECT_EQ(f.styleStrategy(), QFont::NoAntialias);  // the rest of the font stays
  EXPECT_EQ(c, qRgb(255, 0, 0));
}

TEST(FontWindowTest, SizeIsLimited) {
  struct Case {
    const char* typed;
    double size;
  };
  const Case cases[] = {{"12", 12}, {"10.5", 10.5}, {"0", 10}, {"abc", 10}, {"-4", 10},
                        {"0.5", 1},  {"100000", 500}, {"1e999", 1}, {"", 10}};
  FontWindow w(nullptr, StartFont(), qRgb(0, 0, 0));
  for (const Case& c : cases) {
    Child<QComboBox>(&w, "SizeBox")->setEditText(QString::fromLatin1(c.typed));
    EXPECT_EQ(w.ChosenSize(), c.size) << c.typed;
    EXPECT_EQ(w.ChosenFont(StartFont()).pointSizeF(), c.size) << c.typed;
  }
}

TEST(FontWindowTest, FilterNarrowsTheFamilies) {
  FontWindow w(nullptr, StartFont(), qRgb(0, 0, 0));
  Child<QLineEdit>(&w, "Filter")->setText("WenQuanYi");
  const QListWidget* families = Child<QListWidget>(&w, "FamilyList");
  int shown = 0;
  for (int i = 0; i < families->count(); ++i) {
    if (!families->item(i)->isHidden()) {
      ++shown;
      EXPECT_TRUE(families->item(i)->text().contains("WenQuanYi", Qt::CaseInsensitive));
    }
  }
  EXPECT_GE(shown, 1);
}

TEST(FontWindowTest, RealSeamRunsTheFontWindow) {
  AnswerModal(true, [](FontWindow& w) { Child<QCheckBox>(&w, "Italic")->setChecked(true); });
  auto result = Dialogs().PickFont(nullptr, StartFont(), qRgb(0, 128, 0));
  ASSERT_TRUE(result.has_value());
  EXPECT_TRUE(result->first.italic());
  EXPECT_EQ(result->second, qRgb(0, 128, 0));
  AnswerModal(false);
  EXPECT_FALSE(Dialogs().PickFont(nullptr, StartFont(), qRgb(0, 128, 0)).has_value());
}

}  // namespace
