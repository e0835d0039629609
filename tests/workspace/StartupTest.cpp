// The main window right after start-up: caption, picture, menus, toolbar, palette, commands.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

#include "document/TiffTestFiles.h"
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

// The names of Qt's image plugins this process has loaded ("webp", "tiff", ...).
QStringList LoadedImagePlugins() {
  QFile maps(QStringLiteral("/proc/self/maps"));
  QStringList names;
  if (!maps.open(QIODevice::ReadOnly)) return {QStringLiteral("(no /proc/self/maps)")};
  const QRegularExpression plugin(QStringLiteral("/imageformats/libq([^/ ]+)\\.so"));
  for (const QByteArray& line : maps.readAll().split('\n'))
    if (const QRegularExpressionMatch m = plugin.match(QString::fromLocal8Bit(line)); m.hasMatch())
      if (!names.contains(m.captured(1))) names << m.captured(1);
  return names;
}

}  // namespace

// Qt's image plugins are loaded when the first picture of their kind is read, never at start-up:
// a process of its own starts the window, then opens a TIFF picture.
TEST(Startup, ImagePluginsLoadWhenAPictureOfTheirKindIsFirstRead) {
  if (qEnvironmentVariableIsSet("QM_PLUGIN_PROBE")) GTEST_SKIP() << "the probe itself runs below";
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QM_PLUGIN_PROBE", "1");
  env.remove("GTEST_FILTER");
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=Startup.ImagePluginProbe"});
  ASSERT_TRUE(child.waitForStarted(30000));
  ASSERT_TRUE(child.waitForFinished(300000));
  const QString out = QString::fromLocal8Bit(child.readAll());
  EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
  EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
  EXPECT_FALSE(out.contains("SKIPPED")) << out.toStdString();
}

TEST(Startup, ImagePluginProbe) {
  if (!qEnvironmentVariableIsSet("QM_PLUGIN_PROBE")) GTEST_SKIP() << "run in a process of its own by the test above";
  WindowDriver d;
  d.w().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d.w()));
  QApplication::processEvents();
  EXPECT_EQ(LoadedImagePlugins(), QStringList()) << "loaded at start-up";
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("scan.tif"));
  {
    picture_test::TiffPage page;
    page.width = 60;
    page.height = 60;
    page.sample = [](int x, int, int) { return quint32(x * 4); };
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(picture_test::MakeTiff({page})) > 0);
  }
  d.dialogs.openNames = {path};
  d.Trigger("Menu_File_Open");
  EXPECT_EQ(d.Picture().Size(), QSize(60, 60));
  EXPECT_EQ(LoadedImagePlugins(), QStringList{"tiff"}) << "loaded by opening a TIFF picture";
}

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

