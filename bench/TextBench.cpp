// One preview step of the text tool, as every change of the typed text makes it: the picture put
// back from the backing copy, the label laid out and drawn at the clicked point. A label with
// scripts against the same characters without markup.
#include <benchmark/benchmark.h>

#include <QString>

#include "figures/Canvas.h"

namespace {

void TextPreview(benchmark::State& st, const char* label) {
  const QString text = QString::fromUtf8(label);
  Canvas picture(600, 220);
  picture.Font.setPointSizeF(12);
  // Something on the picture already, as when a figure is being labelled.
  picture.Box(30, 30, 570, 190);
  picture.Line(30, 110, 570, 110);
  QImage backing;
  picture.CopyInto(backing);
  for (auto _ : st) {
    picture.Restore(backing);
    picture.TextOutA(40, 60, text);
    benchmark::DoNotOptimize(picture.Damage());
  }
}

}  // namespace

// 40 characters with six subscripts and superscripts, and the 34 characters they show.
BENCHMARK_CAPTURE(TextPreview, Markup/40chars, "F_1 = m_1a, v_t = v_0 + at, E_k = mv^2/2");
BENCHMARK_CAPTURE(TextPreview, Plain/40chars, "F1 = m1a, vt = v0 + at, Ek = mv2/2");
