// Canvas size and the viewport: resize handles, scroll bars, drawing on a scrolled canvas, the
// window's smallest size, and the picture at a display scale of 200 %.
#include <gtest/gtest.h>

#include <limits>

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QProcessEnvironment>
#include <QScrollBar>
#include <QTest>

#include "figures/DrawFigure.h"
#include "figures/Rounding.h"
#include "support/WindowDriver.h"
#include "workspace/DrawingSurface.h"
#include "workspace/Viewport.h"

namespace {

// The picture a figure gives when drawn directly on a white canvas of the given size.
QImage Expected(QSize size, int toolId, QPointF from, QPointF to) {
  Canvas c(size.width(), size.height());
  DragGeometry g;
  g.PressPoint = {from.x(), from.y()};
  g.CurrentPoint = {to.x(), to.y()};
  DrawFigure(c, g, toolId, {});
  return c.Image();
}

struct ViewportDriver : WindowDriver {
  ViewportDriver() {
    QApplication::setActiveWindow(window.get());
    QApplication::processEvents();
  }

  // Gives the canvas the keyboard focus, which shows the handles, or takes it away.
  void FocusCanvas() {
    Surface()->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
  }
  void UnfocusCanvas() {
    Surface()->clearFocus();
    QApplication::processEvents();
  }

  ResizeHandle* Handle(const char* name) const { return Find<ResizeHandle>(name); }
  QWidget* Area() const { return Find<QWidget>("F_PIC"); }
  QScrollBar* Bar(const char* name) const { return Find<QScrollBar>(name); }

  // Drags a handle by `delta` (pixels of the viewport) in `steps` moves. Every event is given in
  // the handle's own coordinates at that moment, as the window system does while the handle
  // moves under the pointer.
  void DragHandle(ResizeHandle* h, QPointF delta, int steps = 4) {
    const QPointF grip(2, 3);
    const QPointF start = QPointF(h->pos()) + grip;
    Send(h, QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    QPointF pointer = start;
    for (int i = 1; i <= steps; ++i) {
      pointer = start + delta * (double(i) / steps);
      Send(h, QEvent::MouseMove, pointer - QPointF(h->pos()), Qt::NoButton, Qt::LeftButton);
    }
    Send(h, QEvent::MouseButtonRelease, pointer - QPointF(h->pos()), Qt::LeftButton, Qt::NoButton);
  }

  // Mouse through the window system: the event reaches whatever widget lies under the pointer,
  // which keeps it until the release. `p` is in `target`'s coordinates.
  QPoint InWindow(QWidget* target, QPoint p) { return target->mapTo(window.get(), p); }
  void WindowPress(QWidget* target, QPoint p) {
    QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, InWindow(target, p));
  }
  void WindowMove(QWidget* target, QPoint p) { QTest::mouseMove(window->windowHandle(), InWindow(target, p)); }
  void WindowRelease(QWidget* target, QPoint p) {
    QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, InWindow(target, p));
  }
  void WindowDrag(QWidget* target, QPoint from, QPoint to, int steps = 3) {
    WindowPress(target, from);
    for (int i = 1; i <= steps; ++i) WindowMove(target, from + (to - from) * i / steps);
    WindowRelease(target, to);
  }

  QSize CanvasSize() const { return Picture().Size(); }
  // Makes the canvas width x height with the corner handle; false when it did not get that size.
  bool SizeCanvas(int width, int height) {
    ResizePicture(width, height);
    return CanvasSize() == QSize(width, height);
  }

  // The handles sit where the placement rule puts them for the canvas's present place and size.
  void ExpectHandlesPlaced() {
    const QRect c = Surface()->geometry();
    const int right = c.x() + c.width(), bottom = c.y() + c.height();
    EXPECT_EQ(Handle("RL")->pos(), QPoint(right, static_cast<int>(RoundHalfEven(bottom / 2.0))));
    EXPECT_EQ(Handle("UD")->pos(), QPoint(static_cast<int>(RoundHalfEven(right / 2.0)), bottom));
    EXPECT_EQ(Handle("RLUD")->pos(), QPoint(c.x() + c.width(), c.y() + c.height()));
  }
  void ExpectHandlesShown(bool shown) {
    for (const char* h : {"RL", "UD", "RLUD"}) EXPECT_EQ(Handle(h)->isVisible(), shown) << h;
  }
};

}  // namespace

