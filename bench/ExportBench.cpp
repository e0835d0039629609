// The picture as it leaves for paper: the trimmed PNG of its companion at four times the detail
// (导出高清图像) against the same picture's PNG at 1x, and the picture saved and opened with its
// companion (保存 as PNG, 打开). A 600 x 220 picture full of library figures, each drawn as a drag
// draws it and committed to the companion at its release; everything encoded to memory by our PNG
// writer at zlib's default compression. Targets: ExportHd within 20 x ExportPlain (16 x the
// pixels); SavePngWithDetail within 2 x ExportHd and OpenPngWithDetail within 1 x ExportHd; the
// saved file at most 3 x the trimmed export + 4 KB (its counter `withinSize` is 1 when it is).
#include <benchmark/benchmark.h>

#include <QImage>
#include <vector>

#include "document/PictureFiles.h"
#include "document/PictureFormats.h"
#include "document/PngFormat.h"
#include "document/PrintPicture.h"
#include "figures/Canvas.h"
#include "figures/DrawFigure.h"
#include "figures/ToolTable.h"
#include "workspace/ToolCatalogue.h"

namespace {

// 36 library figures in a 12 x 3 grid of 50 x 73 cells, spread over the library.
const Canvas& FullPicture() {
  static const Canvas picture = [] {
    Canvas canvas(600, 220);
    canvas.SetCompanion(4);
    std::vector<const ToolFigure*> library;
    for (const ToolFigure& f : FiguresWithRoutines())
      if (IsLibraryFigure(f)) library.push_back(&f);
    constexpr int kCells = 36;
    for (int i = 0; i < kCells && !library.empty(); ++i) {
      const ToolFigure& f = *library[i * library.size() / kCells];
      const double x = (i % 12) * 50, y = (i / 12) * 73;
      DragGeometry g;
      g.PressPoint = {x + 4, y + 4};
      g.CurrentPoint = {x + 46, y + 69};
      DrawFigure(canvas, g, ToolNumber(f.id), DefaultParameters(ToolNumber(f.id)));
      canvas.CommitCompanion();
    }
    return canvas;
  }();
  return picture;
}

void BM_ExportHd(benchmark::State& state) {
  const Canvas& picture = FullPicture();
  if (picture.k() != 4 || picture.Companion().isNull()) {
    state.SkipWithError("no companion at k = 4");
    return;
  }
  size_t bytes = 0;
  for (auto _ : state) {
    const PrintPicture out = PrintPictureOf(picture.Raster(), picture.Companion(), picture.k(), InkRect(picture.Raster()));
    const QByteArray png = WritePng(out.image, out.DotsPerMetre());
    bytes = size_t(png.size());
    benchmark::DoNotOptimize(png.constData());
  }
  state.counters["bytes"] = double(bytes);
  // How full the picture is: its share of non-white pixels.
  const QImage& raster = picture.Raster();
  qint64 ink = 0;
  for (int y = 0; y < raster.height(); ++y)
    for (int x = 0; x < raster.width(); ++x) ink += (raster.pixel(x, y) | 0xFF000000u) != 0xFFFFFFFFu;
  state.counters["ink"] = double(ink) / (raster.width() * raster.height());
}

void BM_ExportPlain(benchmark::State& state) {
  const Canvas& picture = FullPicture();
  size_t bytes = 0;
  for (auto _ : state) {
    const QByteArray png = WritePng(picture.Raster(), DotsPerMetreAt(1));
    bytes = size_t(png.size());
    benchmark::DoNotOptimize(png.constData());
  }
  state.counters["bytes"] = double(bytes);
}

// The trimmed export's file, for the saved file's size bound.
qsizetype ExportBytes(const Canvas& picture) {
  const PrintPicture out = PrintPictureOf(picture.Raster(), picture.Companion(), picture.k(), InkRect(picture.Raster()));
  return WritePng(out.image, out.DotsPerMetre()).size();
}

void BM_SavePngWithDetail(benchmark::State& state) {
  const Canvas& picture = FullPicture();
  const PictureFormat& png = FormatNamed(QStringLiteral("PNG"));
  qsizetype bytes = 0;
  for (auto _ : state) {
    const QByteArray file = EncodePicture(picture.Pair(), png, kScreenDotsPerMetre, false);
    bytes = file.size();
    benchmark::DoNotOptimize(file.constData());
  }
  const qsizetype exported = ExportBytes(picture);
  state.counters["bytes"] = double(bytes);
  state.counters["exportBytes"] = double(exported);
  state.counters["withinSize"] = bytes <= 3 * exported + 4096 ? 1 : 0;
}

void BM_OpenPngWithDetail(benchmark::State& state) {
  const Canvas& picture = FullPicture();
  const QByteArray file = EncodePicture(picture.Pair(), FormatNamed(QStringLiteral("PNG")), kScreenDotsPerMetre, false);
  for (auto _ : state) {
    const PictureRead read = ReadPicture(file);
    if (read.detail != CompanionVerdict::Restored) state.SkipWithError("the companion was not restored");
    benchmark::DoNotOptimize(read.companion.constBits());
  }
}

}  // namespace

BENCHMARK(BM_SavePngWithDetail)->Name("SavePngWithDetail/600x220")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenPngWithDetail)->Name("OpenPngWithDetail/600x220")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportHd)->Name("ExportHd/600x220")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportPlain)->Name("ExportPlain/600x220")->Unit(benchmark::kMillisecond);
