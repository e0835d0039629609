// The main window right after start-up: caption, picture, menus, toolbar, palette, commands.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QClipboard>
#include <QFile>
#include <QImageReader>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <cstdlib>

#include "resources/Images.h"
#include "support/WindowDriver.h"
#include "workspace/ToolCatalogue.h"

namespace {

QStringList MenuCaptions(QMenu* menu) {
  QStringList out;
  for (QAction* a : menu->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return out;
}

bool Checked(const WindowDriver& d, const char* button) { return d.Find<QAbstractButton>(button)->isChecked(); }

// The button on Tbar that shows `caption` (nullptr when none does).
QToolButton* ToolbarButtonCaptioned(const WindowDriver& d, const QString& caption) {
  for (QToolButton* b : d.Find<QToolBar>("Tbar")->findChildren<QToolButton*>())
    if (b->text() == caption) return b;
  return nullptr;
}

}  // namespace

TEST(Startup, PictureCaptionAndNoTool) {
  WindowDriver d;
  EXPECT_EQ(d.w().windowTitle(), QStringLiteral("※Quillmere※"));
  EXPECT_FALSE(d.w().windowIcon().isNull());
  ASSERT_EQ(d.Picture().Size(), QSize(600, 220));
  EXPECT_EQ(d.Surface()->size(), QSize(600, 220));
  const QImage img = d.Image();
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) ASSERT_EQ(img.pixel(x, y) | 0xff000000u, kWhite) << x << "," << y;
  EXPECT_EQ(d.State().ToolId, ToolId::None);
  EXPECT_EQ(d.State().PaletteIndex, 0);
  EXPECT_FALSE(d.State().ImageChanged);
  for (int b = 1; b <= 50; ++b) EXPECT_FALSE(d.ToolButton(b)->isChecked()) << b;
  EXPECT_TRUE(Checked(d, "LStay4"));
  EXPECT_TRUE(Checked(d, "FStay2"));
  EXPECT_EQ(d.Picture().DrawStyle, 0);
  EXPECT_EQ(d.Picture().DrawWidth, 1);
  EXPECT_EQ(d.Picture().FillStyle, 1);
  EXPECT_TRUE(d.Find<QLabel>("DxLb")->text().isEmpty());
  EXPECT_TRUE(d.Find<QLabel>("DyLb")->text().isEmpty());
  EXPECT_FALSE(d.Frame()->isVisible());
}

// The menus, the selection's pop-up and Tbar show the command table's rows: each menu its rows in
// table order with a separator where a row asks for one (not before a menu's first entry), each
// entry its caption, exactly its keys (not every key Qt's standard sequences add on X11) and its
// check mark; the pop-up its own rows; Tbar each menu's buttons as a group, the menu's own actions
// with their captions and pictures.
TEST(Startup, MenusPopupAndToolbarShowTheCommandTable) {
  WindowDriver d;
  QStringList titles;
  QList<QMenu*> menus;
  for (QAction* a : d.w().menuBar()->actions()) {
    titles << a->text();
    menus << a->menu();
  }
  EXPECT_EQ(titles, (QStringList{"文件(&F)", "编辑(&E)", "旋转", "设置(&S)", "作图(&V)", "帮助(&H)"}));
  QList<QStringList> expectedMenus;
  QStringList popup, toolbar;
  QList<QAction*> toolbarActions;
  CommandMenu menu = CommandMenu::None, group = CommandMenu::None;
  for (const CommandRow& row : CommandTable()) {
    const QString caption = QString::fromUtf8(row.caption);
    if (row.objectName) {
      if (expectedMenus.isEmpty() || row.menu != menu) expectedMenus.append(QStringList());
      else if (row.separatorBefore) expectedMenus.last() << "-";
      menu = row.menu;
      expectedMenus.last() << caption;
      QAction* a = d.Action(row.objectName);
      ASSERT_NE(a, nullptr) << row.objectName;
      QList<QKeySequence> keys;
      for (const QKeySequence& k : row.keys)
        if (!k.isEmpty()) keys << k;
      EXPECT_EQ(a->shortcuts(), keys) << row.objectName;
      EXPECT_EQ(a->isCheckable(), row.checkable) << row.objectName;
    }
    if (row.popupName) {
      if (row.separatorBefore && !popup.isEmpty()) popup << "-";
      popup << caption;
    }
    if (row.toolbarCaption) {
      if (row.menu != group) toolbar << "|";
      group = row.menu;
      toolbar << QString::fromUtf8(row.toolbarCaption);
      toolbarActions << d.Action(row.objectName);
      const QImage shown = d.Action(row.objectName)->icon().pixmap(24, 24).toImage();
      EXPECT_FALSE(shown.isNull()) << row.objectName;
      EXPECT_EQ(shown, ToolbarImage(row.toolbarPicture).pixmap(24, 24).toImage()) << row.objectName;
    }
  }
  ASSERT_EQ(menus.size(), expectedMenus.size());
  for (int i = 0; i < menus.size(); ++i) EXPECT_EQ(MenuCaptions(menus[i]), expectedMenus[i]) << titles[i].toStdString();
  EXPECT_EQ(MenuCaptions(d.Find<QMenu>("PM")), popup);
  QStringList items;
  QList<QAction*> buttons;
  for (QAction* a : d.Find<QToolBar>("Tbar")->actions()) {
    items << (a->isSeparator() ? QStringLiteral("|") : a->iconText());
    if (!a->isSeparator()) buttons << a;
  }
  EXPECT_EQ(items, toolbar);
  EXPECT_EQ(buttons, toolbarActions) << "the toolbar's buttons are the menu's commands";
  // Every menu entry is named after its place in the menu.
  EXPECT_EQ(menus[2]->actions()[3], d.Action("Menu_Rot_Nss"));
  EXPECT_EQ(menus[1]->actions()[6], d.Action("Menu_Edit_Paster"));
  EXPECT_TRUE(d.Action("Menu_View_cy")->isChecked());
  EXPECT_TRUE(d.ToolbarButton("Menu_View_cy")->property("checked").toBool());
}

