// The zoom view: the view transform and the pointer rule against what the screen shows, every
// gesture at every zoom and device pixel ratio giving what it gives at 100 %, the zoom commands
// and the wheel keeping their point, no zoom during a drag, the pixel grid, the scroll bars and
// the handles at the zoomed edges.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <cmath>
#include <vector>

#include "support/WindowDriver.h"
#include "workspace/PictureView.h"

namespace {

// A picture whose pixels each have their own colour, every channel 0, 128 or 255, so that the
// pixel a screen pixel shows can be read back even under the light pixel grid.
QImage Numbered(int width, int height) {
  QImage picture(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int n = y * width + x;
      const int level[] = {0, 128, 255};
      picture.setPixel(x, y, qRgb(level[n % 3], level[n / 3 % 3], level[n / 9 % 3]));
    }
  return picture;
}
// The pixel index a shown colour stands for (the grid shades a channel by at most a quarter).
int NumberOf(QRgb shown) {
  auto level = [](int c) { return c < 90 ? 0 : c < 200 ? 1 : 2; };
  return level(qRed(shown)) + 3 * level(qGreen(shown)) + 9 * level(qBlue(shown));
}

QString ZoomLevel(const WindowDriver& d) { return d.Find<QLabel>("ZoomLb")->text(); }

// A wheel turn of `notches` over `under` at `at`, as the window system delivers it: to the widget
// under the pointer, then to its parents while they leave it.
void CtrlWheel(QWidget* under, QPointF at, int notches, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
  for (QWidget* w = under; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, mods,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
    if (e.isAccepted()) return;
    at += w->pos();
  }
}

// What a user can see of the session: the picture, the window's state, the selection's frame, the
// clipboard, and the picture after Undo.
struct Outcome {
  QImage picture;
  WorkspaceState state;
  QRect frame;
  QImage copied;
  QImage undone;
};

// One session of gestures; the points are picture pixels.
Outcome RunSession(int zoom, double ratio) {
  WindowDriver d;
  d.SetDevicePixelRatio(ratio);
  d.SetZoom(zoom);
  // Scrolled part of the way: where the view lies must not matter.
  for (const char* bar : {"HScr", "VScr"}) {
    QScrollBar* b = d.Find<QScrollBar>(bar);
    b->setValue(b->maximum() / 3);
  }
  d.ClickTool(7);  // rectangle
  d.Drag({12, 9}, {47, 31});
  d.ClickTool(24);  // flood fill: a click seeds it
  d.Press({20, 15});
  d.Release({20, 15});
  d.ClickTool(2);  // eraser
  d.Drag({30, 20}, {44, 28});
  d.ClickTool(9);  // ellipse, a slow drag ending off the picture's edge
  d.Drag({560, 150}, {605, 230}, 7);
  d.ClickTool(3);  // text
  d.Press({70, 12});
  d.Release({70, 12});
  d.Find<QComboBox>("Txt")->setEditText(QStringLiteral("F=ma"));
  d.Find<QPushButton>("Command1")->click();
  d.DragHandle("RLUD", -13, 9);
  d.ClickTool(1);  // selection, then a frame drag and two arrow keys
  d.Drag({8, 5}, {52, 35});
  d.FramePress({3, 2});
  d.FrameMove({6, 4});
  d.FrameMove({10, 6});
  d.FrameRelease({10, 6});
  QTest::keyClick(d.Surface(), Qt::Key_Right);
  QTest::keyClick(d.Surface(), Qt::Key_Down);
  Outcome out{d.Image(), d.State(), d.Selection().FrameRect(), {}, {}};
  EXPECT_EQ(d.Frame()->geometry(), d.Transform().WidgetRect(out.frame));
  d.Trigger("Menu_Edit_Copy");
  out.copied = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
  d.Trigger("Menu_Edit_Undo");
  out.undone = d.Image();
  return out;
}

}  // namespace

