// One full TrackGesture step in the real main window: restore from the backing copy, draw the
// figure, hand the damage to the widget. The cost must follow the figure, not the picture.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QToolButton>

#include "workspace/ImageDraw.h"

namespace {

void Send(QWidget* target, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
  QMouseEvent e(type, pos, target->mapToGlobal(pos), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(target, &e);
}

// Drags the corner handle so that the picture becomes width x height.
void ResizePicture(ImageDraw& window, int width, int height) {
  auto* corner = window.findChild<QWidget*>("RLUD");
  const QSize size = window.View().Picture.Size();
  Send(corner, QEvent::MouseButtonPress, {0, 0}, Qt::LeftButton, Qt::LeftButton);
  Send(corner, QEvent::MouseMove, QPointF(width - size.width(), height - size.height()), Qt::NoButton, Qt::LeftButton);
  Send(corner, QEvent::MouseButtonRelease, QPointF(width - size.width(), height - size.height()), Qt::LeftButton,
       Qt::NoButton);
}

void GestureStep(benchmark::State& st, int tool, int width, int height, QPointF from, QPointF to,
                 bool companion = true) {
  ImageDraw window;
  ResizePicture(window, width, height);
  if (window.View().Picture.Size() != QSize(width, height)) {
    st.SkipWithError("the picture could not be resized");
    return;
  }
  // The yardstick without the high-resolution companion: what recording the calls may add.
  if (!companion) const_cast<Canvas&>(window.View().Picture).SetCompanion(1);
  window.findChild<QToolButton*>(QStringLiteral("Tools%1").arg(tool))->click();
  // The surface's own handlers, as its mouse events call them.
  SurfaceHandlers& surface = window;
  surface.BeginGesture(Qt::LeftButton, Qt::NoModifier, from.x(), from.y());
  // Alternate between two pointer positions one pixel apart, as a slow drag does.
  bool odd = false;
  for (auto _ : st) {
    const double x = to.x() + (odd ? 1 : 0);
    surface.TrackGesture(Qt::LeftButton, Qt::NoModifier, x, to.y());
    odd = !odd;
  }
  surface.EndGesture(Qt::LeftButton, Qt::NoModifier, to.x(), to.y());
}

}  // namespace

BENCHMARK_CAPTURE(GestureStep, Rectangle/600x220, 7, 600, 220, QPointF(50, 50), QPointF(250, 150));
BENCHMARK_CAPTURE(GestureStep, Rectangle/4096x4096, 7, 4096, 4096, QPointF(50, 50), QPointF(250, 150));
BENCHMARK_CAPTURE(GestureStep, Wave/600x220, 11, 600, 220, QPointF(50, 110), QPointF(550, 30));
BENCHMARK_CAPTURE(GestureStep, Wave/600x220/NoCompanion, 11, 600, 220, QPointF(50, 110), QPointF(550, 30), false);
BENCHMARK_CAPTURE(GestureStep, Wave/4096x4096, 11, 4096, 4096, QPointF(50, 110), QPointF(550, 30));
