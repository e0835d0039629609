// 打印预览 through the real preview window: at "fit page" a line of one picture pixel shows along
// its whole length, as it prints.
#include <gtest/gtest.h>

#include <QGraphicsView>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTimer>

#include "support/WindowDriver.h"

namespace {

// What the preview shows of its page once it has settled: the page's white area, cut out of its
// view.
QImage PreviewedPage(WindowDriver& d) {
  QImage page;
  QObject watching;  // no look outlives this one
  std::function<void()> look = [&] {
    auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
    if (!dialog) return QTimer::singleShot(10, &watching, look);
    QTest::qWait(400);  // shown, fitted, and drawn again for its scale
    auto* preview = dialog->findChild<QPrintPreviewWidget*>();
    auto* view = dialog->findChild<QGraphicsView*>();
    if (preview && view && preview->zoomMode() == QPrintPreviewWidget::FitInView) {
      const QImage shown = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
      // The page is the only pure white there (the view's background is grey, the page shadowed).
      QRect white;
      for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
          if ((shown.pixel(x, y) & 0xFFFFFFu) == 0xFFFFFFu) white |= QRect(x, y, 1, 1);
      page = shown.copy(white);
    }
    dialog->reject();
  };
  QTimer::singleShot(0, &watching, look);
  SetDialogSeam(nullptr);  // the real preview
  d.Trigger("Menu_File_PrintPreview");
  SetDialogSeam(&d.dialogs);
  return page;
}

}  // namespace

TEST(PrintPreview, AOnePixelLineShowsWithoutGapsAtFitPage) {
  struct Case {
    const char* what;
    QPoint from, to;
  };
  const Case cases[] = {
      {"across", {20, 111}, {580, 111}},
      {"down", {301, 10}, {301, 210}},
      {"at a slant", {20, 20}, {580, 199}},
  };
  for (const Case& c : cases) {
    WindowDriver d;
    d.ClickTool(6);  // a straight line, 1 pixel wide
    d.Drag(c.from, c.to);
    const QImage page = PreviewedPage(d); page.save(QString("/tmp/frx/page-%1.png").arg(c.from.x()));
    ASSERT_FALSE(page.isNull()) << c.what << ": no preview at fit page";
    ASSERT_LT(page.height(), 1100) << "the page is shown reduced";
    QRect ink;
    for (int y = 0; y < page.height(); ++y)
      for (int x = 0; x < page.width(); ++x)
        if (qGray(page.pixel(x, y)) < 235) ink |= QRect(x, y, 1, 1);
    ASSERT_FALSE(ink.isEmpty()) << c.what << ": the line does not show";
    // Along the line's longer way, every row or column of the screen has some of it.
    const bool rows = c.from.x() == c.to.x();
    const int from = rows ? ink.top() : ink.left(), to = rows ? ink.bottom() : ink.right();
    // A page of paper is some 800 to 820 pixels wide at 96 dpi.
    const int length = rows ? c.to.y() - c.from.y() : c.to.x() - c.from.x();
    EXPECT_GT(to - from, length * page.width() / 900) << c.what << ": the line is cut short";
    int gaps = 0;
    for (int i = from; i <= to; ++i) {
      bool inked = false;
      for (int j = rows ? ink.left() : ink.top(); j <= (rows ? ink.right() : ink.bottom()) && !inked; ++j)
        inked = qGray(rows ? page.pixel(j, i) : page.pixel(i, j)) < 235;
      gaps += !inked;
    }
    EXPECT_EQ(gaps, 0) << c.what;
  }
}