TEST(ZoomView, ThePointerNamesThePixelTheScreenShowsUnderIt) {
  const QImage picture = Numbered(6, 4);
  PictureView paint;
  for (int zoom : kZoomLevels)
    for (double ratio : {1.0, 1.5, 2.0}) {
      SCOPED_TRACE("zoom " + std::to_string(zoom) + " at ratio " + std::to_string(ratio));
      const ViewTransform view{zoom, ratio};
      // Picture -> widget -> picture gives every pixel back.
      for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
          const QPointF back = view.PicturePoint(view.WidgetPoint(QPointF(x, y)));
          EXPECT_EQ(back, QPointF(x, y));
          EXPECT_EQ(view.WidgetRect({x, y, 1, 1}), QRect(x * zoom, y * zoom, zoom, zoom));
        }
      // The picture as the surface paints it, on a screen of that ratio.
      const QSize shown = view.WidgetSize(picture.size());
      QImage screen(int(std::ceil(shown.width() * ratio)), int(std::ceil(shown.height() * ratio)),
                    QImage::Format_RGB32);
      screen.setDevicePixelRatio(ratio);
      screen.fill(Qt::black);
      {
        QPainter p(&screen);
        paint.Paint(p, picture, view, QRect(QPoint(0, 0), shown));
      }
      // Anywhere on a device pixel, the pointer names the picture pixel painted there.
      int wrong = 0;
      for (int r = 0; r < screen.height(); ++r)
        for (int c = 0; c < screen.width(); ++c)
          for (double within : {0.02, 0.5, 0.98}) {
            const QPointF named = view.PicturePoint({(c + within) / ratio, (r + within) / ratio});
            const int n = int(std::floor(named.y())) * picture.width() + int(std::floor(named.x()));
            if (NumberOf(screen.pixel(c, r)) != n && ++wrong <= 3)
              ADD_FAILURE() << "device pixel " << c << "," << r << " names " << named.x() << "," << named.y();
          }
      EXPECT_EQ(wrong, 0);
    }
}

// The transform's other converters: positions of the area through the scroll offset, the scroll
// offset that keeps a point under an anchor (its own, given the point it shows there), the device
// pixels that cover a widget rectangle (and no more), and lengths both ways.
TEST(ZoomView, TheTransformMapsTheAreaTheScrollOffsetAndTheDevicePixels) {
  for (int zoom : kZoomLevels)
    for (double ratio : {1.0, 1.5, 2.0})
      for (const QPoint scroll : {QPoint(0, 0), QPoint(37, 501)}) {
        SCOPED_TRACE("zoom " + std::to_string(zoom) + " at ratio " + std::to_string(ratio) + ", scrolled " +
                     std::to_string(scroll.x()) + "," + std::to_string(scroll.y()));
        const ViewTransform view{zoom, ratio, scroll};
        for (const QPointF area : {QPointF(0, 0), QPointF(123.5, 77), QPointF(9.25, 300.75)}) {
          EXPECT_EQ(view.PicturePointInArea(area), view.PicturePoint(area + QPointF(scroll)));
          const QPointF point = view.UnsnappedPointInArea(area);
          EXPECT_DOUBLE_EQ(point.x() * zoom, area.x() + scroll.x());
          EXPECT_EQ(view.ScrollFor(point, area), scroll);
        }
        EXPECT_EQ(view.SurfaceOrigin(), -scroll);
        for (const QRect widget : {QRect(0, 0, 1, 1), QRect(3, 5, 7, 2), QRect(101, 33, 40, 90)}) {
          const QRect device = view.DeviceRect(widget);
          EXPECT_LE(device.left(), widget.left() * ratio);
          EXPECT_GT(device.left() + 1, widget.left() * ratio);
          EXPECT_GE(device.right() + 1, (widget.right() + 1) * ratio);
          EXPECT_LT(device.right(), (widget.right() + 1) * ratio);
          EXPECT_LE(view.WidgetPointOfDevice(device.topLeft()).x(), widget.left());
        }
        EXPECT_EQ(view.WidgetLength(6), 6 * zoom);
        EXPECT_DOUBLE_EQ(view.PictureLength(view.WidgetLength(6)), 6);
        EXPECT_EQ(view.PatternTransform().map(QPointF(1, 2)), QPointF(zoom, 2 * zoom));
      }
}

