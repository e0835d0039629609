#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <array>
#include <bit>

#include "document/BitmapReader.h"
#include "document/PictureFiles.h"
#include "document/PictureTestFiles.h"

using namespace picture_test;

namespace {

// Sixteen distinct palette colours; entry i of a test palette.
quint32 PaletteColor(int i) { return quint32((i * 53 + 20) & 255) << 16 | quint32((i * 97 + 5) & 255) << 8 | quint32((255 - i * 31) & 255); }

std::vector<quint32> TestPalette(int count) {
  std::vector<quint32> p;
  for (int i = 0; i < count; ++i) p.push_back(PaletteColor(i));
  return p;
}

PictureRead Read(const QByteArray& b) { return ReadPicture(b); }

// Every pixel of `image` equals `expected(x, y)` (0xRRGGBB) and is opaque.
void ExpectPixels(const QImage& image, int w, int h, const std::function<quint32(int, int)>& expected) {
  ASSERT_FALSE(image.isNull());
  ASSERT_EQ(image.format(), QImage::Format_RGB32);
  ASSERT_EQ(image.width(), w);
  ASSERT_EQ(image.height(), h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(image.pixel(x, y), 0xFF000000u | expected(x, y)) << "at " << x << "," << y;
}

QImage QtRead(const QByteArray& b) {
  QImage image;
  image.loadFromData(b, "BMP");
  return image.convertToFormat(QImage::Format_RGB32);
}

struct PaletteCase {
  int headerSize;
  int bits;
};

class BitmapPaletteTest : public ::testing::TestWithParam<PaletteCase> {};

TEST_P(BitmapPaletteTest, ReadsIndexedPixelsOfEveryHeader) {
  const auto [headerSize, bits] = GetParam();
  for (int w : {1, 5, 9, 17}) {
    const int h = 3;
    const int colors = 1 << bits;
    auto index = [&](int x, int y) { return quint32((x + 3 * y) % colors); };
    BmpLayout s;
    s.headerSize = headerSize;
    s.width = w;
    s.height = h;
    s.bits = bits;
    s.palette = TestPalette(colors);
    s.pixels = PackRows(w, h, bits, index);
    const PictureRead r = Read(BuildBmp(s));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    ExpectPixels(r.image, w, h, [&](int x, int y) { return PaletteColor(int(index(x, y))); });
  }
}

INSTANTIATE_TEST_SUITE_P(Headers, BitmapPaletteTest,
                         ::testing::Values(PaletteCase{12, 1}, PaletteCase{12, 4}, PaletteCase{12, 8},
                                           PaletteCase{16, 4}, PaletteCase{64, 8}, PaletteCase{40, 1},
                                           PaletteCase{40, 2}, PaletteCase{40, 4}, PaletteCase{40, 8},
                                           PaletteCase{108, 8}, PaletteCase{124, 4}));

TEST(BitmapReader, ShortPaletteAndOutOfRangeIndicesDrawBlack) {
  BmpLayout s;
  s.width = 6;
  s.bits = 8;
  s.colorsUsed = 3;
  s.palette = TestPalette(3);
  s.pixels = PackRows(6, 1, 8, [](int x, int) { return quint32(x * 50); });  // 0, 50, 100, ...
  const PictureRead r = Read(BuildBmp(s));
  ASSERT_TRUE(r.ok()) << r.error.toStdString();
  ExpectPixels(r.image, 6, 1, [](int x, int) { return x == 0 ? PaletteColor(0) : 0u; });
}

TEST(BitmapReader, PaletteCountOfZeroOrTooLargeMeansAllEntries) {
  for (quint32 count : {0u, 0x80000000u, 0xFFFFFFFFu, 17u}) {
    BmpLayout s;
    s.width = 4;
    s.height = 4;
    s.bits = 4;
    s.colorsUsed = count;
    s.palette = TestPalette(16);
    s.pixels = PackRows(4, 4, 4, [](int x, int y) { return quint32(x + 4 * y); });
    const PictureRead r = Read(BuildBmp(s));
    ASSERT_TRUE(r.ok()) << count << r.error.toStdString();
    ExpectPixels(r.image, 4, 4, [](int x, int y) { return PaletteColor(x + 4 * y); });
  }
}

TEST(BitmapReader, PaletteCountLargerThanTheFileIsNotTrusted) {
  // Claims 256 entries but the pixels start after 2: only 2 are read, index 5 draws black.
  BmpLayout s;
  s.width = 2;
  s.bits = 8;
  s.colorsUsed = 256;
  s.palette = TestPalette(2);
  s.pixels = PackRows(2, 1, 8, [](int x, int) { return quint32(x ? 5 : 1); });
  const PictureRead r = Read(BuildBmp(s));
  ASSERT_TRUE(r.ok()) << r.error.toStdString();
  ExpectPixels(r.image, 2, 1, [](int x, int) { return x ? 0u : PaletteColor(1); });
}

struct DirectCase {
  const char* name;
  int headerSize;
  int bits;
  quint32 compression;
  std::vector<quint32> masks;
  bool masksAfterHeader;
  // raw pixel value of colour (r, g, b) with 8-bit channels, and the colour the reader gives back
  std::function<quint32(quint32, quint32, quint32)> pack;
  std::function<quint32(quint32, quint32, quint32)> expect;
};

quint32 Scale(quint32 v, int bits) { return (v * 255 + ((1u << bits) - 1) / 2) / ((1u << bits) - 1); }

std::vector<DirectCase> DirectCases() {
  auto rgb = [](quint32 r, quint32 g, quint32 b) { return r << 16 | g << 8 | b; };
  auto r555 = [](quint32 r, quint32 g, quint32 b) { return (r >> 3) << 10 | (g >> 3) << 5 | b >> 3; };
  auto e555 = [](quint32 r, quint32 g, quint32 b) {
    return Scale(r >> 3, 5) << 16 | Scale(g >> 3, 5) << 8 | Scale(b >> 3, 5);
  };
  auto r565 = [](quint32 r, quint32 g, quint32 b) { return (r >> 3) << 11 | (g >> 2) << 5 | b >> 3; };
  auto e565 = [](quint32 r, quint32 g, quint32 b) {
    return Scale(r >> 3, 5) << 16 | Scale(g >> 2, 6) << 8 | Scale(b >> 3, 5);
  };
  auto rgba = [](quint32 r, quint32 g, quint32 b) { return r << 24 | g << 16 | b << 8 | 0x7F; };
  auto r10 = [](quint32 r, quint32 g, quint32 b) { return (r << 2) << 20 | (g << 2) << 10 | (b << 2); };
  return {
      {"Bits24", 40, 24, 0, {}, false, rgb, rgb},
      {"Bits24Core", 12, 24, 0, {}, false, rgb, rgb},
      {"Bits32Default", 40, 32, 0, {}, false, [](quint32 r, quint32 g, quint32 b) { return 0x11000000u | r << 16 | g << 8 | b; }, rgb},
      {"Bits32Fields", 40, 32, 3, {0xFF000000, 0xFF0000, 0xFF00}, true, rgba, rgb},
      // The V4 header declares an alpha mask and the alpha is 0x7F: shown over white.
      {"Bits32FieldsV4", 108, 32, 3, {0xFF000000, 0xFF0000, 0xFF00, 0xFF}, false, rgba,
       [](quint32 r, quint32 g, quint32 b) {
         auto over = [](quint32 c) { return (c * 127 + 255 * 128 + 127) / 255; };
         return over(r) << 16 | over(g) << 8 | over(b);
       }},
      {"Bits32Ten", 124, 32, 3, {0x3FF00000, 0xFFC00, 0x3FF}, false, r10, rgb},
      {"Bits16Default", 40, 16, 0, {}, false, r555, e555},
      {"Bits16Fields565", 40, 16, 3, {0xF800, 0x7E0, 0x1F}, true, r565, e565},
      {"Bits16AlphaFields", 40, 16, 6, {0x7C00, 0x3E0, 0x1F, 0x8000}, true, r555, e555},
      {"Bits16Header52", 52, 16, 3, {0xF800, 0x7E0, 0x1F}, false, r565, e565},
      {"Bits16Header56", 56, 16, 3, {0x7C00, 0x3E0, 0x1F, 0x8000}, false, r555, e555},
  };
}

class BitmapDirectTest : public ::testing::TestWithParam<DirectCase> {};

TEST_P(BitmapDirectTest, ReadsPixelsBottomUpAndTopDown) {
  const DirectCase& c = GetParam();
  auto color = [](int x, int y) { return std::array<quint32, 3>{quint32(x * 40 + y) & 255, quint32(255 - x * 7 - y * 50) & 255, quint32(x * y * 9 + 3) & 255}; };
  for (bool topDown : {false, true}) {
    for (int w : {1, 3, 6}) {
      const int h = 4;
      BmpLayout s;
      s.headerSize = c.headerSize;
      s.width = w;
      s.height = topDown ? -h : h;
      s.bits = c.bits;
      s.compression = c.compression;
      s.masks = c.masks;
      s.masksAfterHeader = c.masksAfterHeader;
      if (topDown && c.headerSize == 12) continue;  // the core header has no top-down form
      s.pixels = PackRows(w, h, c.bits, [&](int x, int y) { auto k = color(x, y); return c.pack(k[0], k[1], k[2]); }, topDown);
      const QByteArray file = BuildBmp(s);
      const PictureRead r = Read(file);
      ASSERT_TRUE(r.ok()) << c.name << ": " << r.error.toStdString();
      ExpectPixels(r.image, w, h, [&](int x, int y) { auto k = color(x, y); return c.expect(k[0], k[1], k[2]); });
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, BitmapDirectTest, ::testing::ValuesIn(DirectCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Bitmaps with an alpha mask (ARGB8888, ARGB1555, ARGB4444): shown over white where the header
// declares the mask, unless the alpha is zero everywhere (writers that leave those bits empty);
// the fourth byte of a 32-bit bitmap without a mask is not alpha.
struct AlphaCase {
  const char* name;
  int headerSize;
  int bits;
  quint32 compression;
  std::vector<quint32> masks;  // red, green, blue (, alpha)
  bool masksAfterHeader;
  bool alphaEverywhereZero;
  bool shownOverWhite;
};

std::vector<AlphaCase> AlphaCases() {
  const std::vector<quint32> rgb{0xFF0000, 0xFF00, 0xFF}, argb{0xFF0000, 0xFF00, 0xFF, 0xFF000000};
  const std::vector<quint32> a1555{0x7C00, 0x3E0, 0x1F, 0x8000}, a4444{0xF00, 0xF0, 0xF, 0xF000};
  return {
      {"V5", 124, 32, 3, argb, false, false, true},
      {"V4", 108, 32, 3, argb, false, false, true},
      {"V3", 56, 32, 3, argb, false, false, true},
      {"InfoWithAlphaBitFields", 40, 32, 6, argb, true, false, true},
      {"V5AlphaAllZero", 124, 32, 3, argb, false, true, false},
      {"V5WithoutAlphaMask", 124, 32, 3, {0xFF0000, 0xFF00, 0xFF, 0}, false, false, false},
      {"V5PlainRgb", 124, 32, 0, argb, false, false, false},
      {"InfoPlainRgb", 40, 32, 0, {}, false, false, false},
      {"InfoBitFields", 40, 32, 3, rgb, true, false, false},
      {"V2", 52, 32, 3, rgb, false, false, false},
      {"Argb1555V5", 124, 16, 3, a1555, false, false, true},
      {"Argb4444V5", 124, 16, 3, a4444, false, false, true},
      {"Argb1555V3", 56, 16, 3, a1555, false, false, true},
      {"Argb4444InfoWithAlphaBitFields", 40, 16, 6, a4444, true, false, true},
      {"Argb1555AlphaAllZero", 124, 16, 3, a1555, false, true, false},
  };
}

// The channel `c8` (8 bits) as the bits of `mask` hold it, and as the reader scales it back.
quint32 Packed(quint32 c8, quint32 mask) {
  const int width = std::popcount(mask);
  return (c8 >> (8 - width)) << std::countr_zero(mask);
}
quint32 Unpacked(quint32 c8, quint32 mask) { return mask ? Scale(c8 >> (8 - std::popcount(mask)), std::popcount(mask)) : 0; }

BmpLayout AlphaBitmap(const AlphaCase& c) {
  BmpLayout s;
  s.headerSize = c.headerSize;
  s.width = 6;
  s.height = 5;
  s.bits = c.bits;
  s.compression = c.compression;
  s.masks = c.masks;
  s.masksAfterHeader = c.masksAfterHeader;
  return s;
}

TEST(BitmapReader, AlphaIsShownOverWhiteOnlyWhereTheHeaderDeclaresIt) {
  auto colour = [](int x, int y) { return std::array<quint32, 3>{quint32(x * 40 + y * 3), quint32(200 - x * 9), quint32(y * 60 + 5)}; };
  auto alphaOf = [](int x, int y) { return quint32((x * 51 + y * 85) % 256); };  // 0, 255 and between
  auto over = [](quint32 c, quint32 a) { return (c * a + 255 * (255 - a) + 127) / 255; };
  for (const AlphaCase& c : AlphaCases()) {
    SCOPED_TRACE(c.name);
    // Without masks a 32-bit pixel is 0xAARRGGBB and a 16-bit one 5-5-5.
    const std::vector<quint32> m = c.masks.size() >= 3 && c.compression != 0
                                       ? c.masks
                                       : std::vector<quint32>{0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    const quint32 alphaMask = m.size() > 3 ? m[3] : 0;
    BmpLayout s = AlphaBitmap(c);
    s.pixels = PackRows(6, 5, c.bits, [&](int x, int y) {
      const auto k = colour(x, y);
      return Packed(k[0], m[0]) | Packed(k[1], m[1]) | Packed(k[2], m[2]) |
             (c.alphaEverywhereZero || !alphaMask ? 0 : Packed(alphaOf(x, y), alphaMask));
    });
    const PictureRead r = Read(BuildBmp(s));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    ExpectPixels(r.image, 6, 5, [&](int x, int y) {
      const auto k = colour(x, y);
      const quint32 red = Unpacked(k[0], m[0]), green = Unpacked(k[1], m[1]), blue = Unpacked(k[2], m[2]);
      if (!c.shownOverWhite) return red << 16 | green << 8 | blue;
      const quint32 a = Unpacked(alphaOf(x, y), alphaMask);
      return over(red, a) << 16 | over(green, a) << 8 | over(blue, a);
    });
  }
}

// An RLE picture 7 wide and 4 high, written with every kind of instruction. Row 0 of the stream
// is the bottom row.
struct RleCase {
  bool rle4;
  QByteArray stream;
  std::vector<std::vector<int>> rowsBottomUp;  // expected indices; skipped pixels are index 0
  bool qtReadsIt = false;  // Qt reads RLE8 streams that stay inside the picture the same way
};

std::vector<RleCase> RleCases() {
  auto bytes = [](std::initializer_list<int> v) {
    QByteArray b;
    for (int x : v) b.append(char(x));
    return b;
  };
  return {
      // RLE8: a run, end of line; absolute run of 3 (padded); delta; end of bitmap.
      {false,
       bytes({3, 5, 2, 6, 0, 0,  // row 0: 5 5 5 6 6 . .
              0, 3, 1, 2, 3, 0, 1, 4, 0, 0,  // row 1: 1 2 3 4 . . .
              0, 2, 2, 1,  // delta right 2, up 1 -> row 3, x 2
              5, 9,  // row 3: x 2..6 gets 9
              0, 1}),
       {{5, 5, 5, 6, 6, 0, 0}, {1, 2, 3, 4, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}, {0, 0, 9, 9, 9, 9, 9}}},
      // RLE8 covering every pixel (skipped pixels are where readers differ).
      {false,
       bytes({3, 5, 4, 6, 0, 0, 0, 7, 1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 7, 2, 0, 0, 0, 3, 9, 8, 7, 0, 4, 1, 0, 1}),
       {{5, 5, 5, 6, 6, 6, 6}, {1, 2, 3, 4, 5, 6, 7}, {2, 2, 2, 2, 2, 2, 2}, {9, 8, 7, 1, 1, 1, 1}},
       true},
      // RLE8 runs past the right edge are cut there; a delta past the top ends the picture.
      {false,
       bytes({9, 3, 0, 0, 0, 8, 1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0, 2, 0, 9, 1, 1}),
       {{3, 3, 3, 3, 3, 3, 3}, {1, 2, 3, 4, 5, 6, 7}, {0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}}},
      // RLE4: alternating run; absolute run of 5 nibbles (3 bytes, padded to 4); delta; missing end.
      {true,
       bytes({5, 0x12, 0, 0,  // row 0: 1 2 1 2 1 . .
              0, 5, 0x34, 0x56, 0x70, 0, 2, 0xAB, 0, 0,  // row 1: 3 4 5 6 7 A B
              0, 2, 1, 1,  // to row 3, x 1
              3, 0xF0}),  // row 3: . F 0 F . . .
       {{1, 2, 1, 2, 1, 0, 0}, {3, 4, 5, 6, 7, 10, 11}, {0, 0, 0, 0, 0, 0, 0}, {0, 15, 0, 15, 0, 0, 0}}},
  };
}

TEST(BitmapReader, DecodesRleStreamsLikeTheirDefinition) {
  for (const RleCase& c : RleCases()) {
    BmpLayout s;
    s.width = 7;
    s.height = 4;
    s.bits = c.rle4 ? 4 : 8;
    s.compression = c.rle4 ? 2 : 1;
    s.palette = TestPalette(16);
    s.colorsUsed = 16;
    s.pixels = c.stream;
    const QByteArray file = BuildBmp(s);
    const PictureRead r = Read(file);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    ExpectPixels(r.image, 7, 4, [&](int x, int y) { return PaletteColor(c.rowsBottomUp[3 - y][x]); });
    if (c.qtReadsIt) {
      EXPECT_EQ(QtRead(file), r.image);
    }
  }
}

TEST(BitmapReader, RleStreamThatClaimsAHugePictureIsBoundedByTheBudget) {
  BmpLayout s;
  s.width = 11;
  s.height = 10;
  s.bits = 8;
  s.compression = 1;
  s.palette = TestPalette(2);
  s.pixels = QByteArray("\0\1", 2);
  const QByteArray file = BuildBmp(s);
  const auto* d = reinterpret_cast<const uchar*>(file.constData());
  EXPECT_TRUE(ReadBitmap(d, file.size(), 110).ok());
  const PictureRead r = ReadBitmap(d, file.size(), 109);
  EXPECT_FALSE(r.ok());
  EXPECT_TRUE(r.error.contains(QStringLiteral("图像过大"))) << r.error.toStdString();
}

QByteArray ValidFile() {
  BmpLayout s;
  s.width = 5;
  s.height = 3;
  s.bits = 24;
  s.pixels = PackRows(5, 3, 24, [](int x, int y) { return quint32(x * 1000 + y); });
  return BuildBmp(s);
}

struct BadCase {
  const char* name;
  std::function<void(QByteArray&)> damage;
  const char* message;  // part of the expected message
};

TEST(BitmapReader, RefusesLyingAndTruncatedHeadersWithAReason) {
  const std::vector<BadCase> cases = {
      {"HugeWidth", [](QByteArray& b) { Put32(b, 18, 20000); }, "图像尺寸过大（超过 16384 像素）"},
      {"HugeHeight", [](QByteArray& b) { Put32(b, 22, 0x7FFFFFFF); }, "图像尺寸过大"},
      {"MinimumHeight", [](QByteArray& b) { Put32(b, 22, 0x80000000u); }, "图像尺寸过大"},
      {"ZeroWidth", [](QByteArray& b) { Put32(b, 18, 0); }, "位图文件已损坏"},
      {"NegativeWidth", [](QByteArray& b) { Put32(b, 18, quint32(-5)); }, "位图文件已损坏"},
      {"ZeroHeight", [](QByteArray& b) { Put32(b, 22, 0); }, "位图文件已损坏"},
      {"WidthLargerThanData", [](QByteArray& b) { Put32(b, 18, 16000); }, "像素数据不完整"},
      {"OffsetPastEnd", [](QByteArray& b) { Put32(b, 10, 0xFFFFFFF0u); }, "超出文件末尾"},
      {"OffsetIntoHeader", [](QByteArray& b) { Put32(b, 10, 20); }, "位图文件已损坏"},
      {"HeaderSizeHuge", [](QByteArray& b) { Put32(b, 14, 0x7FFFFFFF); }, "不支持的位图信息头"},
      {"HeaderSizeZero", [](QByteArray& b) { Put32(b, 14, 0); }, "不支持的位图信息头"},
      {"HeaderLargerThanFile", [](QByteArray& b) { Put32(b, 14, 124); }, "信息头不完整"},
      {"BitsThree", [](QByteArray& b) { Put16(b, 28, 3); }, "不支持的位图颜色深度"},
      {"BitsZero", [](QByteArray& b) { Put16(b, 28, 0); }, "不支持的位图颜色深度"},
      {"EmbeddedPng", [](QByteArray& b) { Put32(b, 30, 5); }, "不支持的位图压缩方式"},
      {"UnknownCompression", [](QByteArray& b) { Put32(b, 30, 0x7FFFFFFF); }, "不支持的位图压缩方式"},
      {"RleWithWrongDepth", [](QByteArray& b) { Put32(b, 30, 1); }, "位图文件已损坏"},
      {"FieldsWithoutMasks", [](QByteArray& b) { Put16(b, 28, 32); Put32(b, 30, 3); b.truncate(54 + 4); }, "位图文件已损坏"},
      {"PixelsCut", [](QByteArray& b) { b.chop(8); }, "像素数据不完整"},
      {"HeaderCut", [](QByteArray& b) { b.truncate(30); }, "信息头不完整"},
      {"FileHeaderOnly", [](QByteArray& b) { b.truncate(14); }, "文件头不完整"},
      {"NotABitmap", [](QByteArray& b) { b[1] = 'X'; }, "不是可以打开的图像文件"},
  };
  for (const BadCase& c : cases) {
    QByteArray file = ValidFile();
    c.damage(file);
    const PictureRead r = Read(file);
    EXPECT_FALSE(r.ok()) << c.name;
    EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.message))) << c.name << ": " << r.error.toStdString();
  }
}

TEST(BitmapReader, LastRowWithoutItsPaddingIsStillRead) {
  QByteArray file = ValidFile();  // 5 pixels of 3 bytes: 1 byte of padding per row
  file.chop(1);
  const PictureRead r = Read(file);
  ASSERT_TRUE(r.ok()) << r.error.toStdString();
}

TEST(BitmapReader, EveryPrefixOfAFileIsReadOrRefusedWithoutHarm) {
  // Each kind of file cut at every length: the reader must never read past what it was given.
  std::vector<QByteArray> files = {ValidFile()};
  for (const RleCase& c : RleCases()) {
    BmpLayout s;
    s.width = 7;
    s.height = 4;
    s.bits = c.rle4 ? 4 : 8;
    s.compression = c.rle4 ? 2 : 1;
    s.palette = TestPalette(16);
    s.pixels = c.stream;
    files.push_back(BuildBmp(s));
  }
  for (const QByteArray& file : files) {
    for (qsizetype n = 0; n <= file.size(); ++n) {
      // A copy of exactly n bytes, so that the sanitizer sees any read past the end.
      QByteArray cut(file.constData(), n);
      const PictureRead r = Read(cut);
      EXPECT_TRUE(r.ok() || !r.error.isEmpty()) << n;
    }
  }
}

// Every pixel the reader hands on is one it wrote: a picture read into memory filled with one
// poison pattern equals the picture read into memory filled with another, for every kind of
// bitmap (each depth and header, bit fields and alpha masks, run-length streams that skip pixels
// or end early, both row orders, a last row without its padding).
TEST(BitmapReader, EveryPixelHandedOnIsWrittenByTheReader) {
  std::vector<std::pair<std::string, QByteArray>> files = {{"LastRowUnpadded", ValidFile().chopped(1)}};
  for (int bits : {1, 2, 4, 8}) {
    BmpLayout s;
    s.width = 11;
    s.height = -3;
    s.bits = bits;
    s.palette = TestPalette(1 << std::min(bits, 4));  // short palettes draw black beyond them
    s.pixels = PackRows(11, 3, bits, [&](int x, int y) { return quint32(x * 5 + y) % (1u << bits); }, true);
    files.push_back({"Palette" + std::to_string(bits), BuildBmp(s)});
  }
  for (const DirectCase& c : DirectCases())
    for (bool topDown : {false, true}) {
      if (topDown && c.headerSize == 12) continue;
      BmpLayout s;
      s.headerSize = c.headerSize;
      s.width = 5;
      s.height = topDown ? -3 : 3;
      s.bits = c.bits;
      s.compression = c.compression;
      s.masks = c.masks;
      s.masksAfterHeader = c.masksAfterHeader;
      s.pixels = PackRows(5, 3, c.bits, [&](int x, int y) { return c.pack(quint32(x * 50), quint32(y * 80), 7); }, topDown);
      files.push_back({c.name, BuildBmp(s)});
    }
  for (const AlphaCase& c : AlphaCases()) {
    BmpLayout s = AlphaBitmap(c);
    s.pixels = PackRows(6, 5, c.bits, [](int x, int y) { return quint32(x * 0x9E3779B9u + y * 0x7F4A7C15u); });
    files.push_back({c.name, BuildBmp(s)});
  }
  for (const RleCase& c : RleCases()) {
    BmpLayout s;
    s.width = 7;
    s.height = 4;
    s.bits = c.rle4 ? 4 : 8;
    s.compression = c.rle4 ? 2 : 1;
    s.palette = TestPalette(16);
    s.pixels = c.stream;
    files.push_back({c.rle4 ? "Rle4" : "Rle8", BuildBmp(s)});
  }
  for (const auto& [name, file] : files) {
    SetNewPictureFill(0x00000000);
    const PictureRead a = Read(file);
    SetNewPictureFill(0xFFFFFFFF);
    const PictureRead b = Read(file);
    SetNewPictureFill(-1);
    ASSERT_TRUE(a.ok() && b.ok()) << name << ": " << a.error.toStdString();
    EXPECT_EQ(a.image, b.image) << name;
  }
}

// Writes the bitmaps with an alpha mask into the fuzzers' seed corpus when QM_WRITE_FUZZ_CORPUS
// names it (fuzz/corpus).
TEST(FuzzCorpus, WritesTheAlphaMaskBitmapSeedsWhenAsked) {
  const QString root = qEnvironmentVariable("QM_WRITE_FUZZ_CORPUS");
  if (root.isEmpty()) GTEST_SKIP() << "set QM_WRITE_FUZZ_CORPUS to write the seed pictures";
  for (const AlphaCase& c : AlphaCases()) {
    if (c.bits != 16) continue;
    BmpLayout s = AlphaBitmap(c);
    s.pixels = PackRows(6, 5, 16, [](int x, int y) { return quint32(x * 0x9E37u + y * 0x7F4Au); });
    QFile f(QStringLiteral("%1/bmp/alpha-%2.bmp").arg(root, c.name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(BuildBmp(s));
  }
}

TEST(BitmapReader, AgreesWithQtOnAPaletteFile) {
  BmpLayout s;
  s.width = 13;
  s.height = 9;
  s.bits = 8;
  s.palette = TestPalette(256);
  s.pixels = PackRows(13, 9, 8, [](int x, int y) { return quint32(x * 19 + y * 7) & 255; });
  const QByteArray file = BuildBmp(s);
  const PictureRead r = Read(file);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(QtRead(file), r.image);
}

}  // namespace
