// The figure library on every mouse move: the slowest library figure, drawn at a 1000 x 800 drag on
// a 1200 x 1000 picture in the program's own state (the companion the program keeps for a white
// picture of that size, the drawing calls recorded for it), against copying that whole picture once
// (what a preview step would cost without damage tracking). The slowest figure must cost less than
// the copy.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QString>
#include <algorithm>
#include <chrono>
#include <vector>

#include "figures/Canvas.h"
#include "figures/DrawFigure.h"
#include "figures/ToolTable.h"
#include "workspace/ToolCatalogue.h"

namespace {

constexpr int kW = 1200, kH = 1000;

DragGeometry BigDrag() {
  DragGeometry g;
  g.PressPoint = {100, 100};
  g.CurrentPoint = {1100, 900};
  return g;
}

// One drawing of `f` on the canvas, in seconds; the canvas is put back first (not timed).
double TimeOnce(Canvas& canvas, const QImage& backing, const ToolFigure& f) {
  canvas.Restore(backing);
  DragGeometry g = BigDrag();
  const ParameterValues p = DefaultParameters(ToolNumber(f.id));
  const auto t0 = std::chrono::steady_clock::now();
  DrawFigure(canvas, g, ToolNumber(f.id), p);
  benchmark::DoNotOptimize(canvas.Raster().constBits());
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void BM_SlowestLibraryFigure(benchmark::State& state) {
  Canvas canvas(kW, kH);
  canvas.ChooseCompanion();
  if (canvas.k() < 2) {
    state.SkipWithError("no companion for the picture");
    return;
  }
  QImage backing;
  canvas.CopyInto(backing);
  // Find the slowest figure by the median of a few drawings each.
  const ToolFigure* slowest = nullptr;
  double worst = -1;
  for (const ToolFigure& f : FiguresWithRoutines()) {
    if (!IsLibraryFigure(f)) continue;
    std::vector<double> t;
    for (int i = 0; i < 7; ++i) t.push_back(TimeOnce(canvas, backing, f));
    std::nth_element(t.begin(), t.begin() + 3, t.end());
    if (t[3] > worst) worst = t[3], slowest = &f;
  }
  if (!slowest) {
    state.SkipWithError("no library figure");
    return;
  }
  for (auto _ : state) state.SetIterationTime(TimeOnce(canvas, backing, *slowest));
  state.SetLabel(QStringLiteral("slowest: %1 %2")
                     .arg(ToolNumber(slowest->id))
                     .arg(ToolTooltip(ToolNumber(slowest->id)))
                     .toStdString());
}

// A plain copy of the picture alone, without a companion.
void BM_FullCopy(benchmark::State& state) {
  Canvas canvas(kW, kH);
  QImage backing;
  canvas.CopyInto(backing);
  for (auto _ : state) {
    canvas.SetPicture(backing);  // the whole picture back
    benchmark::DoNotOptimize(canvas.Raster().constBits());
  }
}

}  // namespace

BENCHMARK(BM_SlowestLibraryFigure)->Name("FigureLibrary/Slowest/1000")->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullCopy)->Name("FigureLibrary/FullCopy/1200x1000")->Unit(benchmark::kMicrosecond);
