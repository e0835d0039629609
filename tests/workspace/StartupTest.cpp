// The main window right after start-up: caption, picture, menus, toolbar, palette, commands.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "support/WindowDriver.h"
#include "workspace/ToolCatalogue.h"

namespace {

QStringList MenuCaptions(QMenu* menu) {
  QStringList out;
  for (QAction* a : menu->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return out;
}

QWidget* ToolbarButton(ImageDraw& w, QAction* a) { return w.Tbar->widgetForAction(a); }

}  // namespace

TEST(Startup, PictureCaptionAndNoTool) {
  WindowDriver d;
  ImageDraw& w = d.w();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("※Quillmere※"));
  EXPECT_FALSE(w.windowIcon().isNull());
  ASSERT_EQ(w.Picture.Size(), QSize(600, 220));
  EXPECT_EQ(w.Draw_PIC->size(), QSize(600, 220));
  const QImage img = d.Image();
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) ASSERT_EQ(img.pixel(x, y) | 0xff000000u, kWhite) << x << "," << y;
  EXPECT_EQ(w.State.ToolId, 0);
  EXPECT_EQ(w.State.PaletteIndex, 0);
  EXPECT_FALSE(w.State.ImageChanged);
  for (QToolButton* b : w.Tools) EXPECT_FALSE(b->isChecked());
  EXPECT_TRUE(w.LStay[3]->isChecked());
  EXPECT_TRUE(w.FStay[1]->isChecked());
  EXPECT_EQ(w.Picture.DrawStyle, 0);
  EXPECT_EQ(w.Picture.DrawWidth, 1);
  EXPECT_EQ(w.Picture.FillStyle, 1);
  EXPECT_TRUE(w.DxLb->text().isEmpty());
  EXPECT_TRUE(w.DyLb->text().isEmpty());
  EXPECT_FALSE(w.SelectIMG->isVisible());
}

TEST(Startup, MenuTreeCaptionsSeparatorsAndShortcuts) {
  WindowDriver d;
  ImageDraw& w = d.w();
  QStringList titles;
  QList<QMenu*> menus;
  for (QAction* a : w.menuBar()->actions()) {
    titles << a->text();
    menus << a->menu();
  }
  EXPECT_EQ(titles, (QStringList{"文件(&F)", "编辑(&E)", "旋转", "设置(&S)", "作图(&V)", "帮助(&H)"}));
  ASSERT_EQ(menus.size(), 6);
  EXPECT_EQ(MenuCaptions(menus[0]), (QStringList{"新建图像", "打开文件", "保存图像", "-", "退出"}));
  EXPECT_EQ(MenuCaptions(menus[1]), (QStringList{"取消", "重复", "-", "复制", "剪切", "粘贴", "删除"}));
  EXPECT_EQ(MenuCaptions(menus[2]),
            (QStringList{"水平翻转", "竖直翻转", "-", "顺时针转30度", "顺时针转45度", "顺时针转60度",
                         "顺时针转90度", "-", "逆时针转30度", "逆时针转45度", "逆时针转60度", "逆时针转90度", "-",
                         "顺时针微调1度", "逆时针微调1度"}));
  EXPECT_EQ(MenuCaptions(menus[3]), (QStringList{"辅助线", "背景底纹", "-", "字体", "前景色"}));
  EXPECT_EQ(MenuCaptions(menus[4]), (QStringList{"常用图形", "-", "电场磁场", "立体几何", "综合图形"}));
  EXPECT_EQ(MenuCaptions(menus[5]), (QStringList{"软件说明", "-", "检查更新", "与我联系", "给我留言", "-", "关于"}));
  EXPECT_EQ(w.Menu_Edit_Copy->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
  EXPECT_EQ(w.Menu_Edit_Paster->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_V));
  EXPECT_EQ(w.Menu_Edit_Del->shortcut(), QKeySequence(Qt::Key_Delete));
  EXPECT_TRUE(w.Menu_Edit_Undo->shortcut().isEmpty());
  EXPECT_TRUE(w.Menu_View_cy->isChecked());
  EXPECT_EQ(MenuCaptions(w.PM), (QStringList{"复制", "剪切", "删除", "-", "取消"}));
  // Every menu entry is named after its place in the menu.
  EXPECT_EQ(w.Menu_Rot_Nss->objectName(), "Menu_Rot_Nss");
  EXPECT_EQ(w.findChild<QAction*>("Menu_Edit_Paster"), w.Menu_Edit_Paster);
}

