#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "document/BitmapReader.h"
#include "document/JpegReader.h"
#include "document/PictureFiles.h"
#include "document/PictureTestFiles.h"
#include "document/PngTestFiles.h"
#include "support/JpegWriter.h"

using namespace picture_test;

namespace {

// A smooth picture that survives compression closely.
QRgb Smooth(int x, int y) { return qRgb(x * 6, y * 10, 128 + x - y); }

void SmoothRgb(int x, int y, uchar* p) {
  const QRgb c = Smooth(x, y);
  p[0] = uchar(qRed(c));
  p[1] = uchar(qGreen(c));
  p[2] = uchar(qBlue(c));
}

// The largest difference of any channel between the picture and `expected`; every pixel opaque.
int MaxDifference(const QImage& image, const std::function<QRgb(int, int)>& expected) {
  int worst = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb a = image.pixel(x, y), b = expected(x, y);
      if (qAlpha(a) != 255) return 1000;
      worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                        std::abs(qBlue(a) - qBlue(b))});
    }
  return worst;
}

struct ColorCase {
  const char* name;
  JpegRecipe recipe;
  std::function<QRgb(int, int)> expected;
  bool compareWithQt;
};

std::vector<ColorCase> ColorCases() {
  JpegRecipe baseline;
  baseline.pixel = SmoothRgb;
  JpegRecipe progressive = baseline;
  progressive.progressive = true;
  JpegRecipe grey;
  grey.input = JCS_GRAYSCALE;
  grey.components = 1;
  grey.pixel = [](int x, int y, uchar* p) { p[0] = uchar(x * 5 + y); };
  // Adobe's convention: CMYK stored inverted, 255 meaning no ink. With no black ink the cyan,
  // magenta and yellow samples read back as red, green and blue.
  JpegRecipe cmyk;
  cmyk.input = JCS_CMYK;
  cmyk.components = 4;
  cmyk.stored = JCS_CMYK;
  cmyk.pixel = [](int x, int y, uchar* p) {
    SmoothRgb(x, y, p);
    p[3] = y < 10 ? 255 : 128;  // the lower part half black
  };
  JpegRecipe ycck = cmyk;
  ycck.stored = JCS_YCCK;
  auto cmykExpected = [](int x, int y) {
    const QRgb c = Smooth(x, y);
    const int k = y < 10 ? 255 : 128;
    return qRgb((qRed(c) * k + 127) / 255, (qGreen(c) * k + 127) / 255, (qBlue(c) * k + 127) / 255);
  };
  return {
      {"Baseline", baseline, Smooth, true},
      {"Progressive", progressive, Smooth, true},
      {"Greyscale", grey, [](int x, int y) { return qRgb(x * 5 + y, x * 5 + y, x * 5 + y); }, true},
      {"AdobeCmyk", cmyk, cmykExpected, false},
      {"AdobeYcck", ycck, cmykExpected, false},
  };
}

TEST(JpegReader, DecodesEveryColourKindToOpaqueRgb) {
  for (const ColorCase& c : ColorCases()) {
    const QByteArray file = MakeJpeg(c.recipe);
    const PictureRead r = ReadPicture(file);
    ASSERT_TRUE(r.ok()) << c.name << ": " << r.error.toStdString();
    ASSERT_EQ(r.image.format(), QImage::Format_RGB32);
    ASSERT_EQ(r.image.size(), QSize(c.recipe.width, c.recipe.height)) << c.name;
    EXPECT_LE(MaxDifference(r.image, c.expected), 6) << c.name;
    if (c.compareWithQt) {
      QImage qt;
      ASSERT_TRUE(qt.loadFromData(file, "JPEG"));
      qt = qt.convertToFormat(QImage::Format_RGB32);
      EXPECT_LE(MaxDifference(r.image, [&](int x, int y) { return qt.pixel(x, y); }), 1) << c.name;
    }
  }
}