TEST(ZoomView, EveryGestureGivesWhatItGivesAtOneHundredPercent) {
  const Outcome reference = RunSession(1, 1);
  ASSERT_EQ(reference.picture.size(), QSize(587, 229));
  ASSERT_FALSE(reference.copied.isNull());
  for (int zoom : kZoomLevels)
    for (double ratio : {1.0, 2.0}) {
      if (zoom == 1 && ratio == 1.0) continue;
      SCOPED_TRACE("zoom " + std::to_string(zoom) + " at ratio " + std::to_string(ratio));
      const Outcome o = RunSession(zoom, ratio);
      EXPECT_EQ(o.picture, reference.picture);
      EXPECT_EQ(o.frame, reference.frame);
      EXPECT_EQ(o.copied, reference.copied);
      EXPECT_EQ(o.undone, reference.undone);
      const WorkspaceState &s = o.state, &r = reference.state;
      EXPECT_EQ(s.ToolId, r.ToolId);
      EXPECT_EQ(s.DragActive, r.DragActive);
      EXPECT_EQ(s.MovedSincePress, r.MovedSincePress);
      EXPECT_EQ(s.ImageChanged, r.ImageChanged);
      EXPECT_EQ(s.CopyModifier, r.CopyModifier);
      EXPECT_EQ(s.TextPoint, r.TextPoint);
      for (auto field : {&DragGeometry::PressPoint, &DragGeometry::CurrentPoint, &DragGeometry::DragOffset}) {
        EXPECT_EQ((s.*field).x, (r.*field).x);
        EXPECT_EQ((s.*field).y, (r.*field).y);
      }
    }
}

TEST(ZoomView, CommandsKeepTheTopLeftPointAndTheWheelThePointUnderThePointer) {
  WindowDriver d;
  QApplication::setActiveWindow(d.window.get());
  d.ResizePicture(1200, 800);
  DrawingArea* area = d.Drawing();
  auto pixelAt = [area](QPoint p) {
    const QPointF at = area->PicturePointAt(p);
    return QPoint(int(std::floor(at.x())), int(std::floor(at.y())));
  };
  EXPECT_EQ(ZoomLevel(d), "100%");
  ExpectOffered(d, {"Menu_View_ZoomIn"}, true);
  ExpectOffered(d, {"Menu_View_ZoomOut", "Menu_View_ZoomActual"}, false);

  d.Trigger("Menu_View_ZoomIn");
  EXPECT_EQ(ZoomLevel(d), "200%");
  d.Find<QScrollBar>("HScr")->setValue(501);
  d.Find<QScrollBar>("VScr")->setValue(301);
  const QPoint corner = pixelAt({0, 0});
  ASSERT_EQ(corner, QPoint(250, 150));
  // The keys: Ctrl+= and Ctrl++ zoom in, Ctrl+- out, Ctrl+0 back to 100 %.
  const struct {
    int key;
    const char* level;
  } keys[] = {{Qt::Key_Equal, "300%"}, {Qt::Key_Plus, "400%"}, {Qt::Key_Minus, "300%"}, {Qt::Key_0, "100%"}};
  for (const auto& k : keys) {
    QTest::keyClick(d.Surface(), Qt::Key(k.key), Qt::ControlModifier);
    EXPECT_EQ(ZoomLevel(d), k.level);
    EXPECT_EQ(pixelAt({0, 0}), corner) << k.level;
  }
  d.SetZoom(8);
  EXPECT_EQ(pixelAt({0, 0}), corner);
  ExpectOffered(d, {"Menu_View_ZoomOut", "Menu_View_ZoomActual"}, true);
  ExpectOffered(d, {"Menu_View_ZoomIn"}, false);

  // The wheel, with Ctrl, over the picture: the pixel under the pointer stays under it.
  const QPoint pointer(253, 141);
  const QPoint under = pixelAt(pointer);
  for (int notches : {-1, -2, 1, -3, 2}) {
    CtrlWheel(d.Surface(), QPointF(pointer - d.Surface()->pos()), notches);
    EXPECT_EQ(pixelAt(pointer), under) << "at " << ZoomLevel(d).toStdString();
  }
  EXPECT_EQ(ZoomLevel(d), "300%");
  CtrlWheel(d.Surface(), QPointF(pointer - d.Surface()->pos()), 1, Qt::NoModifier);
  EXPECT_EQ(ZoomLevel(d), "300%") << "without Ctrl the wheel does not zoom";
  // Near the picture's top-left the scroll ranges end: the view stays within them.
  CtrlWheel(area, QPointF(5, 5), -5);
  EXPECT_EQ(ZoomLevel(d), "100%");
  EXPECT_EQ(d.Surface()->geometry(), QRect(-d.Find<QScrollBar>("HScr")->value(), -d.Find<QScrollBar>("VScr")->value(),
                                           1200, 800));
}

