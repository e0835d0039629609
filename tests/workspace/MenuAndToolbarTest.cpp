// The command toolbar cannot be lost, and the menu entries with a check mark show it.
// Qt Test's mouse events enter through the window, as the window system's do, so that a right
// click makes the context menu event the window system would make.
#define QTEST_QPA_MOUSE_HANDLING
#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "support/WindowDriver.h"

namespace {

// The captions of a pop-up menu's entries, to say what was offered.
QString Captions(QWidget* popup) {
  QStringList texts;
  for (QAction* a : popup->actions()) texts << a->text();
  return texts.join(' ');
}

}  // namespace

// A right click on the toolbar or the menu bar offers no pop-up menu (whose entry "工具栏" would
// hide the toolbar), and the toolbar stays.
TEST(MenuAndToolbar, RightClickOffersNoPopupThatHidesTheToolbar) {
  WindowDriver d;
  ImageDraw& w = d.w();
  QMenuBar* bar = w.menuBar();
  QToolBar* toolbar = d.Find<QToolBar>("Tbar");
  QWidget* newButton = d.ToolbarButton("Menu_File_New");
  ASSERT_NE(newButton, nullptr);
  const struct {
    const char* what;
    QWidget* widget;
    QPoint at;
  } places[] = {
      {"toolbar button 新建", newButton, newButton->rect().center()},
      {"toolbar, past its last button", toolbar, QPoint(toolbar->width() - 4, toolbar->height() / 2)},
      {"menu title 文件(F)", bar, bar->actionGeometry(bar->actions().first()).center()},
      {"menu bar, past its last title", bar, QPoint(bar->width() - 4, bar->height() / 2)},
  };
  for (const auto& p : places) {
    SCOPED_TRACE(p.what);
    QTest::mouseClick(p.widget, Qt::RightButton, Qt::NoModifier, p.at);
    QApplication::processEvents();
    QWidget* popup = QApplication::activePopupWidget();
    EXPECT_EQ(popup, nullptr) << "offered: " << (popup ? Captions(popup).toStdString() : "");
    if (popup) popup->close();
    EXPECT_TRUE(toolbar->isVisible());
  }
}

// Menu entries with a check mark (the four palettes, 辅助线, 背景底纹, 前景色) show the mark in
// the menu rather than their toolbar image: two unchecked entries look alike left of their captions
// (their images differ), and a checked entry shows its mark there.
TEST(MenuAndToolbar, CheckableEntriesShowTheirMarkNotAnImage) {
  WindowDriver d;
  ImageDraw& w = d.w();
  d.Trigger("Menu_Tools_Line");  // 辅助线 on
  const struct {
    QAction* checked;
    QAction* unchecked[2];
  } menus[] = {{d.Action("Menu_View_cy"), {d.Action("Menu_View_xz"), d.Action("Menu_View_fh")}},
               {d.Action("Menu_Tools_Line"), {d.Action("Menu_Tools_BGLine"), d.Action("Menu_Tools_Forcolor")}}};
  for (const auto& m : menus) {
    SCOPED_TRACE(m.checked->text().toStdString());
    ASSERT_TRUE(m.checked->isChecked());
    ASSERT_FALSE(m.unchecked[0]->isChecked() || m.unchecked[1]->isChecked());
    QMenu* menu = nullptr;
    for (QAction* title : w.menuBar()->actions())
      if (title->menu() && title->menu()->actions().contains(m.checked)) menu = title->menu();
    ASSERT_NE(menu, nullptr);
    menu->popup(w.mapToGlobal(QPoint(40, 40)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    const QImage shot = menu->grab().toImage();
    menu->close();
    // The column left of an entry's caption, where marks and images go.
    const auto markColumn = [&](QAction* a) {
      const QRect r = menu->actionGeometry(a);
      return shot.copy(r.left() + 1, r.top() + 1, std::min(r.height(), 26), r.height() - 2);
    };
    EXPECT_TRUE(markColumn(m.unchecked[0]) == markColumn(m.unchecked[1]))
        << "images beside " << m.unchecked[0]->text().toStdString() << " and " << m.unchecked[1]->text().toStdString();
    EXPECT_FALSE(markColumn(m.checked) == markColumn(m.unchecked[0])) << "no mark beside " << m.checked->text().toStdString();
  }
  // The same for every entry with a check mark, in every menu.
  for (QAction* title : w.menuBar()->actions()) {
    for (QAction* a : title->menu()->actions()) {
      if (a->isCheckable()) {
        EXPECT_FALSE(a->isIconVisibleInMenu()) << a->text().toStdString();
      }
    }
  }
}
