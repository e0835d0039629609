// 打印预览 through the real preview window: at "fit page" a line of one picture pixel shows along
// its whole length, as it prints.
#include <gtest/gtest.h>

#include <QGraphicsView>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTimer>
#include <algorithm>
#include <vector>

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
  const Case cases[] = {{"across", {20, 111}, {580, 111}}, {"down", {301, 10}, {301, 210}}, {"at a slant", {20, 20}, {580, 199}}};
  for (const Case& c : cases) {
    WindowDriver d;
    d.ClickTool(6);  // a straight line, 1 pixel wide
    d.Drag(c.from, c.to);
    const QImage page = PreviewedPage(d);
    ASSERT_FALSE(page.isNull()) << c.what << ": no preview at fit page";
    // Along the line's longer way (x, or y for the upright line), the screen lines that cross it.
    const bool down = c.from.x() == c.to.x();
    const auto inked = [&](int along, int across) {
      return qGray(down ? page.pixel(across, along) : page.pixel(along, across)) < 235;
    };
    const int length = down ? page.height() : page.width(), breadth = down ? page.width() : page.height();
    std::vector<bool> crossed(length);
    for (int i = 0; i < length; ++i)
      for (int j = 0; j < breadth && !crossed[i]; ++j) crossed[i] = inked(i, j);
    const auto first = std::find(crossed.begin(), crossed.end(), true), last = std::find(crossed.rbegin(), crossed.rend(), true).base();
    ASSERT_NE(first, crossed.end()) << c.what << ": the line does not show";
    // A page of paper is some 800 to 820 pixels wide at 96 dpi: the line spans its share of it...
    EXPECT_GT(last - first, (down ? c.to.y() - c.from.y() : c.to.x() - c.from.x()) * page.width() / 900) << c.what;
    // ... with no gap.
    EXPECT_EQ(std::count(first, last, false), 0) << c.what;
  }
}
