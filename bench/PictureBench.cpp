// Picture files: our bitmap reader and writer, the JPEG reader and the PNG reader and writer
// against well-known code, in one run. Every contender produces a fresh picture at each step, as opening a file does, so each pays
// the same first touch of new memory.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

#include "document/BitmapWriter.h"
#include "document/PictureFiles.h"
#include "document/PictureFormats.h"
#include "support/JpegWriter.h"

#ifdef QM_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#endif

#ifdef QM_HAVE_STB
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb/stb_image.h>
#pragma GCC diagnostic pop
#endif

namespace {

// A photo-like picture: a smooth gradient with noise, so that neither codec meets flat areas.
QImage PhotoLike(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  quint32 seed = 12345;
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < w; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int n = int(seed >> 28) - 8;
      row[x] = qRgb(qBound(0, x * 255 / w + n, 255), qBound(0, y * 255 / h + n, 255),
                    qBound(0, (x + y) * 127 / (w + h) + 64 + n, 255));
    }
  }
  return image;
}

const QImage& Picture4096() {
  static const QImage image = PhotoLike(4096, 4096);
  return image;
}

const QByteArray& Bitmap4096() {
  static const QByteArray bytes = WriteBitmap(Picture4096());
  return bytes;
}

// The PNG file of the 4096² picture, as Qt writes it at its default compression level (which our
// writer uses too).
const QByteArray& Png4096() {
  static const QByteArray bytes = [] {
    QByteArray b;
    QBuffer buffer(&b);
    buffer.open(QIODevice::WriteOnly);
    Picture4096().save(&buffer, "PNG");
    return b;
  }();
  return bytes;
}

// The same picture at 16 bits a sample (v x 257), as Qt writes a 64-bit picture.
const QByteArray& Png16_4096() {
  static const QByteArray bytes = [] {
    QByteArray b;
    QBuffer buffer(&b);
    buffer.open(QIODevice::WriteOnly);
    Picture4096().convertToFormat(QImage::Format_RGBX64).save(&buffer, "PNG");
    return b;
  }();
  return bytes;
}

const PictureFormat& PngFormat() { return *FormatOfFileName(QStringLiteral("a.png")); }

const QByteArray& Jpeg12MP() {
  static const QByteArray bytes = [] {
    const QImage image = PhotoLike(4000, 3000);
    picture_test::JpegRecipe recipe;
    recipe.width = 4000;
    recipe.height = 3000;
    recipe.components = 4;
    recipe.input = JCS_EXT_BGRX;
    recipe.quality = 90;
    recipe.pixel = [&image](int x, int y, uchar* p) { std::memcpy(p, image.constScanLine(y) + 4 * x, 4); };
    return picture_test::MakeJpeg(recipe);
  }();
  return bytes;
}

void BmpDecodeOurs(benchmark::State& state) {
  const QByteArray& bytes = Bitmap4096();
  for (auto _ : state) {
    PictureRead r = ReadPicture(bytes);
    if (!r.ok()) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(r.image.constBits());
  }
}

void BmpDecodeQt(benchmark::State& state) {
  const QByteArray& bytes = Bitmap4096();
  for (auto _ : state) {
    QImage image = QImage::fromData(bytes, "BMP");
    if (image.isNull()) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(image.constBits());
  }
}

void BmpEncodeOurs(benchmark::State& state) {
  const QImage& image = Picture4096();
  for (auto _ : state) {
    QByteArray bytes = EncodeBitmap(image);
    benchmark::DoNotOptimize(bytes.constData());
  }
}

void BmpEncodeQt(benchmark::State& state) {
  const QImage& image = Picture4096();
  for (auto _ : state) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    benchmark::DoNotOptimize(bytes.constData());
  }
}

void JpegDecodeOurs(benchmark::State& state) {
  const QByteArray& bytes = Jpeg12MP();
  for (auto _ : state) {
    PictureRead r = ReadPicture(bytes);
    if (!r.ok()) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(r.image.constBits());
  }
}

void JpegDecodeQt(benchmark::State& state) {
  const QByteArray& bytes = Jpeg12MP();
  for (auto _ : state) {
    QImage image = QImage::fromData(bytes, "JPEG");
    if (image.isNull()) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(image.constBits());
  }
}

void PngDecodeOurs(benchmark::State& state) {
  const QByteArray& bytes = Png4096();
  for (auto _ : state) {
    PictureRead r = ReadPicture(bytes);
    if (!r.ok()) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(r.image.constBits());
  }
}

