// The commands' keys: each runs its command's action only while the command is offered, never
// while a text box has the focus or a mouse button is held; a command on the picture first stamps
// a text on show.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <functional>
#include <tuple>

#include "document/PictureFiles.h"
#include "support/WindowDriver.h"

namespace {

void Figure(WindowDriver& d) {
  d.ClickTool(7);
  d.Drag({40, 30}, {120, 90});
}

// Puts the window where the command of `row` is offered.
void Offer(WindowDriver& d, const CommandRow& row) {
  switch (row.availability) {
    case Availability::Selection:
      d.ClickTool(1);
      d.Drag({30, 20}, {90, 70});
      break;
    case Availability::Undo:
      Figure(d);
      break;
    case Availability::Redo:
      Figure(d);
      d.Trigger("Menu_Edit_Undo");
      break;
    case Availability::ClipboardPicture:
      QGuiApplication::clipboard()->setImage(QImage(8, 8, QImage::Format_RGB32));
      break;
    case Availability::Enlarged:
      d.Trigger("Menu_View_ZoomIn");
      break;
    case Availability::Enlargeable:
    case Availability::Always:
      break;
  }
}

void TypeKey(QWidget* target, const QKeySequence& key) {
  QTest::keyClick(target, key[0].key(), key[0].keyboardModifiers());
}

struct Counter {
  int triggered = 0;
  explicit Counter(QAction* a) { QObject::connect(a, &QAction::triggered, [this] { ++triggered; }); }
};

}  // namespace

TEST(Shortcuts, EachKeyRunsItsCommandOnlyWhileItIsOfferedAndNoTextBoxHasTheFocus) {
  int rows = 0;
  for (const CommandRow& row : CommandTable()) {
    for (const QKeySequence& key : row.keys) {
      if (key.isEmpty()) continue;
      ++rows;
      // Appended, not chained with +: GCC 12 at -O3 warns falsely (-Wrestrict) on such a chain.
      std::string what = row.objectName;
      what.append(" ").append(key.toString().toStdString());
      QGuiApplication::clipboard()->clear();
      WindowDriver d;
      d.w().activateWindow();
      d.Surface()->setFocus();
      QApplication::processEvents();
      Counter count(d.w().Action(row.id));
      if (row.availability != Availability::Always && row.availability != Availability::Enlargeable) {
        TypeKey(d.Surface(), key);
        EXPECT_EQ(count.triggered, 0) << what << ": not offered";
        Offer(d, row);
        d.Surface()->setFocus();
      }
      ASSERT_TRUE(d.Enabled(row.objectName)) << what;
      // In a text box of a tool window the key is the box's own.
      d.ClickTool(3);
      d.Press({300, 150});
      d.Release({300, 150});
      auto* box = d.Find<QComboBox>("Txt");
      box->window()->activateWindow();
      box->setFocus();
      QApplication::processEvents();
      if (QApplication::focusWidget() == box || QApplication::focusWidget() == box->lineEdit()) {
        TypeKey(QApplication::focusWidget(), key);
        EXPECT_EQ(count.triggered, 0) << what << ": in the text box";
      } else {
        ADD_FAILURE() << "the text box did not take the focus: "
                      << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none");
      }
      d.w().activateWindow();
      d.Surface()->setFocus();
      QApplication::processEvents();
      if (row.availability == Availability::Selection) Offer(d, row);  // the text click dropped it
      TypeKey(d.Surface(), key);
      EXPECT_EQ(count.triggered, 1) << what << ": offered";
    }
  }
  EXPECT_EQ(rows, 26);
}

TEST(Shortcuts, NoCommandRunsWhileAButtonIsHeld) {
  WindowDriver d;
  Figure(d);
  d.Surface()->setFocus();
  d.Press({200, 100});
  d.Move({260, 150});
  const QImage preview = d.Image();
  TypeKey(d.Surface(), QKeySequence("Ctrl+Z"));
  TypeKey(d.Surface(), QKeySequence("L"));  // the tool of the drag stays
  d.Trigger("Menu_Edit_Undo");
  d.Trigger("Menu_Edit_SelectAll");
  EXPECT_EQ(d.Image(), preview);
  EXPECT_FALSE(d.Selection().Visible());
  EXPECT_EQ(d.State().ToolId, ToolId::Rectangle);
  d.Release({260, 150});
  EXPECT_TRUE(d.Enabled("Menu_Edit_Undo"));
}

TEST(Shortcuts, DeleteWithNothingSelectedChangesNothing) {
  WindowDriver d;
  d.Surface()->setFocus();
  for (int key : {Qt::Key_Delete, Qt::Key_Backspace}) {
    QTest::keyClick(d.Surface(), Qt::Key(key));
    EXPECT_FALSE(d.Enabled("Menu_Edit_Undo")) << key;
    EXPECT_FALSE(d.State().ImageChanged) << key;
  }
}