TEST(Startup, ToolbarItemsCaptionsAndImages) {
  WindowDriver d;
  ImageDraw& w = d.w();
  QStringList items;
  for (QAction* a : w.Tbar->actions()) items << (a->isSeparator() ? QStringLiteral("|") : a->iconText());
  EXPECT_EQ(items, (QStringList{"|", "新建", "打开", "保存", "|", "取消", "重复", "复制", "粘贴", "删除", "|",
                                "平翻", "竖翻", "顺转", "逆转", "|", "辅助", "底纹", "颜色", "|", "常用", "电磁",
                                "立几", "综合"}));
  for (QAction* a : w.Tbar->actions())
    if (!a->isSeparator()) {
      EXPECT_FALSE(a->icon().isNull()) << a->iconText().toStdString();
    }
  // The toolbar's buttons are the menu's commands.
  EXPECT_EQ(w.Tbar->actions()[13], w.Menu_Rot_S);
  EXPECT_TRUE(ToolbarButton(w, w.Menu_View_cy)->property("checked").toBool());
}

TEST(Startup, EditFlipAndRotateCommandsStartDisabledOnMenuAndToolbar) {
  WindowDriver d;
  ImageDraw& w = d.w();
  for (QAction* a : {w.Menu_Edit_Undo, w.Menu_Edit_Redo, w.Menu_Edit_Copy, w.Menu_Edit_Cut, w.Menu_Edit_Paster,
                     w.Menu_Edit_Del, w.Menu_Rot_Sp, w.Menu_Rot_Sz, w.Menu_Rot_Nss, w.Menu_Rot_Nsw, w.Menu_Rot_Nsl,
                     w.Menu_Rot_Njs, w.Menu_Rot_Nls, w.Menu_Rot_Nlw, w.Menu_Rot_Nll, w.Menu_Rot_Nlj, w.Menu_Rot_S,
                     w.Menu_Rot_Z}) {
    EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    if (QWidget* b = ToolbarButton(w, a)) {
      EXPECT_FALSE(b->isEnabled()) << a->objectName().toStdString();
    }
  }
  for (QAction* a : {w.Menu_File_New, w.Menu_File_Open, w.Menu_File_Save, w.Menu_Tools_Line, w.Menu_Tools_BGLine,
                     w.Menu_Tools_Forcolor, w.Menu_View_cy, w.Menu_View_xz, w.Menu_View_fh, w.Menu_View_hs}) {
    EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(ToolbarButton(w, a)->isEnabled()) << a->objectName().toStdString();
  }
}

TEST(Startup, PaletteShowsPaletteZeroWithTooltipsAndPanels) {
  WindowDriver d;
  ImageDraw& w = d.w();
  EXPECT_EQ(w.Tools[0]->toolTip(), QStringLiteral("选取范围以便复制、删除、旋转或移动"));
  EXPECT_EQ(w.Tools[6]->toolTip(), QStringLiteral("画矩形"));
  EXPECT_EQ(w.Tools[23]->toolTip(), QStringLiteral("填充闭合图形，填充模式可选"));
  EXPECT_TRUE(w.Tools[22]->toolTip().isEmpty());
  for (QToolButton* b : w.Tools) EXPECT_FALSE(b->icon().isNull());
  EXPECT_EQ(w.Draw_PIC->toolTip(), QStringLiteral("选取作图功能并设定颜色、线型及填充模式后在此按下鼠标左键拖动作图"));
  EXPECT_EQ(w.SelectIMG->toolTip(), QStringLiteral("鼠标左键按住可移动，也可用键盘上下左右键操作"));
  QStringList labels;
  for (QLabel* l : w.SETsty->findChildren<QLabel*>()) labels << l->text();
  for (const char* caption : {"设定线型", "设定闭合图形填充模式", "△X:", "△Y:"})
    EXPECT_TRUE(labels.contains(QString::fromUtf8(caption))) << caption;
}

TEST(Startup, PressingWithNoToolDrawsNothing) {
  WindowDriver d;
  const QImage before = d.Image();
  d.Drag({10, 10}, {100, 80});
  EXPECT_EQ(d.Image(), before);
  EXPECT_FALSE(d.w().State.ImageChanged);
  EXPECT_FALSE(d.w().Menu_Edit_Undo->isEnabled());
}

TEST(Startup, ToolbarDispatchesByCaption) {
  WindowDriver d;
  ImageDraw& w = d.w();
  w.RunToolbarCommand(QStringLiteral("电磁"));
  EXPECT_EQ(w.State.PaletteIndex, 1);
  EXPECT_TRUE(w.Menu_View_xz->isChecked());
  w.RunToolbarCommand(QStringLiteral("辅助"));
  EXPECT_TRUE(w.Menu_Tools_Line->isChecked());
  w.RunToolbarCommand(QStringLiteral("没有这个命令"));  // matches nothing: nothing happens
  EXPECT_EQ(w.State.PaletteIndex, 1);
}