TEST(Viewport, FocusShowsHandlesAtTheCanvasEdgesAndLosingItHidesThem) {
  ViewportDriver d;
  d.UnfocusCanvas();
  EXPECT_FALSE(d.Handle("RL")->isVisible());
  d.FocusCanvas();
  ASSERT_TRUE(d.Surface()->hasFocus());
  for (const char* h : {"RL", "UD", "RLUD"}) {
    EXPECT_TRUE(d.Handle(h)->isVisible()) << h;
    EXPECT_EQ(d.Handle(h)->size(), QSize(5, 5));
  }
  EXPECT_EQ(d.Handle("RL")->pos(), QPoint(600, 110));
  EXPECT_EQ(d.Handle("UD")->pos(), QPoint(300, 220));
  EXPECT_EQ(d.Handle("RLUD")->pos(), QPoint(600, 220));
  EXPECT_EQ(d.Handle("RL")->cursor().shape(), Qt::SizeHorCursor);
  EXPECT_EQ(d.Handle("UD")->cursor().shape(), Qt::SizeVerCursor);
  EXPECT_EQ(d.Handle("RLUD")->cursor().shape(), Qt::SizeFDiagCursor);

  // Neither a handle nor a scroll bar takes the focus from the canvas when pressed.
  d.WindowPress(d.Handle("RLUD"), {2, 2});
  d.WindowRelease(d.Handle("RLUD"), {2, 2});
  EXPECT_TRUE(d.Surface()->hasFocus());
  EXPECT_EQ(d.Bar("HScr")->focusPolicy() & Qt::ClickFocus, 0);

  d.UnfocusCanvas();
  d.ExpectHandlesShown(false);
}

TEST(Viewport, HandleDragsResizeTheCanvasWithinItsLimits) {
  struct Case {
    const char* handle;
    QPointF delta;
    QSize expected;
  };
  const Case cases[] = {
      {"RL", {100, 0}, {700, 220}},       // wider
      {"RL", {-250, 40}, {350, 220}},     // narrower; vertical movement is no matter for RL
      {"UD", {30, 80}, {600, 300}},       // taller; horizontal movement is no matter for UD
      {"UD", {0, -100}, {600, 120}},      // lower
      {"RLUD", {600, 580}, {1200, 800}},  // both
      {"RLUD", {-40, 10}, {560, 230}},
      {"RL", {-700, 0}, {50, 220}},        // stops at the smallest canvas
      {"UD", {0, -400}, {600, 50}},
      {"RLUD", {-1000, -1000}, {50, 50}},
      {"RL", {17000, 0}, {Canvas::kMaxSide, 220}},  // stops at the largest picture
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.handle) + " by " + std::to_string(c.delta.x()) + "," + std::to_string(c.delta.y()));
    ViewportDriver d;
    d.FocusCanvas();
    auto* h = d.Area()->findChild<ResizeHandle*>(c.handle);
    ASSERT_NE(h, nullptr);
    d.DragHandle(h, c.delta);
    EXPECT_EQ(d.CanvasSize(), c.expected);
    EXPECT_EQ(d.Surface()->size(), c.expected);
    d.ExpectHandlesPlaced();
    d.ExpectHandlesShown(true);
  }
}

TEST(Viewport, ShrinkingThenGrowingKeepsTheTopLeftAndWhitensTheNewArea) {
  ViewportDriver d;
  d.ClickTool(7);  // rectangle
  d.Drag({10, 10}, {580, 200});
  const QImage before = d.Image();
  d.FocusCanvas();
  d.DragHandle(d.Handle("RLUD"), {-400, -100});  // 200 x 120: the rectangle's right and bottom are cut off
  ASSERT_EQ(d.CanvasSize(), QSize(200, 120));
  EXPECT_EQ(d.Image(), before.copy(0, 0, 200, 120));
  d.DragHandle(d.Handle("RLUD"), {400, 100});
  ASSERT_EQ(d.CanvasSize(), QSize(600, 220));
  QImage expected = before.copy(0, 0, 200, 120).copy(0, 0, 600, 220);
  for (int y = 0; y < 220; ++y)
    for (int x = 0; x < 600; ++x)
      if (x >= 200 || y >= 120) expected.setPixel(x, y, kWhite);
  EXPECT_EQ(d.Image(), expected.convertToFormat(d.Image().format()));
}

