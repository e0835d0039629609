// One full TrackGesture step in the real main window: restore from the backing copy, draw the
// figure, hand the damage to the widget. The cost must follow the figure, not the picture.
#include <benchmark/benchmark.h>

#include <QToolButton>

#include "workspace/ImageDraw.h"

namespace {

void GestureStep(benchmark::State& st, int tool, int width, int height, QPointF from, QPointF to) {
  ImageDraw window;
  window.SetCanvasSize(width, height);
  window.Tools[tool - 1]->click();
  window.BeginGesture(Qt::LeftButton, Qt::NoModifier, from.x(), from.y());
  // Alternate between two pointer positions one pixel apart, as a slow drag does.
  bool odd = false;
  for (auto _ : st) {
    const double x = to.x() + (odd ? 1 : 0);
    window.TrackGesture(Qt::LeftButton, Qt::NoModifier, x, to.y());
    odd = !odd;
  }
  window.EndGesture(Qt::LeftButton, Qt::NoModifier, to.x(), to.y());
  window.State.ImageChanged = false;
}

}  // namespace

BENCHMARK_CAPTURE(GestureStep, Rectangle/600x220, 7, 600, 220, QPointF(50, 50), QPointF(250, 150));
BENCHMARK_CAPTURE(GestureStep, Rectangle/4096x4096, 7, 4096, 4096, QPointF(50, 50), QPointF(250, 150));
BENCHMARK_CAPTURE(GestureStep, Wave/600x220, 11, 600, 220, QPointF(50, 110), QPointF(550, 30));
BENCHMARK_CAPTURE(GestureStep, Wave/4096x4096, 11, 4096, 4096, QPointF(50, 110), QPointF(550, 30));