TEST(ZoomView, NoZoomWhileAMouseButtonIsHeld) {
  WindowDriver d;
  QApplication::setActiveWindow(d.window.get());
  // A button held through the window system, on a handle.
  d.Surface()->setFocus(Qt::OtherFocusReason);
  QWidget* corner = d.Find<QWidget>("RLUD");
  ASSERT_TRUE(corner->isVisible());
  const QPoint grip = corner->mapTo(d.window.get(), QPoint(2, 2));
  QTest::mousePress(d.window->windowHandle(), Qt::LeftButton, {}, grip);
  d.Trigger("Menu_View_ZoomIn");
  EXPECT_EQ(ZoomLevel(d), "100%");
  QTest::mouseRelease(d.window->windowHandle(), Qt::LeftButton, {}, grip);

  // A drag on the picture, then one of the selection frame.
  d.ClickTool(7);
  d.Press({40, 40});
  d.Trigger("Menu_View_ZoomIn");
  CtrlWheel(d.Surface(), {40, 40}, 1);
  EXPECT_EQ(ZoomLevel(d), "100%");
  EXPECT_EQ(d.Drawing()->Zoom(), 1);
  d.Release({60, 50});
  d.Trigger("Menu_View_ZoomIn");
  EXPECT_EQ(ZoomLevel(d), "200%");
  d.ClickTool(1);
  d.Drag({10, 10}, {30, 30});
  d.FramePress({2, 2});
  d.Trigger("Menu_View_ZoomOut");
  EXPECT_EQ(ZoomLevel(d), "200%");
  d.FrameRelease({2, 2});
  d.Trigger("Menu_View_ZoomOut");
  EXPECT_EQ(ZoomLevel(d), "100%");
}

TEST(ZoomView, PixelGridAndGuideLinesShowOnScreenAndNeverInThePicture) {
  WindowDriver d;
  d.ClickTool(6);  // a straight line of one pixel: (3, 2) black
  d.Press({3, 2});
  d.Release({3, 2});
  const QImage picture = d.Image();
  ASSERT_EQ(d.Pixel(3, 2), kBlack);
  d.Trigger("Menu_Tools_Line");  // guide lines
  for (int zoom : kZoomLevels) {
    SCOPED_TRACE("zoom " + std::to_string(zoom));
    d.SetZoom(zoom);
    d.Move({9, 6}, Qt::NoButton);  // the guide lines cross in picture pixel (9, 6)
    const QImage shown = d.Surface()->grab(QRect(0, 0, 12 * zoom, 8 * zoom)).toImage().convertToFormat(QImage::Format_RGB32);
    const bool grid = zoom >= 6;
    auto isGuide = [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 100 && qBlue(c) > 200; };
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x) {
        const QRgb seen = shown.pixel(x, y) | 0xff000000u;
        if (isGuide(seen)) continue;
        const QRgb drawn = picture.pixel(x / zoom, y / zoom) | 0xff000000u;
        if (grid && (x % zoom == 0 || y % zoom == 0)) {
          ASSERT_NE(seen, drawn) << x << "," << y << ": no grid line";
          ASSERT_GT(qGray(seen), drawn == kWhite ? 200 : 0) << x << "," << y << ": the grid is light";
        } else {
          ASSERT_EQ(seen, drawn) << x << "," << y;
        }
      }
    // The guide lines pass through the centre of picture pixel (9, 6): one screen column of its
    // block, one row.
    std::vector<int> columns, rows;
    for (int x = 0; x < shown.width(); ++x)
      if (isGuide(shown.pixel(x, 1))) columns.push_back(x);
    for (int y = 0; y < shown.height(); ++y)
      if (isGuide(shown.pixel(1, y))) rows.push_back(y);
    ASSERT_EQ(columns.size(), 1u);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_LE(std::abs(columns[0] + 0.5 - (zoom == 1 ? 9.5 : 9.5 * zoom)), 0.5);
    EXPECT_LE(std::abs(rows[0] + 0.5 - (zoom == 1 ? 6.5 : 6.5 * zoom)), 0.5);
    EXPECT_EQ(d.Image(), picture);
  }
}