TEST(Viewport, HandleFollowsThePointerBackOutAfterStoppingAtTheMinimum) {
  ViewportDriver d;
  d.FocusCanvas();
  ResizeHandle* rl = d.Handle("RL");
  // Press, go far inwards, come back part of the way: the handle stayed at 50 meanwhile, so the
  // width grows only by the distance moved outward of the handle's press point.
  const QPointF grip(2, 2);
  const QPointF start = QPointF(rl->pos()) + grip;  // 602 in the viewport
  WindowDriver::Send(rl, QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
  auto moveTo = [&](double x) {
    WindowDriver::Send(rl, QEvent::MouseMove, QPointF(x, start.y()) - QPointF(rl->pos()), Qt::NoButton,
                       Qt::LeftButton);
  };
  moveTo(20);
  EXPECT_EQ(d.CanvasSize().width(), 50);
  moveTo(40);
  EXPECT_EQ(d.CanvasSize().width(), 50) << "the pointer is still left of the handle's grip";
  moveTo(152);
  EXPECT_EQ(d.CanvasSize().width(), 150);
  EXPECT_EQ(rl->x(), 150);
}

TEST(Viewport, UnusablePointerPositionsAndOversizedCanvasesChangeNothing) {
  ViewportDriver d;
  d.FocusCanvas();
  // Positions no mouse event carries, handed to the corner handle's handlers directly.
  SurfaceHandlers& handlers = d.Handlers();
  handlers.HandlePress(SurfaceHandlers::Handle::Corner, {2, 2});
  handlers.HandleDrag(SurfaceHandlers::Handle::Corner, {std::numeric_limits<double>::quiet_NaN(), 40});
  EXPECT_EQ(d.CanvasSize(), QSize(600, 258));
  handlers.HandleDrag(SurfaceHandlers::Handle::Corner, {std::numeric_limits<double>::infinity(), 2});
  EXPECT_EQ(d.CanvasSize(), QSize(600, 258));

  // Pictures wider or taller than the largest canvas are refused: the canvas stays as it is.
  for (QSize oversized : {QSize(Canvas::kMaxSide + 1, 1), QSize(1, Canvas::kMaxSide + 1)}) {
    QImage picture(oversized, QImage::Format_RGB32);
    picture.fill(kBlack);
    ASSERT_TRUE(d.OpenPicture(picture));
  }
  EXPECT_EQ(d.dialogs.told.size(), 2);
  EXPECT_EQ(d.CanvasSize(), QSize(600, 258));
  EXPECT_EQ(d.Surface()->size(), QSize(600, 258));
  EXPECT_EQ(d.Pixel(0, 0), kWhite);
  d.ResizePicture(-5, 20);
  EXPECT_EQ(d.CanvasSize(), QSize(50, 50));
}

TEST(Viewport, ScrollBarsFollowTheCanvasSizeAgainstTheViewport) {
  ViewportDriver d;
  QScrollBar* hscr = d.Bar("HScr");
  QScrollBar* vscr = d.Bar("VScr");
  const int F = d.Area()->width(), G = d.Area()->height();
  const int B = vscr->width(), C = hscr->height();
  ASSERT_GT(B, 0);
  ASSERT_GT(C, 0);
  struct Case {
    int width, height;
  };
  const Case cases[] = {{F - B, G - C}, {F - B + 1, G - C + 1}, {F + 100, G + 300}, {100, G + 2000}, {F * 3, 60}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    ASSERT_TRUE(d.SizeCanvas(c.width, c.height));
    const bool wide = c.width > F - B, tall = c.height > G - C;
    EXPECT_EQ(hscr->isEnabled(), wide);
    EXPECT_EQ(vscr->isEnabled(), tall);
    EXPECT_EQ(hscr->minimum(), 0);
    EXPECT_EQ(vscr->minimum(), 0);
    if (wide) {
      EXPECT_EQ(hscr->maximum(), c.width - F + B + 10);
      EXPECT_EQ(hscr->pageStep(), F - B);
      EXPECT_GT(hscr->singleStep(), 1);
      EXPECT_LT(hscr->singleStep(), hscr->pageStep());
    }
    if (tall) {
      EXPECT_EQ(vscr->maximum(), c.height - G + C + 10);
    }
  }
}

TEST(Viewport, CanvasSevenHundredWideInASixHundredWideViewport) {
  ViewportDriver d;
  ImageDraw& w = d.w();
  w.resize(w.width() + 600 - d.Area()->width(), w.height());
  QApplication::processEvents();
  ASSERT_EQ(d.Area()->width(), 600);
  ASSERT_TRUE(d.SizeCanvas(700, 220));
  QScrollBar* hscr = d.Bar("HScr");
  const int B = d.Bar("VScr")->width();
  EXPECT_TRUE(hscr->isEnabled());
  EXPECT_EQ(hscr->maximum(), 110 + B);
  hscr->setValue(hscr->maximum());
  // Scrolled to the end, 10 pixels of empty viewport show between the canvas and the bar.
  EXPECT_EQ(d.Surface()->geometry().right() + 1, 600 - B - 10);
}

TEST(Viewport, ScrollingMovesTheCanvasButNotTheHandles) {
  ViewportDriver d;
  d.FocusCanvas();
  d.DragHandle(d.Handle("RLUD"), {600, 580});
  ASSERT_EQ(d.CanvasSize(), QSize(1200, 800));
  const QPoint rl = d.Handle("RL")->pos(), ud = d.Handle("UD")->pos(), rlud = d.Handle("RLUD")->pos();
  d.Bar("HScr")->setValue(70);
  d.Bar("VScr")->setValue(30);
  EXPECT_EQ(d.Surface()->pos(), QPoint(-70, -30));
  EXPECT_EQ(d.Handle("RL")->pos(), rl);
  EXPECT_EQ(d.Handle("UD")->pos(), ud);
  EXPECT_EQ(d.Handle("RLUD")->pos(), rlud);

  // Shown again, the handles take the scrolled place: the edge handles in the middle of the
  // visible part of their edges.
  d.UnfocusCanvas();
  d.FocusCanvas();
  EXPECT_EQ(d.Handle("RL")->pos(), QPoint(1130, 385));
  EXPECT_EQ(d.Handle("UD")->pos(), QPoint(565, 770));
  EXPECT_EQ(d.Handle("RLUD")->pos(), QPoint(1130, 770));

  // Back to a canvas the viewport holds: no scrolling, the canvas at the top left again.
  d.DragHandle(d.Handle("RLUD"), {-900, -700});
  EXPECT_FALSE(d.Bar("HScr")->isEnabled());
  EXPECT_FALSE(d.Bar("VScr")->isEnabled());
  EXPECT_EQ(d.Surface()->pos(), QPoint(0, 0));
  EXPECT_EQ(d.Bar("HScr")->value(), 0);
}

TEST(Viewport, DrawingOnAScrolledCanvasLandsOnThePixelsUnderThePointer) {
  ViewportDriver d;
  ASSERT_TRUE(d.SizeCanvas(1200, 800));
  d.Bar("HScr")->setValue(d.Bar("HScr")->maximum());
  d.Bar("VScr")->setValue(d.Bar("VScr")->maximum());
  ASSERT_LT(d.Surface()->x(), -300);
  d.ClickTool(7);  // rectangle
  // Through the window: the pointer is over the canvas's far corner.
  d.WindowDrag(d.Surface(), {1100, 700}, {1180, 780});
  EXPECT_EQ(d.Image(), Expected({1200, 800}, 7, {1100, 700}, {1180, 780}));
  EXPECT_TRUE(d.State().ImageChanged);
}

TEST(Viewport, HandleDraggedThroughTheWindowKeepsThePointer) {
  ViewportDriver d;
  ImageDraw& w = d.w();
  d.FocusCanvas();
  // The pointer leaves the small handle at once; the handle keeps receiving the moves.
  d.WindowPress(d.Handle("RLUD"), {2, 2});
  const QPoint grip = d.InWindow(d.Handle("RLUD"), {2, 2});
  for (int i = 1; i <= 5; ++i) QTest::mouseMove(w.windowHandle(), grip + QPoint(-40 * i, -20 * i));
  QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, {}, grip + QPoint(-200, -100));
  EXPECT_EQ(d.CanvasSize(), QSize(400, 120));
  EXPECT_EQ(d.InWindow(d.Handle("RLUD"), {2, 2}), grip + QPoint(-200, -100));
}