void PngDecode16Ours(benchmark::State& state) {
  const QByteArray& bytes = Png16_4096();
  if (bytes.size() < 26 || bytes[24] != 16) {
    state.SkipWithError("the test picture is not 16-bit");
    return;
  }
  for (auto _ : state) {
    PictureRead r = ReadPicture(bytes);
    if (!r.ok()) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(r.image.constBits());
  }
}

void PngDecodeQt(benchmark::State& state) {
  const QByteArray& bytes = Png4096();
  for (auto _ : state) {
    QImage image = QImage::fromData(bytes, "PNG");
    if (image.isNull()) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(image.constBits());
  }
}

void PngEncodeOurs(benchmark::State& state) {
  const QImage& image = Picture4096();
  for (auto _ : state) {
    QByteArray bytes = EncodePicture(image, PngFormat());
    if (bytes.isEmpty()) state.SkipWithError("encode failed");
    benchmark::DoNotOptimize(bytes.constData());
  }
}

void PngEncodeQt(benchmark::State& state) {
  const QImage& image = Picture4096();
  for (auto _ : state) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    benchmark::DoNotOptimize(bytes.constData());
  }
}

#ifdef QM_HAVE_OPENCV
void BmpDecodeOpenCV(benchmark::State& state) {
  const QByteArray& bytes = Bitmap4096();
  const cv::Mat input(1, int(bytes.size()), CV_8UC1, const_cast<char*>(bytes.constData()));
  for (auto _ : state) {
    cv::Mat image = cv::imdecode(input, cv::IMREAD_COLOR);
    if (image.empty()) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(image.data);
  }
}

void BmpEncodeOpenCV(benchmark::State& state) {
  const QImage& picture = Picture4096();
  cv::Mat image(picture.height(), picture.width(), CV_8UC3);
  for (int y = 0; y < picture.height(); ++y) {
    const auto* s = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    auto* d = image.ptr<uchar>(y);
    for (int x = 0; x < picture.width(); ++x, d += 3) {
      d[0] = uchar(qBlue(s[x]));
      d[1] = uchar(qGreen(s[x]));
      d[2] = uchar(qRed(s[x]));
    }
  }
  for (auto _ : state) {
    std::vector<uchar> bytes;
    cv::imencode(".bmp", image, bytes);
    benchmark::DoNotOptimize(bytes.data());
  }
}
#endif

#ifdef QM_HAVE_STB
void BmpDecodeStb(benchmark::State& state) {
  const QByteArray& bytes = Bitmap4096();
  for (auto _ : state) {
    int w = 0, h = 0, n = 0;
    stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.constData()),
                                            int(bytes.size()), &w, &h, &n, 0);
    if (!pixels) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(pixels);
    stbi_image_free(pixels);
  }
}
#endif

const bool kRegistered = [] {
  auto ms = [](benchmark::internal::Benchmark* b) { b->Unit(benchmark::kMillisecond)->UseRealTime(); };
  ms(benchmark::RegisterBenchmark("BmpDecode/Ours/4096", BmpDecodeOurs));
#ifdef QM_HAVE_OPENCV
  ms(benchmark::RegisterBenchmark("BmpDecode/OpenCV/4096", BmpDecodeOpenCV));
#endif
#ifdef QM_HAVE_STB
  ms(benchmark::RegisterBenchmark("BmpDecode/Stb/4096", BmpDecodeStb));
#endif
  ms(benchmark::RegisterBenchmark("BmpDecode/Qt/4096", BmpDecodeQt));
  ms(benchmark::RegisterBenchmark("BmpEncode/Ours/4096", BmpEncodeOurs));
#ifdef QM_HAVE_OPENCV
  ms(benchmark::RegisterBenchmark("BmpEncode/OpenCV/4096", BmpEncodeOpenCV));
#endif
  ms(benchmark::RegisterBenchmark("BmpEncode/Qt/4096", BmpEncodeQt));
  ms(benchmark::RegisterBenchmark("JpegDecode/Ours/12MP", JpegDecodeOurs));
  ms(benchmark::RegisterBenchmark("JpegDecode/Qt/12MP", JpegDecodeQt));
  ms(benchmark::RegisterBenchmark("PngDecode/Ours/4096", PngDecodeOurs));
  ms(benchmark::RegisterBenchmark("PngDecode/Qt/4096", PngDecodeQt));
  ms(benchmark::RegisterBenchmark("PngDecode16/Ours/4096", PngDecode16Ours));
  ms(benchmark::RegisterBenchmark("PngEncode/Ours/4096", PngEncodeOurs));
  ms(benchmark::RegisterBenchmark("PngEncode/Qt/4096", PngEncodeQt));
  return true;
}();

}  // namespace