TEST(Startup, MenuTreeCaptionsSeparatorsAndShortcuts) {
  WindowDriver d;
  QStringList titles;
  QList<QMenu*> menus;
  for (QAction* a : d.w().menuBar()->actions()) {
    titles << a->text();
    menus << a->menu();
  }
  EXPECT_EQ(titles, (QStringList{"文件(&F)", "编辑(&E)", "旋转", "设置(&S)", "作图(&V)", "帮助(&H)"}));
  ASSERT_EQ(menus.size(), 6);
  EXPECT_EQ(MenuCaptions(menus[0]), (QStringList{"新建图像", "打开文件", "保存图像", "-", "导出高清图像…", "-", "打印…", "打印预览", "-", "退出"}));
  EXPECT_EQ(MenuCaptions(menus[1]), (QStringList{"取消", "重复", "-", "复制", "复制高清图", "剪切", "粘贴", "删除", "全选"}));
  EXPECT_EQ(MenuCaptions(menus[2]),
            (QStringList{"水平翻转", "竖直翻转", "-", "顺时针转30度", "顺时针转45度", "顺时针转60度",
                         "顺时针转90度", "-", "逆时针转30度", "逆时针转45度", "逆时针转60度", "逆时针转90度", "-",
                         "顺时针微调1度", "逆时针微调1度"}));
  EXPECT_EQ(MenuCaptions(menus[3]), (QStringList{"辅助线", "背景底纹", "-", "字体", "前景色"}));
  EXPECT_EQ(MenuCaptions(menus[4]),
            (QStringList{"常用图形", "-", "电场磁场", "立体几何", "综合图形", "-", "放大", "缩小", "实际大小", "-", "文字",
                         "直线", "箭头"}));
  EXPECT_EQ(MenuCaptions(menus[5]), (QStringList{"软件说明", "-", "检查更新", "与我联系", "给我留言", "-", "关于"}));
  // The standard keys, exactly these (not every key Qt's standard sequences add on X11).
  const std::pair<const char*, QList<QKeySequence>> keys[] = {
      {"Menu_File_New", {QKeySequence("Ctrl+N")}},     {"Menu_File_Open", {QKeySequence("Ctrl+O")}},
      {"Menu_File_Save", {QKeySequence("Ctrl+S")}},    {"Menu_File_Exit", {QKeySequence("Ctrl+Q")}},
      {"Menu_Edit_Undo", {QKeySequence("Ctrl+Z")}},
      {"Menu_Edit_Redo", {QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}},
      {"Menu_Edit_Cut", {QKeySequence("Ctrl+X")}},     {"Menu_Edit_Copy", {QKeySequence("Ctrl+C")}},
      {"Menu_Edit_Paster", {QKeySequence("Ctrl+V")}},  {"Menu_Edit_Del", {QKeySequence("Del")}},
      {"Menu_Edit_SelectAll", {QKeySequence("Ctrl+A")}}, {"Menu_Rot_Nss", {}}, {"Menu_Tools_Line", {}},
      {"Menu_View_cy", {QKeySequence("Ctrl+1")}},      {"Menu_View_hs", {QKeySequence("Ctrl+4")}},
      {"Menu_View_Text", {QKeySequence("T")}},         {"Menu_View_Line", {QKeySequence("L")}},
      {"Menu_View_Arrow", {QKeySequence("A")}},
      {"Menu_File_Export", {QKeySequence("Ctrl+Shift+E")}}, {"Menu_File_Print", {QKeySequence("Ctrl+P")}},
      {"Menu_File_PrintPreview", {}},                 {"Menu_Edit_CopyHd", {QKeySequence("Ctrl+Shift+C")}},
  };
  for (const auto& [name, expected] : keys) EXPECT_EQ(d.Action(name)->shortcuts(), expected) << name;
  EXPECT_TRUE(d.Action("Menu_View_cy")->isChecked());
  EXPECT_EQ(MenuCaptions(d.Find<QMenu>("PM")), (QStringList{"复制", "复制高清图", "剪切", "删除", "全选", "-", "取消"}));
  // Every menu entry is named after its place in the menu.
  EXPECT_EQ(menus[2]->actions()[3], d.Action("Menu_Rot_Nss"));
  EXPECT_EQ(menus[1]->actions()[6], d.Action("Menu_Edit_Paster"));
}

TEST(Startup, ToolbarItemsCaptionsAndImages) {
  WindowDriver d;
  const QList<QAction*> actions = d.Find<QToolBar>("Tbar")->actions();
  QStringList items;
  for (QAction* a : actions) items << (a->isSeparator() ? QStringLiteral("|") : a->iconText());
  EXPECT_EQ(items, (QStringList{"|", "新建", "打开", "保存", "|", "取消", "重复", "复制", "粘贴", "删除", "|",
                                "平翻", "竖翻", "顺转", "逆转", "|", "辅助", "底纹", "颜色", "|", "常用", "电磁",
                                "立几", "综合"}));
  for (QAction* a : actions)
    if (!a->isSeparator()) {
      EXPECT_FALSE(a->icon().isNull()) << a->iconText().toStdString();
    }
  // The toolbar's buttons are the menu's commands.
  EXPECT_EQ(actions[13], d.Action("Menu_Rot_S"));
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
  EXPECT_EQ(off, 20);
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
