// Taking the recovery copy, as the interface thread pays for it: the implicitly shared copies of
// the picture and its companion (with the note) taken when the copy is due, and the copy-on-write
// of both at the next edit, made while the writer's thread still holds them (the worst case: an
// edit within the encoding's time). The yardstick, in the same benchmark: one plain copy of the
// companion's bytes into a buffer of its size. Target: `ratio` (medians, ours over the yardstick)
// at most 1.5.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <vector>

#include "figures/Canvas.h"
#include "workspace/RecoveryKeeper.h"

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

void RecoverySnapshot(benchmark::State& st) {
  Canvas canvas(600, 220);
  if (!canvas.SetCompanion(4) || canvas.k() != 4) {
    st.SkipWithError("no companion at k = 4");
    return;
  }
  canvas.Line(10, 10, 590, 210);
  canvas.Ellipse(100, 20, 400, 200);
  canvas.CommitCompanion();
  const qsizetype bytes = canvas.Companion().sizeInBytes();
  std::vector<uchar> plain(size_t(bytes), 0);
  using Clock = std::chrono::steady_clock;
  std::vector<double> ours, yardstick;
  int step = 0;
  for (auto _ : st) {
    const auto y0 = Clock::now();
    std::memcpy(plain.data(), canvas.Companion().constBits(), size_t(bytes));
    benchmark::DoNotOptimize(plain.data());
    const auto y1 = Clock::now();

    const auto t0 = Clock::now();
    std::optional<RecoveryKeeper::Copy> held;
    RecoveryNote note;
    note.fileName = QStringLiteral("/home/teacher/incline.png");
    note.caption = QStringLiteral("※Quillmere※～～") + note.fileName;
    note.formatName = QStringLiteral("PNG");
    note.taken = QDateTime::currentDateTimeUtc();
    held = RecoveryKeeper::Copy{canvas.Pair(), note};
    // The next edit: one pixel, committed to the companion as a release does.
    canvas.PSet(20 + step % 500, 100);
    canvas.CommitCompanion();
    benchmark::DoNotOptimize(canvas.Companion().constBits());
    const auto t1 = Clock::now();
    held.reset();  // the writer is done with it
    ++step;

    const double t = std::chrono::duration<double>(t1 - t0).count();
    ours.push_back(t);
    yardstick.push_back(std::chrono::duration<double>(y1 - y0).count());
    st.SetIterationTime(t);
  }
  st.counters["companionMB"] = double(bytes) / (1 << 20);
  st.counters["plainCopyUs"] = Median(yardstick) * 1e6;
  st.counters["ratio"] = Median(ours) / Median(yardstick);
}

}  // namespace

BENCHMARK(RecoverySnapshot)->Name("RecoverySnapshot/600x220")->UseManualTime()->Unit(benchmark::kMicrosecond);