TEST(Viewport, PastingALargePictureUpdatesTheScrollBars) {
  ViewportDriver d;
  d.FocusCanvas();
  EXPECT_FALSE(d.Bar("HScr")->isEnabled());
  EXPECT_FALSE(d.Bar("VScr")->isEnabled());
  // Paste grows the canvas to hold the picture.
  QImage large(2000, 1500, QImage::Format_RGB32);
  large.fill(kWhite);
  QGuiApplication::clipboard()->setImage(large);
  d.Trigger("Menu_Edit_Paster");
  ASSERT_EQ(d.CanvasSize(), QSize(2000, 1500));
  EXPECT_TRUE(d.Bar("HScr")->isEnabled());
  EXPECT_TRUE(d.Bar("VScr")->isEnabled());
  EXPECT_EQ(d.Bar("HScr")->maximum(), 2000 - d.Area()->width() + d.Bar("VScr")->width() + 10);
  EXPECT_EQ(d.Bar("VScr")->maximum(), 1500 - d.Area()->height() + d.Bar("HScr")->height() + 10);
  d.ExpectHandlesPlaced();
  // The new area is shown white at once.
  EXPECT_EQ(d.Shown().pixel(1990, 1490) | 0xff000000u, kWhite);
}

TEST(Viewport, WindowNeverSmallerThanItsMinimumAndScrollBarsFollowIt) {
  ViewportDriver d;
  ImageDraw& w = d.w();
  QScrollBar* hscr = d.Bar("HScr");
  QScrollBar* vscr = d.Bar("VScr");
  w.resize(300, 200);
  QApplication::processEvents();
  EXPECT_GE(w.width(), 640);
  EXPECT_GE(w.height(), 420);
  const int W = d.Area()->width(), H = d.Area()->height();
  EXPECT_EQ(vscr->geometry(), QRect(W - vscr->width(), -1, vscr->width(), H - hscr->height()));
  EXPECT_EQ(hscr->geometry(), QRect(0, H - hscr->height(), W, hscr->height()));
  EXPECT_TRUE(hscr->isEnabled()) << "a 600-pixel canvas does not fit the smallest window";

  w.resize(1400, 900);
  QApplication::processEvents();
  EXPECT_FALSE(hscr->isEnabled());
  EXPECT_EQ(hscr->geometry().right() + 1, d.Area()->width());
  EXPECT_EQ(d.Surface()->pos(), QPoint(0, 0));
}