TEST(JpegReader, DamagedFilesGetAReason) {
  JpegRecipe recipe;
  recipe.width = 64;
  recipe.height = 48;
  recipe.pixel = [](int x, int y, uchar* p) { p[0] = uchar(x * 4); p[1] = uchar(x * y); p[2] = uchar(y * 5); };
  const QByteArray good = MakeJpeg(recipe);
  const qsizetype sof = good.indexOf("\xFF\xC0");
  ASSERT_GT(sof, 0);
  QByteArray wide = good;
  wide[sof + 7] = char(0x50);  // width 0x5000 = 20480
  wide[sof + 8] = char(0x00);
  QByteArray zeroHigh = good;
  zeroHigh[sof + 5] = 0;
  zeroHigh[sof + 6] = 0;
  QByteArray garbage = good.left(3);
  for (int i = 0; i < 500; ++i) garbage.append(char((i * 7919) >> 3));
  recipe.progressive = true;
  const QByteArray progressive = MakeJpeg(recipe);
  const struct {
    const char* name;
    QByteArray bytes;
    const char* message;
  } cases[] = {
      // Cut off before any scan data (a file cut inside its scans is read in part, below).
      {"HeaderOnly", good.left(sof + 4), "JPEG 图像已损坏"},
      {"NoScanData", good.left(good.indexOf("\xFF\xDA") + 2 + 12), "JPEG 图像已损坏：文件不完整"},
      {"ProgressiveNoScanData", progressive.left(progressive.indexOf("\xFF\xDA") + 2 + 12),
       "JPEG 图像已损坏：文件不完整"},
      {"TooWide", wide, "图像尺寸过大（超过 16384 像素）"},
      {"ZeroHeight", zeroHigh, "JPEG 图像已损坏"},
      {"Garbage", garbage, "JPEG 图像已损坏"},
  };
  for (const auto& c : cases) {
    const PictureRead r = ReadPicture(c.bytes);
    EXPECT_FALSE(r.ok()) << c.name;
    EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.message))) << c.name << ": " << r.error.toStdString();
  }
  // Within the side limit but above the budget of the caller.
  const auto* d = reinterpret_cast<const uchar*>(good.constData());
  EXPECT_TRUE(ReadJpeg(d, good.size(), 64 * 48).ok());
  EXPECT_TRUE(ReadJpeg(d, good.size(), 64 * 48 - 1).error.contains(QStringLiteral("图像过大")));
}

// Every prefix of a file is refused with a reason while it ends before the first scan's data, and
// read in part after that; without only its end marker it is the whole picture.
TEST(JpegReader, EveryPrefixOfAFileIsReadOrRefusedWithoutHarm) {
  JpegRecipe recipe;
  recipe.width = 19;
  recipe.height = 11;
  recipe.progressive = true;
  recipe.pixel = SmoothRgb;
  const QByteArray file = MakeJpeg(recipe);
  const QImage whole = ReadPicture(file).image;
  const qsizetype scanData = file.indexOf("\xFF\xDA") + 2 + (uchar(file[file.indexOf("\xFF\xDA") + 2]) << 8 |
                                                                uchar(file[file.indexOf("\xFF\xDA") + 3]));
  for (qsizetype n = 0; n < file.size(); ++n) {
    const QByteArray cut(file.constData(), n);
    const PictureRead r = ReadPicture(cut);
    if (n <= scanData) {
      EXPECT_FALSE(r.ok()) << n;
      EXPECT_FALSE(r.error.isEmpty()) << n;
    } else if (n < file.size() - 2) {
      ASSERT_TRUE(r.ok()) << n << ": " << r.error.toStdString();
      EXPECT_TRUE(r.partial) << n;
      EXPECT_EQ(r.image.size(), whole.size()) << n;
    } else {
      EXPECT_FALSE(r.partial) << n;
      EXPECT_EQ(r.image, whole) << n;
    }
  }
}

