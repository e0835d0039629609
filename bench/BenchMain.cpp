// quillmere_bench's main(): a QApplication on the offscreen platform (the window benchmarks build real widgets),
// then Google Benchmark.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "figures/PixelLanes.h"

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The windows' recovery copies go to a folder of the run's own, not to the user's.
  const QTemporaryDir stateFolder;
  if (stateFolder.isValid()) qputenv("XDG_STATE_HOME", stateFolder.path().toLocal8Bit());
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  // Which pixel loops the figures were built with: SSE2, NEON or scalar (QUILLMERE_PORTABLE).
  benchmark::AddCustomContext("pixel_lanes", PixelLanesPath());
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