TEST(Shortcuts, ACommandOnThePictureFirstStampsTheTextOnShow) {
  QTemporaryDir dir;
  WindowDriver d;
  d.ClickTool(3);
  d.Press({40, 40});
  d.Release({40, 40});
  d.Find<QComboBox>("Txt")->setEditText(QStringLiteral("F"));
  const QImage preview = d.Image();
  d.dialogs.saveNames = {dir.filePath("label.png")};
  d.w().activateWindow();
  d.Surface()->setFocus();
  QApplication::processEvents();
  TypeKey(d.Surface(), QKeySequence("Ctrl+S"));
  EXPECT_FALSE(d.Find<QWidget>("TypeTxt")->isVisible());
  const PictureRead saved = ReadPictureFile(dir.filePath("label.png"));
  ASSERT_TRUE(saved.ok());
  EXPECT_EQ(saved.image, preview.convertToFormat(QImage::Format_RGB32)) << "the text is in the file";
  // The stamp is work that undo takes away like 确定's.
  d.Trigger("Menu_Edit_Undo");
  EXPECT_NE(d.Image(), preview);
}

TEST(Shortcuts, SelectAllSelectsTheWholePictureAsADragWould) {
  WindowDriver d;
  Figure(d);
  QGuiApplication::clipboard()->clear();
  d.Surface()->setFocus();
  TypeKey(d.Surface(), QKeySequence("Ctrl+A"));
  ASSERT_TRUE(d.Selection().Visible());
  EXPECT_EQ(d.Selection().FrameRect(), QRect(0, 0, 600, 220));
  EXPECT_EQ(d.View().History.Img_Copy.image, d.Image()) << "the selection tool's backing copy";
  TypeKey(d.Surface(), QKeySequence("Ctrl+C"));
  EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), d.Image());
}

// T, L and A choose their tools on whatever palette the user works: on 常用图形 the tool's button
// shows pressed; elsewhere the palette stays with every button released and the hint under it
// names the tool, and a palette button chooses its own tool as before.
TEST(Shortcuts, LabelToolKeysKeepThePaletteInUse) {
  WindowDriver d;
  QLabel* hint = d.Find<QLabel>("ToolHint");
  d.Surface()->setFocus();
  TypeKey(d.Surface(), QKeySequence("Ctrl+3"));
  d.ClickTool(28);  // 凸透镜实物
  d.Drag({100, 40}, {140, 180});
  const std::tuple<const char*, ToolId, const char*> keys[] = {
      {"L", ToolId::StraightLine, "工具：直线"}, {"A", ToolId::Arrow, "工具：箭头"}, {"T", ToolId::Text, "工具：文字"}};
  for (const auto& [key, tool, named] : keys) {
    for (int twice = 0; twice < 2; ++twice) {  // a second press keeps the tool
      TypeKey(d.Surface(), QKeySequence(key));
      EXPECT_EQ(d.State().ToolId, tool) << key;
      EXPECT_EQ(d.State().PaletteIndex, 2) << key;
      EXPECT_TRUE(d.Action("Menu_View_fh")->isChecked()) << key;
      for (int b = 1; b <= 50; ++b) EXPECT_FALSE(d.ToolButton(b)->isChecked()) << key << " " << b;
      EXPECT_EQ(hint->text(), QString::fromUtf8(named)) << key;
    }
  }
  // The axis with the key, then the lens button where it was.
  TypeKey(d.Surface(), QKeySequence("L"));
  const QImage lens = d.Image();
  d.Drag({20, 110}, {580, 110});
  EXPECT_NE(d.Image(), lens) << "the line tool draws";
  EXPECT_EQ(d.Pixel(300, 110), qRgb(0, 0, 0));
  d.ClickTool(28);
  EXPECT_EQ(ToolNumber(d.State().ToolId), 128);
  EXPECT_TRUE(d.ToolButton(28)->isChecked());
  EXPECT_TRUE(hint->text().isEmpty());
  // On 常用图形 the key's tool is its pressed button; a palette switch leaves no tool.
  TypeKey(d.Surface(), QKeySequence("Ctrl+1"));
  TypeKey(d.Surface(), QKeySequence("L"));
  EXPECT_EQ(d.State().ToolId, ToolId::StraightLine);
  EXPECT_TRUE(d.ToolButton(6)->isChecked());
  EXPECT_TRUE(hint->text().isEmpty());
  TypeKey(d.Surface(), QKeySequence("Ctrl+2"));
  EXPECT_EQ(d.State().PaletteIndex, 1);
  EXPECT_EQ(d.State().ToolId, ToolId::None);
  EXPECT_FALSE(d.ToolButton(6)->isChecked());
}
