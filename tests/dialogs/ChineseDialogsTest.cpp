// The real dialogs behind the seam, shown as the program shows them, read while they are open:
// Qt's own buttons and dialogs speak Chinese.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "dialogs/DialogSeam.h"

namespace {

// Runs `show`, which opens a modal dialog and waits for it. Once a `Dialog` is the active modal
// window, `answer` reads and answers it. Returns whether the dialog appeared; a dialog that has not
// appeared within 5 s is given up (whatever modal window there is gets closed).
template <class Dialog>
bool WhileOpen(const std::function<void()>& show, const std::function<void(Dialog*)>& answer) {
  bool seen = false;
  QElapsedTimer clock;
  clock.start();
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (dialog && dialog->isVisible()) {
      poll.stop();
      seen = true;
      answer(dialog);
    } else if (clock.elapsed() > 5000) {
      poll.stop();
      if (QWidget* other = QApplication::activeModalWidget()) other->close();
    }
  });
  poll.start();
  show();
  poll.stop();
  return seen;
}

QString Shown(QString text) { return text.remove(QLatin1Char('&')); }

// The texts of the visible push buttons of `dialog`, as shown (without mnemonic marks), sorted.
QStringList ButtonTexts(QWidget* dialog) {
  QStringList texts;
  for (QPushButton* b : dialog->findChildren<QPushButton*>())
    if (b->isVisible()) texts << Shown(b->text());
  texts.sort();
  return texts;
}

QPushButton* ButtonReading(QWidget* dialog, const QString& text) {
  for (QPushButton* b : dialog->findChildren<QPushButton*>())
    if (b->isVisible() && Shown(b->text()).startsWith(text)) return b;
  return nullptr;
}

void Click(QWidget* dialog, const QString& text) {
  QPushButton* b = ButtonReading(dialog, text);
  ASSERT_NE(b, nullptr) << "no button " << text.toStdString() << " among "
                        << ButtonTexts(dialog).join(' ').toStdString();
  QTest::mouseClick(b, Qt::LeftButton);
}

// Every text of `dialog` that the user reads: title, labels, button captions and tooltips; file
// names and filters (in lists and boxes) are left out. Those with a Latin word in them.
QStringList EnglishTexts(QWidget* dialog) {
  static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
  QStringList texts{dialog->windowTitle()};
  for (QLabel* l : dialog->findChildren<QLabel*>())
    if (l->isVisible()) texts << l->text();
  for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
    if (b->isVisible()) texts << b->text() << b->toolTip();
  QStringList english;
  for (const QString& t : texts)
    if (Shown(t).contains(word)) english << t;
  return english;
}

QStringList Sorted(QStringList texts) {
  texts.sort();
  return texts;
}

}  // namespace

TEST(ChineseDialogs, QuestionAndMessageBoxesSpeakChinese) {
  const auto yesNo = QMessageBox::Yes | QMessageBox::No;
  const auto yesNoCancel = yesNo | QMessageBox::Cancel;
  const struct {
    const char* what;
    QMessageBox::StandardButtons buttons;  // none: a message (Tell)
    QStringList shown;
    std::function<void(QMessageBox*)> answer;
    QMessageBox::StandardButton expected;
  } cases[] = {
      {"new-picture question, key N", yesNo, {"是", "否"}, [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_N); },
       QMessageBox::No},
      {"new-picture question, clicked 是", yesNo, {"是", "否"}, [](QMessageBox* b) { Click(b, "是"); },
       QMessageBox::Yes},
      {"close question, key Y", yesNoCancel, {"是", "否", "取消"},
       [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Y); }, QMessageBox::Yes},
      {"close question, clicked 取消", yesNoCancel, {"是", "否", "取消"}, [](QMessageBox* b) { Click(b, "取消"); },
       QMessageBox::Cancel},
      {"message, clicked 确定", {}, {"确定"}, [](QMessageBox* b) { Click(b, "确定"); }, QMessageBox::Ok},
  };
  SetDialogSeam(nullptr);  // the real dialogs
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QMessageBox::StandardButton result = QMessageBox::NoButton;
    QStringList shown;
    QString title, text;
    const bool appeared = WhileOpen<QMessageBox>(
        [&] {
          if (c.buttons) {
            result = Dialogs().Ask(nullptr, "是否保存改变", "图像已经改变，是否保存图像？", c.buttons);
          } else {
            Dialogs().Tell(nullptr, "保存图像", "图像没有保存。", true);
            result = QMessageBox::Ok;
          }
        },
        [&](QMessageBox* box) {
          shown = ButtonTexts(box);
          title = box->windowTitle();
          text = box->text();
          c.answer(box);
        });
    ASSERT_TRUE(appeared);
    EXPECT_EQ(shown, Sorted(c.shown));
    EXPECT_EQ(title, c.buttons ? "是否保存改变" : "保存图像");
    EXPECT_EQ(text, c.buttons ? "图像已经改变，是否保存图像？" : "图像没有保存。");
    EXPECT_EQ(result, c.expected);
  }
}