// A download interrupted just before the end marker still holds the whole picture, whatever
// produced it; one interrupted in the middle shows its upper part and mid grey below, as libjpeg
// leaves the blocks it could not read.
TEST(JpegReader, FileWithoutItsEndMarkerIsWholeAndOneCutEarlierIsReadInPart) {
  JpegRecipe baseline;
  baseline.width = 64;
  baseline.height = 96;
  baseline.pixel = SmoothRgb;
  JpegRecipe progressive = baseline;
  progressive.progressive = true;
  JpegRecipe full = baseline;
  full.fullResolution = true;
  full.quality = 85;
  JpegRecipe grey = baseline;
  grey.input = JCS_GRAYSCALE;
  grey.components = 1;
  grey.pixel = [](int x, int y, uchar* p) { p[0] = uchar(x * 3 + y); };
  const struct {
    const char* name;
    JpegRecipe recipe;
  } cases[] = {{"Baseline", baseline}, {"Progressive", progressive}, {"FullResolution", full}, {"Greyscale", grey}};
  for (const auto& c : cases) {
    const QByteArray file = MakeJpeg(c.recipe);
    ASSERT_TRUE(file.endsWith("\xFF\xD9")) << c.name;
    const PictureRead whole = ReadPicture(file);
    ASSERT_TRUE(whole.ok()) << c.name;
    EXPECT_FALSE(whole.partial) << c.name;
    const PictureRead noEnd = ReadPicture(file.left(file.size() - 2));
    ASSERT_TRUE(noEnd.ok()) << c.name << ": " << noEnd.error.toStdString();
    EXPECT_FALSE(noEnd.partial) << c.name;
    EXPECT_EQ(noEnd.image, whole.image) << c.name;

    const PictureRead cut = ReadPicture(file.left(file.size() / 2));
    ASSERT_TRUE(cut.ok()) << c.name << ": " << cut.error.toStdString();
    EXPECT_TRUE(cut.partial) << c.name;
    ASSERT_EQ(cut.image.size(), whole.image.size()) << c.name;
    if (c.recipe.progressive) continue;  // its first scans cover the whole picture, coarsely
    // Rows down to the cut are the file's; from at most two block rows below it on, all grey.
    const QImage& p = cut.image;
    int firstDifferent = 0;
    while (firstDifferent < p.height() && p.copy(0, firstDifferent, p.width(), 1) ==
                                              whole.image.copy(0, firstDifferent, p.width(), 1))
      ++firstDifferent;
    int firstGrey = p.height();
    while (firstGrey > 0) {
      bool grey = true;
      for (int x = 0; x < p.width(); ++x) grey = grey && p.pixel(x, firstGrey - 1) == qRgb(128, 128, 128);
      if (!grey) break;
      --firstGrey;
    }
    EXPECT_GE(firstDifferent, 16) << c.name;
    EXPECT_LE(firstGrey - firstDifferent, 32) << c.name;
    EXPECT_LE(firstGrey, p.height() - 16) << c.name;
  }
}

// Every pixel the reader hands on is one it wrote (the grey of a part that was never in the file
// included): pictures read into memory filled with two different poison patterns are equal, for
// every colour kind, whole and cut in their scans, at odd sizes.
TEST(JpegReader, EveryPixelHandedOnIsWrittenByTheReader) {
  for (const ColorCase& c : ColorCases()) {
    JpegRecipe recipe = c.recipe;
    recipe.width = 53;
    recipe.height = 41;
    const QByteArray file = MakeJpeg(recipe);
    for (const qsizetype size : {file.size(), file.size() * 2 / 3}) {
      SetNewPictureFill(0x00000000);
      const PictureRead a = ReadPicture(file.left(size));
      SetNewPictureFill(0xFFFFFFFF);
      const PictureRead b = ReadPicture(file.left(size));
      SetNewPictureFill(-1);
      ASSERT_TRUE(a.ok() && b.ok()) << c.name << ": " << a.error.toStdString();
      EXPECT_EQ(a.image, b.image) << c.name << " of " << size << " bytes";
    }
  }
}

