// One preview step of the text tool, as every change of the typed text makes it: the picture put
// back from the backing copy, the label laid out and drawn at the clicked point. A label with
// scripts against the same characters without markup; and the label with scripts typed one
// character after another on a picture with its companion at k = 4, as the window keeps it,
// where every new text is also checked against its glyphs at k (the companion's half itself is
// drawn when the text is stamped, not here).
#include <benchmark/benchmark.h>

#include <QString>

#include "figures/Canvas.h"

namespace {

// `typing`: each step shows one more character of the label, from one character to all of it.
void TextPreview(benchmark::State& st, const char* label, int k, bool typing) {
  const QString text = QString::fromUtf8(label);
  qsizetype typed = 0;
  Canvas picture(600, 220);
  if (k > 1 && !picture.SetCompanion(k)) {
    st.SkipWithError("no companion");
    return;
  }
  picture.Font.setPointSizeF(12);
  // Something on the picture already, as when a figure is being labelled.
  picture.Box(30, 30, 570, 190);
  picture.Line(30, 110, 570, 110);
  PicturePair backing;
  picture.CopyInto(backing);
  for (auto _ : st) {
    picture.Restore(backing);
    typed = typed % text.size() + 1;
    picture.TextOutA(40, 60, typing ? text.left(typed) : text);
    benchmark::DoNotOptimize(picture.Damage());
  }
}

constexpr const char* kMarkup = "F_1 = m_1a, v_t = v_0 + at, E_k = mv^2/2";

}  // namespace

// 40 characters with six subscripts and superscripts, and the 34 characters they show.
BENCHMARK_CAPTURE(TextPreview, Markup/40chars, kMarkup, 1, false);
BENCHMARK_CAPTURE(TextPreview, Plain/40chars, "F1 = m1a, vt = v0 + at, Ek = mv2/2", 1, false);
BENCHMARK_CAPTURE(TextPreview, Typing/40chars, kMarkup, 4, true);
