// The drawing surface's own paint code repainting a view of 1000 x 700 device pixels of a 4096 x
// 4096 picture, the whole visible part damaged, at a zoom level (percent) against 100 %. Scaling
// costs little and only the visible part is ever scaled: 800 % stays within twice 100 %.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "workspace/PictureView.h"
#include "workspace/ViewTransform.h"

namespace {

void ZoomPaint(benchmark::State& st) {
  const int zoom = static_cast<int>(st.range(0)) / 100;
  const int side = static_cast<int>(st.range(1));
  QImage picture(side, side, QImage::Format_RGB32);
  picture.fill(Qt::white);
  {
    // Something to show: a grid of dark lines.
    QPainter p(&picture);
    p.setPen(Qt::black);
    for (int v = 0; v < side; v += 37) {
      p.drawLine(v, 0, v, side - 1);
      p.drawLine(0, v, side - 1, v);
    }
  }
  const ViewTransform view{zoom, 1.0};
  const QSize shown(1000, 700);
  QImage screen(shown, QImage::Format_RGB32);
  screen.fill(Qt::gray);
  // The view lies in the middle of the zoomed picture.
  const QSize zoomed = view.WidgetSize(picture.size());
  const QPoint scroll((zoomed.width() - shown.width()) / 2, (zoomed.height() - shown.height()) / 2);
  PictureView paint;
  for (auto _ : st) {
    QPainter p(&screen);
    p.translate(-scroll);
    paint.Paint(p, picture, view, QRect(scroll, shown));
    p.end();
    benchmark::DoNotOptimize(screen.constBits());
  }
}

}  // namespace

BENCHMARK(ZoomPaint)->Args({800, 4096})->Args({100, 4096})->Unit(benchmark::kMicrosecond);
