// Figures drawn on every mouse move of a drag: the wave and the hatched surface are the ones
// whose cost grows with the drag (one stroke per pixel column at worst).
#include <benchmark/benchmark.h>

#include "figures/Canvas.h"
#include "figures/DrawFigure.h"

namespace {

// A 4096 x 4096 picture and a 4000-pixel drag, one-pixel black pen.
Canvas& BigPicture() {
  static Canvas canvas(4096, 4096);
  return canvas;
}

void RunFigure(benchmark::State& state, int toolId, DragGeometry g, ParameterValues p) {
  Canvas& canvas = BigPicture();
  canvas.DrawWidth = 1;
  canvas.DrawStyle = Canvas::kSolid;
  for (auto _ : state) {
    DrawFigure(canvas, g, toolId, p);
    benchmark::ClobberMemory();
  }
}

// The wave with two periods (the tool's default) and an amplitude of 200 pixels.
void BM_SineWave(benchmark::State& state) {
  DragGeometry g;
  g.PressPoint = {48, 2048};
  g.CurrentPoint = {4048, 1848};
  ParameterValues p;
  p.SP = 2;
  RunFigure(state, 11, g, p);
}

// The floor with a one-pixel stroke size (dy = 1): 4000 strokes, the worst realistic case.
void BM_HatchedSurface(benchmark::State& state) {
  DragGeometry g;
  g.PressPoint = {48, 2048};
  g.CurrentPoint = {4048, 2049};
  RunFigure(state, 13, g, ParameterValues());
}

}  // namespace

BENCHMARK(BM_SineWave)->Name("Figure/SineWave/4000")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HatchedSurface)->Name("Figure/HatchedSurface/4000")->Unit(benchmark::kMicrosecond);
