// The release of a figure with the high-resolution companion: the densest library figure (the
// outer induction coil, tool 88) over a 1000 x 800 drag, drawn once at 1x and replayed at k = 4,
// against the same figure drawn once at 1x.
#include <benchmark/benchmark.h>

#include <chrono>

#include "figures/Canvas.h"
#include "figures/DrawFigure.h"
#include "workspace/ToolCatalogue.h"

namespace {

constexpr int kTool = 88, kW = 1040, kH = 840;

DragGeometry Drag() {
  DragGeometry g;
  g.PressPoint = {20, 20};
  g.CurrentPoint = {1020, 820};
  g.DragOffset = {1000, 800};
  return g;
}

// Each iteration puts the picture back and, as the moves of a drag do, previews the figure on the
// picture alone and takes it back (not timed); then it times the figure and, with the companion,
// its replay, as the last move and the release do.
void Release(benchmark::State& st, bool companion) {
  Canvas canvas(kW, kH);
  if (companion && (!canvas.SetCompanion(4) || canvas.k() != 4)) {
    st.SkipWithError("no companion at k = 4");
    return;
  }
  PicturePair backing;
  canvas.CopyInto(backing);
  const ParameterValues p = DefaultParameters(kTool);
  for (auto _ : st) {
    canvas.Restore(backing);
    DragGeometry g = Drag();
    DrawFigure(canvas, g, kTool, p);
    canvas.Restore(backing);
    const auto t0 = std::chrono::steady_clock::now();
    DrawFigure(canvas, g, kTool, p);
    if (companion) canvas.CommitCompanion();
    benchmark::DoNotOptimize(canvas.Raster().constBits());
    st.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
}

}  // namespace

BENCHMARK_CAPTURE(Release, Commit, true)->Name("Commit/OuterCoil/1000")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Release, Figure, false)->Name("Figure/OuterCoil/1000")->UseManualTime()->Unit(benchmark::kMillisecond);