// Writes the fuzzers' seed pictures when QM_WRITE_FUZZ_CORPUS names the corpus folder
// (fuzz/corpus): small bitmaps of every kind the reader knows, a few JPEG images and a few PNG
// pictures (RGB, palette with transparency, 16-bit, grey and alpha, interlaced).
TEST(FuzzCorpus, WritesSeedPicturesWhenAsked) {
  const QString root = qEnvironmentVariable("QM_WRITE_FUZZ_CORPUS");
  if (root.isEmpty()) GTEST_SKIP() << "set QM_WRITE_FUZZ_CORPUS to write the seed pictures";
  QDir().mkpath(root + "/bmp");
  QDir().mkpath(root + "/jpeg");
  QDir().mkpath(root + "/png");
  auto save = [](const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  };
  std::vector<quint32> palette;
  for (int i = 0; i < 256; ++i) palette.push_back(quint32(i * 0x010203));
  auto indexed = [&](int header, int bits, int w, int h, bool topDown) {
    BmpLayout s;
    s.headerSize = header;
    s.width = w;
    s.height = topDown ? -h : h;
    s.bits = bits;
    s.palette.assign(palette.begin(), palette.begin() + (1 << bits));
    s.pixels = PackRows(w, h, bits, [&](int x, int y) { return quint32(x + y) % (1u << bits); }, topDown);
    return BuildBmp(s);
  };
  int n = 0;
  auto bmp = [&](const QByteArray& b) { save(QStringLiteral("%1/bmp/seed%2.bmp").arg(root).arg(n++, 2, 10, QChar('0')), b); };
  for (int bits : {1, 2, 4, 8}) bmp(indexed(40, bits, 9, 5, false));
  bmp(indexed(12, 8, 6, 4, false));
  bmp(indexed(64, 4, 6, 4, false));
  bmp(indexed(124, 8, 5, 3, true));
  for (int bits : {16, 24, 32}) {
    BmpLayout s;
    s.width = 7;
    s.height = -3;
    s.bits = bits;
    s.pixels = PackRows(7, 3, bits, [](int x, int y) { return quint32(x * 0x1234567 + y * 0x89ABC); }, true);
    bmp(BuildBmp(s));
    if (bits != 24) {
      s.compression = 3;
      s.masksAfterHeader = bits == 16;
      s.headerSize = bits == 16 ? 40 : 56;
      s.masks = bits == 16 ? std::vector<quint32>{0xF800, 0x7E0, 0x1F} : std::vector<quint32>{0xFF0000, 0xFF00, 0xFF, 0xFF000000};
      bmp(BuildBmp(s));
    }
  }
  for (bool rle4 : {false, true}) {
    BmpLayout s;
    s.width = 7;
    s.height = 4;
    s.bits = rle4 ? 4 : 8;
    s.compression = rle4 ? 2 : 1;
    s.palette.assign(palette.begin(), palette.begin() + 16);
    const char stream[] = {3, 5, 0, 0, 0, 3, 1, 2, 3, 0, 0, 2, 1, 1, 2, 7, 0, 0, 0, 1};
    s.pixels = QByteArray(stream, sizeof stream);
    bmp(BuildBmp(s));
  }
  n = 0;
  for (const ColorCase& c : ColorCases()) {
    JpegRecipe recipe = c.recipe;
    recipe.quality = 75;
    recipe.width = 16 + n;
    recipe.height = 9 + n;
    save(QStringLiteral("%1/jpeg/seed%2.jpg").arg(root).arg(n++, 2, 10, QChar('0')), MakeJpeg(recipe));
  }
  n = 0;
  auto png = [&](int colorType, int depth, bool interlaced, int w, int h) {
    PngLayout s;
    s.width = w;
    s.height = h;
    s.colorType = colorType;
    s.bitDepth = depth;
    s.interlaced = interlaced;
    const quint32 max = (1u << depth) - 1;
    s.sample = [max](int x, int y, int c) { return quint32(x * 37 + y * 11 + c * 71) * 2654435761u % (max + 1); };
    if (colorType == 3) {
      for (int i = 0; i < 16; ++i) s.palette.push_back(quint32(i) * 0x0F1E2Du & 0xFFFFFF);
      s.sample = [](int x, int y, int) { return quint32(x + 3 * y) % 16; };
      s.transparency = QByteArray("\x00\x80\xFF\x40", 4);
    }
    save(QStringLiteral("%1/png/seed%2.png").arg(root).arg(n++, 2, 10, QChar('0')), MakePng(s));
  };
  png(2, 8, false, 7, 5);
  png(3, 4, false, 9, 4);
  png(2, 16, false, 5, 3);
  png(4, 8, false, 6, 6);
  png(6, 8, true, 11, 9);
  png(0, 1, true, 10, 3);
}

}  // namespace