TEST(ZoomView, ScrollBarsHandlesAndTheEraserPointerFollowTheZoom) {
  WindowDriver d;
  d.Surface()->setFocus(Qt::OtherFocusReason);
  QApplication::processEvents();
  d.ClickTool(2);  // eraser
  const int F = d.Drawing()->width(), G = d.Drawing()->height();
  const int B = d.Find<QScrollBar>("VScr")->width(), C = d.Find<QScrollBar>("HScr")->height();
  for (int zoom : kZoomLevels) {
    SCOPED_TRACE("zoom " + std::to_string(zoom));
    d.SetZoom(zoom);
    const int w = 600 * zoom, h = 220 * zoom;
    EXPECT_EQ(d.Surface()->size(), QSize(w, h));
    QScrollBar* hscr = d.Find<QScrollBar>("HScr");
    QScrollBar* vscr = d.Find<QScrollBar>("VScr");
    EXPECT_EQ(hscr->isEnabled(), w > F - B);
    EXPECT_EQ(vscr->isEnabled(), h > G - C);
    if (hscr->isEnabled()) {
      EXPECT_EQ(hscr->maximum(), w - F + B + 10);
    }
    if (vscr->isEnabled()) {
      EXPECT_EQ(vscr->maximum(), h - G + C + 10);
    }
    hscr->setValue(0);
    vscr->setValue(0);
    d.Drawing()->PlaceResizeHandles();
    EXPECT_EQ(d.Find<QWidget>("RLUD")->pos(), QPoint(w, h));
    EXPECT_EQ(d.Find<QWidget>("RL")->pos(), QPoint(w, h / 2));
    EXPECT_EQ(d.Find<QWidget>("UD")->pos(), QPoint(w / 2, h));
    // The eraser's pointer outlines the 6 x 6 picture pixels one step paints.
    const QCursor pointer = d.Surface()->cursor();
    ASSERT_EQ(pointer.shape(), Qt::BitmapCursor);
    EXPECT_EQ(pointer.bitmap().size(), QSize(6 * zoom + 2, 6 * zoom + 2));
  }
  // Slow drags at 800 % still resize: three widget units a move, a picture pixel every eighth.
  ASSERT_EQ(d.Drawing()->Zoom(), 8);
  QWidget* rl = d.Find<QWidget>("RL");
  const QPointF start = QPointF(rl->pos()) + QPointF(2, 2);
  WindowDriver::Send(rl, QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton, Qt::LeftButton);
  const int expected[] = {600, 601, 601, 602, 602, 602, 603};
  for (int i = 1; i <= 7; ++i) {
    WindowDriver::Send(rl, QEvent::MouseMove, start + QPointF(3 * i, 0) - QPointF(rl->pos()), Qt::NoButton,
                       Qt::LeftButton);
    EXPECT_EQ(d.Picture().Width(), expected[i - 1]) << "after " << 3 * i << " widget units";
  }
}

TEST(ZoomView, BackgroundPatternCoversTheSamePicturePixelsAtEveryZoom) {
  WindowDriver d;
  d.Trigger("Menu_Tools_BGLine");
  auto shown = [&d](int side) {
    return d.Surface()->grab(QRect(0, 0, side, side)).toImage().convertToFormat(QImage::Format_RGB32);
  };
  const QImage atOne = shown(40);
  ASSERT_NE(atOne.pixel(0, 0), atOne.pixel(4, 0)) << "the pattern shows";
  for (int zoom : {2, 3, 4}) {
    d.SetZoom(zoom);
    const QImage zoomed = shown(40 * zoom);
    EXPECT_EQ(zoomed, atOne.scaled(atOne.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation))
        << "zoom " << zoom;
  }
}
