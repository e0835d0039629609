// The commands' keys: each runs its command's action only while the command is offered, never
// while a text box has the focus or a mouse button is held; a command on the picture first stamps
// a text on show.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <functional>

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
  d.Trigger("Menu_Edit_Undo");
  d.Trigger("Menu_Edit_SelectAll");
  EXPECT_EQ(d.Image(), preview);
  EXPECT_FALSE(d.Selection().Visible());
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
  d.dialogs.saveNames = {dir.filePath("label.bmp")};
  d.w().activateWindow();
  d.Surface()->setFocus();
  QApplication::processEvents();
  TypeKey(d.Surface(), QKeySequence("Ctrl+S"));
  EXPECT_FALSE(d.Find<QWidget>("TypeTxt")->isVisible());
  const PictureRead saved = ReadPictureFile(dir.filePath("label.bmp"));
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

TEST(Shortcuts, LabelToolKeysChooseTheirToolOnTheCommonPaletteAndKeepIt) {
  WindowDriver d;
  d.Surface()->setFocus();
  TypeKey(d.Surface(), QKeySequence("Ctrl+3"));
  EXPECT_EQ(d.State().PaletteIndex, 2);
  const std::pair<const char*, ToolId> keys[] = {{"L", ToolId::StraightLine}, {"A", ToolId::Arrow}, {"T", ToolId::Text}};
  for (const auto& [key, tool] : keys) {
    for (int twice = 0; twice < 2; ++twice) {  // a second press keeps the tool
      TypeKey(d.Surface(), QKeySequence(key));
      EXPECT_EQ(d.State().ToolId, tool) << key;
      EXPECT_EQ(d.State().PaletteIndex, 0) << key;
      EXPECT_TRUE(d.Action("Menu_View_cy")->isChecked()) << key;
      EXPECT_TRUE(d.ToolButton(int(tool))->isChecked()) << key;
    }
  }
  TypeKey(d.Surface(), QKeySequence("Ctrl+2"));
  EXPECT_EQ(d.State().PaletteIndex, 1);
  EXPECT_EQ(d.State().ToolId, ToolId::None);
}