TEST(Startup, EditFlipAndRotateCommandsStartDisabledOnMenuAndToolbar) {
  QGuiApplication::clipboard()->clear();
  WindowDriver d;
  // Undo, redo, paste (nothing on the clipboard here) and every command on a selection start off;
  // the others are always offered. Menu entry, toolbar button and pop-up entry agree.
  int off = 0;
  for (const CommandRow& row : CommandTable()) {
    if (!row.objectName) continue;
    const bool offered = row.availability == Availability::Always || row.availability == Availability::Enlargeable;
    off += !offered;
    EXPECT_EQ(d.Enabled(row.objectName), offered) << row.objectName;
  }
  EXPECT_GT(off, 0);
}

TEST(Startup, PaletteShowsPaletteZeroWithTooltipsAndPanels) {
  WindowDriver d;
  EXPECT_EQ(d.ToolButton(1)->toolTip(), QStringLiteral("选取范围以便复制、删除、旋转或移动"));
  EXPECT_EQ(d.ToolButton(7)->toolTip(), QStringLiteral("画矩形"));
  EXPECT_EQ(d.ToolButton(24)->toolTip(), QStringLiteral("填充闭合图形，填充模式可选"));
  EXPECT_TRUE(d.ToolButton(23)->toolTip().isEmpty());
  for (int b = 1; b <= 50; ++b) EXPECT_FALSE(d.ToolButton(b)->icon().isNull()) << b;
  EXPECT_EQ(d.Surface()->toolTip(), QStringLiteral("选取作图功能并设定颜色、线型及填充模式后在此按下鼠标左键拖动作图"));
  EXPECT_EQ(d.Frame()->toolTip(), QStringLiteral("鼠标左键按住可移动，也可用键盘上下左右键操作"));
  QStringList labels;
  for (QLabel* l : d.Find<QWidget>("SETsty")->findChildren<QLabel*>()) labels << l->text();
  for (const char* caption : {"设定线型", "设定闭合图形填充模式", "△X:", "△Y:"})
    EXPECT_TRUE(labels.contains(QString::fromUtf8(caption))) << caption;
}

TEST(Startup, PressingWithNoToolDrawsNothing) {
  WindowDriver d;
  const QImage before = d.Image();
  d.Drag({10, 10}, {100, 80});
  EXPECT_EQ(d.Image(), before);
  EXPECT_FALSE(d.State().ImageChanged);
  EXPECT_FALSE(d.Action("Menu_Edit_Undo")->isEnabled());
}

TEST(Startup, ToolbarButtonsRunTheCommandOfTheirCaption) {
  WindowDriver d;
  QTest::mouseClick(ToolbarButtonCaptioned(d, QStringLiteral("电磁")), Qt::LeftButton);
  EXPECT_EQ(d.State().PaletteIndex, 1);
  EXPECT_TRUE(d.Action("Menu_View_xz")->isChecked());
  QTest::mouseClick(ToolbarButtonCaptioned(d, QStringLiteral("辅助")), Qt::LeftButton);
  EXPECT_TRUE(d.Action("Menu_Tools_Line")->isChecked());
  // A caption no button shows: there is nothing to run.
  EXPECT_EQ(ToolbarButtonCaptioned(d, QStringLiteral("没有这个命令")), nullptr);
  EXPECT_EQ(d.State().PaletteIndex, 1);
}

// A fresh program shows its window without loading any image format plugin (reading one image
// file through Qt loads them all, for milliseconds and megabytes): not when it is built, not for
// its first paint, not with the menu bar and the toolbar too narrow for their items (whose
// overflow buttons then show their arrows). The windows made when first opened stay unmade.
TEST(Startup, NoImageFormatPluginIsLoadedForTheFirstPaint) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // the child starts afresh, as the program does
  EXPECT_EXIT(
      {
        const auto pluginsMapped = [] {
          QFile maps(QStringLiteral("/proc/self/maps"));
          return maps.open(QIODevice::ReadOnly) ? maps.readAll().count("/imageformats/") : -1;
        };
        WindowDriver d;
        d.w().resize(360, d.w().height());
        QApplication::processEvents();
        d.w().grab();
        const bool overflowing = d.Find<QToolBar>("Tbar")->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"))->isVisible();
        const bool unmade = !d.w().findChild<QWidget*>(QStringLiteral("Txt")) && !d.w().findChild<QWidget*>(QStringLiteral("FColor0"));
        const qsizetype atStart = pluginsMapped();
        QImageReader::supportedImageFormats();  // loads them: the count above would have seen them
        std::_Exit(!overflowing ? 5 : !unmade ? 4 : atStart != 0 ? 1 : pluginsMapped() > 0 ? 0 : 2);
      },
      ::testing::ExitedWithCode(0), "");
}