// A question with buttons of its own: the index of the button pressed, -1 when dismissed.
TEST(ChineseDialogs, AQuestionWithNamedButtonsAnswersWithTheButtonPressed) {
  const QStringList buttons{"继续保存", "改存 PNG", "取消"};
  const struct {
    const char* what;
    std::function<void(QMessageBox*)> answer;
    int expected;
  } cases[] = {
      {"clicked 改存 PNG", [](QMessageBox* b) { Click(b, "改存 PNG"); }, 1},
      {"clicked 取消", [](QMessageBox* b) { Click(b, "取消"); }, 2},
      {"Esc", [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); }, -1},
      {"closed", [](QMessageBox* b) { b->close(); }, -1},
  };
  SetDialogSeam(nullptr);  // the real dialogs
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    int result = -2;
    QStringList shown;
    const bool appeared = WhileOpen<QMessageBox>(
        [&] { result = Dialogs().Choose(nullptr, "保存图像", "位图文件不能保存高清细节。要保留，请存为 PNG。", buttons); },
        [&](QMessageBox* box) {
          shown = ButtonTexts(box);
          c.answer(box);
        });
    ASSERT_TRUE(appeared);
    EXPECT_EQ(shown, Sorted(buttons));
    EXPECT_EQ(result, c.expected);
  }
}

TEST(ChineseDialogs, ColourDialogSpeaksChinese) {
  SetDialogSeam(nullptr);
  for (const char* button : {"确定", "取消"}) {
    SCOPED_TRACE(button);
    std::optional<QColor> chosen;
    QStringList shown, english;
    bool qtOwn = false;
    ASSERT_TRUE(WhileOpen<QColorDialog>([&] { chosen = Dialogs().PickColor(nullptr, QColor(200, 40, 10)); },
                                        [&](QColorDialog* d) {
                                          shown = ButtonTexts(d);
                                          english = EnglishTexts(d);
                                          qtOwn = d->testOption(QColorDialog::DontUseNativeDialog);
                                          Click(d, button);
                                        }));
    EXPECT_TRUE(qtOwn) << "the desktop's colour dialog need not speak Chinese";
    EXPECT_TRUE(shown.contains("确定") && shown.contains("取消")) << shown.join(' ').toStdString();
    // "HTML" names the colour's notation (#c8280a) and is not translated.
    english.removeIf([](const QString& t) { return Shown(t).startsWith("HTML"); });
    EXPECT_TRUE(english.isEmpty()) << english.join(" | ").toStdString();
    if (QString(button) == "确定")
      EXPECT_EQ(chosen, QColor(200, 40, 10));
    else
      EXPECT_FALSE(chosen.has_value());
  }
}

// The open and save dialogs speak Chinese and are large enough to read their columns. The save
// dialog asks nothing about an existing file: the program asks about the final name itself.
TEST(ChineseDialogs, FileDialogsAndTheOverwriteQuestionSpeakChinese) {
  SetDialogSeam(nullptr);
  QTemporaryDir dir;
  const QString existing = dir.filePath("旧图.bmp");
  {
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BM");
  }
  const bool save[] = {false, true};
  for (const bool saving : save) {
    SCOPED_TRACE(saving ? "save" : "open");
    QString chosen = "not asked";
    QStringList shown, english;
    bool qtOwn = false;
    QSize size;
    const QString title = saving ? "“Quillmere”图像保存为：" : "打开";
    ASSERT_TRUE(WhileOpen<QFileDialog>(
        [&] {
          chosen = saving ? Dialogs().SaveFileName(nullptr, title, existing, "位图文件 (*.bmp)", nullptr)
                          : Dialogs().OpenFileName(nullptr, title, existing, "位图文件 (*.bmp);;Jpeg图像(*.jpg)");
        },
        [&](QFileDialog* d) {
          shown = ButtonTexts(d);
          english = EnglishTexts(d);
          english.removeAll(title);  // the program's own title names the program
          qtOwn = d->testOption(QFileDialog::DontUseNativeDialog);
          size = d->size();
          Click(d, saving ? "保存" : "取消");
        }));
    EXPECT_TRUE(qtOwn) << "the desktop's file dialog need not speak Chinese";
    EXPECT_EQ(shown, Sorted({saving ? "保存(S)" : "打开(O)", "取消"}));
    EXPECT_TRUE(english.isEmpty()) << english.join(" | ").toStdString();
    EXPECT_GE(size.width(), 800);
    EXPECT_GE(size.height(), 500);
    EXPECT_EQ(chosen, saving ? existing : QString()) << chosen.toStdString();
  }
}