TEST(Viewport, SurfaceShowsThePictureUnchangedAtNormalScale) {
  ViewportDriver d;
  d.ClickTool(9);  // ellipse
  d.Drag({20, 20}, {300, 200});
  EXPECT_EQ(d.Shown(), d.Image().convertToFormat(QImage::Format_RGB32));
}

// ---- Display scale 200 % ----
// These run in a program of their own started with QT_SCALE_FACTOR=2 (see the test after them);
// in a program at another scale they skip.

namespace {
bool AtScaleTwo() { return qGuiApp->devicePixelRatio() == 2.0; }
}  // namespace

TEST(ScaleTwo, EachPicturePixelIsATwoByTwoBlock) {
  if (!AtScaleTwo()) GTEST_SKIP() << "runs at a display scale of 200 %";
  ViewportDriver d;
  // Single coloured pixels at the corners, then figures drawn over them.
  QImage dots(600, 220, QImage::Format_RGB32);
  dots.fill(kWhite);
  dots.setPixel(0, 0, qRgb(255, 0, 0));
  dots.setPixel(599, 219, qRgb(0, 0, 255));
  dots.setPixel(1, 1, qRgb(0, 200, 0));
  ASSERT_TRUE(d.OpenPicture(dots));
  d.ClickTool(6);  // straight line: single-pixel steps
  d.Drag({3, 5}, {250, 190});
  d.ClickTool(9);  // ellipse
  d.Drag({300, 10}, {590, 210});
  const QPixmap grabbed = d.Surface()->grab();
  ASSERT_EQ(grabbed.devicePixelRatio(), 2.0);
  const QImage shown = grabbed.toImage().convertToFormat(QImage::Format_RGB32);
  const QImage picture = d.Image().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shown.size(), picture.size() * 2);
  int wrong = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x)
      if (shown.pixel(x, y) != picture.pixel(x / 2, y / 2) && ++wrong <= 5)
        ADD_FAILURE() << "screen pixel " << x << "," << y;
  EXPECT_EQ(wrong, 0);
}

