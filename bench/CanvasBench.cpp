// Canvas preview step (damage-limited restore against a full one), flood fill and selection
// rotation, against OpenCV where it is installed.
#include <benchmark/benchmark.h>

#include <QImage>

#include <cstring>

#include "editing/Rotation.h"
#include "figures/Canvas.h"

#ifdef QM_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace {

// A picture with some figures on it, the backing copy of a preview.
void Populate(Canvas& c) {
  for (int i = 0; i < 20; ++i) c.Line(i * 13 % c.Width(), 0, c.Width() - 1, i * 7 % c.Height());
  c.Circle(c.Width() / 2, c.Height() / 2, c.Height() / 3);
}

// One preview step: put the backing copy back, draw a 200 x 100 box.
void PreviewStep(benchmark::State& state, int w, int h, bool damageLimited) {
  Canvas c(w, h);
  Populate(c);
  QImage backing;
  c.CopyInto(backing);
  int k = 0;
  for (auto _ : state) {
    if (damageLimited) {
      c.Restore(backing);
    } else {
      c.SetPicture(backing);  // the whole picture back
    }
    const int x = 20 + (k++ % 50);
    c.BoxRel(x, 30, 199, 99);
    benchmark::DoNotOptimize(c.Raster().constBits());
  }
}

QImage WhitePicture(int side) {
  QImage img(side, side, QImage::Format_RGB32);
  img.fill(0xFFFFFFFFu);
  return img;
}

QImage CirclePicture() {
  Canvas c(4096, 4096);
  c.Circle(2048, 2048, 1500);
  return c.Image();
}

// One-pixel vertical corridors joined alternately at the top and the bottom.
QImage SerpentinePicture() {
  const int n = 2048;
  QImage img = WhitePicture(n);
  for (int x = 1; x < n; x += 2) {
    const bool openAtBottom = (x / 2) % 2 == 0;
    for (int y = 0; y < n; ++y) {
      if (openAtBottom && y == n - 1) continue;
      if (!openAtBottom && y == 0) continue;
      img.setPixel(x, y, 0xFF000000u);
    }
  }
  return img;
}

// Our fill: a canvas holding the picture, filled solid red from the centre. The copy of the
// picture before each fill is outside the timed region.
void OurFill(benchmark::State& state, const QImage& (*make)(), int sx, int sy) {
  const QImage& picture = make();
  Canvas c(picture.width(), picture.height());
  c.FillStyle = Canvas::kFillSolid;
  c.FillColor = qRgb(255, 0, 0);
  const QRgb target = picture.pixel(sx, sy);
  for (auto _ : state) {
    state.PauseTiming();
    c.SetPicture(picture);
    state.ResumeTiming();
    c.ExtFloodFill(sx, sy, target);
  }
  if (c.GetPixel(sx, sy) != qRgb(255, 0, 0)) state.SkipWithError("the fill did not happen");
}

const QImage& White4096() {
  static const QImage img = WhitePicture(4096);
  return img;
}
const QImage& Circle4096() {
  static const QImage img = CirclePicture();
  return img;
}
const QImage& Serpentine2048() {
  static const QImage img = SerpentinePicture();
  return img;
}

#ifdef QM_HAVE_OPENCV
// OpenCV's fill on the same picture as 8-bit three-channel pixels, 4-connected, exact colour,
// one thread; the copy before each fill is outside the timed region.
void CvFill(benchmark::State& state, const QImage& (*make)(), int sx, int sy) {
  const QImage& picture = make();
  cv::setNumThreads(1);
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
  const cv::Mat source(rgb.height(), rgb.width(), CV_8UC3, const_cast<uchar*>(rgb.constBits()),
                       static_cast<size_t>(rgb.bytesPerLine()));
  cv::Mat work = source.clone();
  for (auto _ : state) {
    state.PauseTiming();
    source.copyTo(work);
    state.ResumeTiming();
    cv::floodFill(work, cv::Point(sx, sy), cv::Scalar(0, 0, 255), nullptr, cv::Scalar(0, 0, 0),
                  cv::Scalar(0, 0, 0), 4);
  }
}
#endif

void RotateOurs(benchmark::State& state) {
  QImage base(1000, 1000, QImage::Format_RGB32);
  for (int y = 0; y < 1000; ++y)
    for (int x = 0; x < 1000; ++x) base.setPixel(x, y, qRgb(x & 255, y & 255, (x ^ y) & 255));
  QImage buffer;
  RenderRotation(base, 30, buffer);
  for (auto _ : state) {
    RenderRotation(base, 30, buffer);
    benchmark::DoNotOptimize(buffer.constBits());
  }
}

#ifdef QM_HAVE_OPENCV
void RotateOpenCV(benchmark::State& state) {
  cv::setNumThreads(1);
  cv::Mat base(1000, 1000, CV_8UC4);
  for (int y = 0; y < 1000; ++y)
    for (int x = 0; x < 1000; ++x) base.at<cv::Vec4b>(y, x) = cv::Vec4b(x & 255, y & 255, (x ^ y) & 255, 255);
  const int side = RotationSide(1000, 1000);  // the square RenderRotation fills
  // Turn about the square's centre, the selection's centre landing on it.
  cv::Mat m = cv::getRotationMatrix2D(cv::Point2f(500, 500), -30, 1.0);
  m.at<double>(0, 2) += side / 2 - 500;
  m.at<double>(1, 2) += side / 2 - 500;
  cv::Mat out(side, side, CV_8UC4);
  for (auto _ : state) {
    cv::warpAffine(base, out, m, cv::Size(side, side), cv::INTER_NEAREST, cv::BORDER_CONSTANT,
                   cv::Scalar(255, 255, 255, 255));
    benchmark::DoNotOptimize(out.data);
  }
}
#endif

}  // namespace

BENCHMARK_CAPTURE(PreviewStep, Damage/600x220, 600, 220, true)->Name("PreviewStep/Damage/600x220");
BENCHMARK_CAPTURE(PreviewStep, Full/600x220, 600, 220, false)->Name("PreviewStep/Full/600x220");
BENCHMARK_CAPTURE(PreviewStep, Damage/4096x4096, 4096, 4096, true)->Name("PreviewStep/Damage/4096x4096");
BENCHMARK_CAPTURE(PreviewStep, Full/4096x4096, 4096, 4096, false)->Name("PreviewStep/Full/4096x4096");

BENCHMARK_CAPTURE(OurFill, White4096, &White4096, 2048, 2048)
    ->Name("FloodFill/Ours/White4096")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OurFill, Circle4096, &Circle4096, 2048, 2048)
    ->Name("FloodFill/Ours/Circle4096")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OurFill, Serpentine2048, &Serpentine2048, 0, 0)
    ->Name("FloodFill/Ours/Serpentine2048")->Unit(benchmark::kMillisecond);
#ifdef QM_HAVE_OPENCV
BENCHMARK_CAPTURE(CvFill, White4096, &White4096, 2048, 2048)
    ->Name("FloodFill/OpenCV/White4096")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CvFill, Circle4096, &Circle4096, 2048, 2048)
    ->Name("FloodFill/OpenCV/Circle4096")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CvFill, Serpentine2048, &Serpentine2048, 0, 0)
    ->Name("FloodFill/OpenCV/Serpentine2048")->Unit(benchmark::kMillisecond);
#endif

BENCHMARK(RotateOurs)->Name("Rotate/Ours/1000")->Unit(benchmark::kMillisecond);
#ifdef QM_HAVE_OPENCV
BENCHMARK(RotateOpenCV)->Name("Rotate/OpenCV/1000")->Unit(benchmark::kMillisecond);
#endif