TEST(ScaleTwo, DragsMapToTheSameCanvasPixelsAsAtNormalScale) {
  if (!AtScaleTwo()) GTEST_SKIP() << "runs at a display scale of 200 %";
  ViewportDriver d;
  d.ClickTool(7);  // rectangle
  d.WindowDrag(d.Surface(), {40, 30}, {120, 90});
  EXPECT_EQ(d.Image(), Expected({600, 220}, 7, {40, 30}, {120, 90}));

  // Scrolled canvas, through the window.
  ASSERT_TRUE(d.SizeCanvas(1200, 800));
  d.Bar("HScr")->setValue(d.Bar("HScr")->maximum());
  d.Bar("VScr")->setValue(d.Bar("VScr")->maximum());
  d.WindowDrag(d.Surface(), {1100, 700}, {1180, 780});
  QImage expected = Expected({1200, 800}, 7, {40, 30}, {120, 90});
  Canvas both(1200, 800);
  both.SetPicture(expected);
  DragGeometry g;
  g.PressPoint = {1100, 700};
  g.CurrentPoint = {1180, 780};
  DrawFigure(both, g, 7, {});
  EXPECT_EQ(d.Image(), both.Image());
}

TEST(ScaleTwo, HandleDragsResizeByTheSamePixels) {
  if (!AtScaleTwo()) GTEST_SKIP() << "runs at a display scale of 200 %";
  ViewportDriver d;
  ImageDraw& w = d.w();
  d.FocusCanvas();
  d.WindowPress(d.Handle("RLUD"), {2, 2});
  const QPoint grip = d.InWindow(d.Handle("RLUD"), {2, 2});
  for (int i = 1; i <= 4; ++i) QTest::mouseMove(w.windowHandle(), grip + QPoint(25 * i, -10 * i));
  QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, {}, grip + QPoint(100, -40));
  EXPECT_EQ(d.CanvasSize(), QSize(700, 180));
  EXPECT_EQ(d.Handle("RLUD")->pos(), QPoint(700, 180));
}

TEST(Viewport, PictureIsAsSharpAtTwoHundredPercent) {
  if (AtScaleTwo()) GTEST_SKIP() << "starts the 200 % tests; not from inside them";
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_SCALE_FACTOR", "2");
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.remove("GTEST_FILTER");
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=ScaleTwo.*"});
  ASSERT_TRUE(child.waitForStarted(30000));
  ASSERT_TRUE(child.waitForFinished(300000));
  const QString out = QString::fromLocal8Bit(child.readAll());
  EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
  EXPECT_TRUE(out.contains("[  PASSED  ] 3 tests")) << out.toStdString();
  EXPECT_FALSE(out.contains("SKIPPED")) << out.toStdString();
}

TEST(Viewport, PointerPositionsAtHighScaleNameTheCanvasPixelShownUnderThem) {
  struct Case {
    double position, ratio, pixel;
  };
  const Case cases[] = {
      {100, 2, 100},    {100.5, 2, 100},    {101, 2, 101},   {101.5, 2, 101},  {-0.5, 2, -1},
      {150 / 1.5, 1.5, 100}, {151 / 1.5, 1.5, 100}, {152 / 1.5, 1.5, 101}, {153 / 1.5, 1.5, 102},
      {3.25, 4, 3},     {3.75, 4, 3},       {3.7, 1, 3.7},   {3.7, 0.5, 3.7},
  };
  for (const Case& c : cases) {
    const QPointF p = ViewTransform{1, c.ratio}.PicturePoint({c.position, c.position});
    EXPECT_EQ(p, QPointF(c.pixel, c.pixel)) << c.position << " at " << c.ratio;
  }
  const ViewTransform unusable{.zoom = 1, .devicePixelRatio = std::numeric_limits<double>::quiet_NaN()};
  EXPECT_EQ(unusable.PicturePoint({7.5, 2.5}), QPointF(7.5, 2.5));

  // The same pixel the screen shows there: each column of a picture painted unsmoothed at the
  // scale, as the surface paints it, against the column the pointer names.
  for (double ratio : {1.25, 1.5, 1.75, 2.0, 3.0}) {
    QImage picture(64, 1, QImage::Format_RGB32);
    for (int x = 0; x < 64; ++x) picture.setPixel(x, 0, qRgb(x, 0, 0));
    QImage screen(static_cast<int>(64 * ratio), 1, QImage::Format_RGB32);
    screen.fill(Qt::white);
    {
      QPainter p(&screen);
      p.scale(ratio, ratio);
      p.setRenderHint(QPainter::SmoothPixmapTransform, false);
      p.drawImage(QRect(0, 0, 64, 1), picture, QRect(0, 0, 64, 1));
    }
    for (int n = 0; n < screen.width(); ++n) {
      const double named = ViewTransform{1, ratio}.PicturePoint({n / ratio, 0}).x();
      EXPECT_EQ(named, qRed(screen.pixel(n, 0))) << "screen column " << n << " at " << ratio;
    }
  }
}
