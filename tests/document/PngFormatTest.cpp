#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <cmath>
#include <cstdlib>
#include <unistd.h>
#include <cstdio>

#include "document/BitmapReader.h"
#include "document/PictureFiles.h"
#include "document/PictureFormats.h"
#include "document/PictureTestFiles.h"
#include "document/PngTestFiles.h"
#include "support/AddressSpace.h"

using namespace picture_test;

namespace {

const PictureFormat& Png() { return *FormatOfFileName(QStringLiteral("x.png")); }

quint32 U32At(const QByteArray& b, qsizetype at) {
  return quint32(uchar(b[at])) << 24 | quint32(uchar(b[at + 1])) << 16 | quint32(uchar(b[at + 2])) << 8 |
         uchar(b[at + 3]);
}

// Written at 96 dpi unless told otherwise, as 8-bit RGB, and read back exactly.
TEST(PngFormat, RoundTripIsExactAtOddSizesAndRecordsTheResolution) {
  for (const QSize size : {QSize(1, 1), QSize(3, 5), QSize(601, 219)}) {
    const QImage picture = PatternPicture(size.width(), size.height());
    for (const int dotsPerMetre : {3780, 4 * 3780}) {
      const QByteArray file = EncodePicture(picture, Png(), dotsPerMetre);
      ASSERT_TRUE(file.startsWith(PngSignature())) << size.width();
      const qsizetype ihdr = PngChunkAt(file, "IHDR");
      ASSERT_EQ(ihdr, 8);
      EXPECT_EQ(file[ihdr + 16], char(8));  // bit depth
      EXPECT_EQ(file[ihdr + 17], char(2));  // RGB, no alpha
      const qsizetype phys = PngChunkAt(file, "pHYs");
      ASSERT_GT(phys, 0);
      EXPECT_EQ(U32At(file, phys), 9u);
      EXPECT_EQ(U32At(file, phys + 8), quint32(dotsPerMetre));
      EXPECT_EQ(U32At(file, phys + 12), quint32(dotsPerMetre));
      EXPECT_EQ(file[phys + 16], char(1));  // unit: the metre
      const PictureRead back = ReadPicture(file);
      ASSERT_TRUE(back.ok()) << back.error.toStdString();
      EXPECT_FALSE(back.partial);
      EXPECT_EQ(back.image.format(), QImage::Format_RGB32);
      EXPECT_EQ(back.image, picture) << size.width() << "x" << size.height();
    }
  }
}

// What a pixel of `s` looks like, from the format's definition: samples scaled to 8 bits (16-bit
// ones to the nearest), palette entries looked up, tRNS and alpha applied, the result over white.
QRgb Expected(const PngLayout& s, int x, int y) {
  auto to8 = [&](quint32 v) {
    return s.bitDepth == 16 ? quint32(std::floor(v / 257.0 + 0.5)) : v * 255 / ((1u << s.bitDepth) - 1);
  };
  auto trnsValue = [&](int i) { return quint32(uchar(s.transparency[2 * i])) << 8 | uchar(s.transparency[2 * i + 1]); };
  quint32 r, g, b, a = 255;
  if (s.colorType == 3) {
    const quint32 index = s.sample(x, y, 0);
    const quint32 c = s.palette[index];
    r = c >> 16 & 255, g = c >> 8 & 255, b = c & 255;
    if (index < quint32(s.transparency.size())) a = uchar(s.transparency[index]);
  } else if (s.colorType == 0 || s.colorType == 4) {
    r = g = b = to8(s.sample(x, y, 0));
    if (s.colorType == 4) a = to8(s.sample(x, y, 1));
    if (!s.transparency.isEmpty() && s.sample(x, y, 0) == trnsValue(0)) a = 0;
  } else {
    r = to8(s.sample(x, y, 0)), g = to8(s.sample(x, y, 1)), b = to8(s.sample(x, y, 2));
    if (s.colorType == 6) a = to8(s.sample(x, y, 3));
    if (!s.transparency.isEmpty() && s.sample(x, y, 0) == trnsValue(0) && s.sample(x, y, 1) == trnsValue(1) &&
        s.sample(x, y, 2) == trnsValue(2))
      a = 0;
  }
  auto over = [&](quint32 c) { return int(std::floor((c * a + 255.0 * (255 - a)) / 255 + 0.5)); };
  return qRgb(over(r), over(g), over(b));
}

struct KindCase {
  const char* name;
  PngLayout layout;
};

std::vector<KindCase> KindCases() {
  auto layout = [](int type, int depth, bool interlaced = false, int w = 13, int h = 11) {
    PngLayout s;
    s.width = w;
    s.height = h;
    s.colorType = type;
    s.bitDepth = depth;
    s.interlaced = interlaced;
    const quint32 max = (1u << depth) - 1;
    // Alpha (the last channel of types 4 and 6) runs through 0 and the largest value.
    s.sample = [max, type](int x, int y, int c) -> quint32 {
      if ((type == 4 && c == 1) || (type == 6 && c == 3)) return quint32(x * 11 + y * 7) % 29 == 0 ? 0 : x == 3 ? max : quint32(x * 977 + y * 131) % (max + 1);
      return quint32(x * 31 + y * 17 + c * 59) * (max > 255 ? 257u : 1u) % (max + 1);
    };
    return s;
  };
  auto palette = [&](int depth, bool interlaced = false) {
    PngLayout s = layout(3, depth, interlaced);
    const int entries = std::min(1 << depth, 200);  // fewer entries than 8 bits can index
    for (int i = 0; i < entries; ++i) s.palette.push_back(quint32(i * 0x3F1A07 + 0x102030) & 0xFFFFFF);
    s.sample = [entries](int x, int y, int) { return quint32(x + 2 * y) % quint32(entries); };
    for (int i = 0; i < std::min(entries, 3); ++i) s.transparency.append(char(i * 100));  // 0, 100, 200
    return s;
  };
  PngLayout greyKey = layout(0, 8);
  greyKey.transparency = QByteArray("\0\x11", 2);  // grey 17 is transparent
  greyKey.sample = [](int x, int y, int) { return quint32(x * 17 + y) % 40; };
  PngLayout rgbKey = layout(2, 8);
  rgbKey.transparency = QByteArray("\0\x02\0\x03\0\x04", 6);
  rgbKey.sample = [](int x, int y, int c) { return (x + y) % 4 == 0 ? quint32(2 + c) : quint32(x * 9 + y * 5 + c); };
  PngLayout grey16Key = layout(0, 16);
  grey16Key.transparency = QByteArray("\x01\x00", 2);
  grey16Key.sample = [](int x, int y, int) { return (x + y) % 3 == 0 ? 0x100u : quint32(x * 4099 + y * 911); };
  PngLayout grey2Key = layout(0, 2);
  grey2Key.transparency = QByteArray("\0\x02", 2);
  // The key colour, and colours that differ from it only in the low byte of one sample.
  PngLayout rgb16Key = layout(2, 16);
  rgb16Key.transparency = QByteArray("\x12\x34\x56\x78\x9A\xBC", 6);
  rgb16Key.sample = [](int x, int y, int c) {
    const quint32 key = 0x1234u + c * 0x4444u;
    if ((x + y) % 4 == 0) return key;
    if ((x + y) % 4 == 1) return c == x % 3 ? key ^ 1 : key;
    return quint32(x * 4099 + y * 911 + c * 20011) & 0xFFFF;
  };
  PngLayout interlacedRgb16Key = rgb16Key;
  interlacedRgb16Key.interlaced = true;
  return {
      {"Rgb8", layout(2, 8)},          {"Rgba8", layout(6, 8)},          {"GreyAlpha8", layout(4, 8)},
      {"Grey1", layout(0, 1)},         {"Grey2", layout(0, 2)},          {"Grey4", layout(0, 4)},
      {"Grey8", layout(0, 8)},         {"Grey16", layout(0, 16)},        {"Rgb16", layout(2, 16)},
      {"Rgba16", layout(6, 16)},       {"GreyAlpha16", layout(4, 16)},   {"Palette1", palette(1)},
      {"Palette2", palette(2)},      {"Palette4", palette(4)},       {"Palette8", palette(8)},
      {"GreyKey", greyKey},          {"RgbKey", rgbKey},             {"Grey16Key", grey16Key},
      {"Grey2Key", grey2Key},        {"Rgb16Key", rgb16Key},         {"InterlacedRgb16Key", interlacedRgb16Key},
      {"InterlacedRgba8", layout(6, 8, true)},  {"InterlacedPalette4", palette(4, true)},
      {"InterlacedRgb16", layout(2, 16, true, 9, 6)},  {"InterlacedOnePixel", layout(2, 8, true, 1, 1)},
  };
}

// Every pixel the reader hands on is one it wrote: the new picture is filled with a poison
// pattern before decoding (transparent black, then opaque white), and every pixel still comes out
// as the file says.
TEST(PngFormat, EveryKindBecomesOpaqueEightBitRgbOverWhite) {
  for (const qint64 poison : {0x00000000ll, 0xFFFFFFFFll}) {
    SetNewPictureFill(poison);
    for (const KindCase& c : KindCases()) {
      const PictureRead r = ReadPicture(MakePng(c.layout));
      ASSERT_TRUE(r.ok()) << c.name << ": " << r.error.toStdString();
      ASSERT_EQ(r.image.format(), QImage::Format_RGB32) << c.name;
      ASSERT_EQ(r.image.size(), QSize(c.layout.width, c.layout.height)) << c.name;
      for (int y = 0; y < c.layout.height; ++y)
        for (int x = 0; x < c.layout.width; ++x)
          ASSERT_EQ(r.image.pixel(x, y), Expected(c.layout, x, y)) << c.name << " at " << x << "," << y << " poison " << poison;
    }
  }
  SetNewPictureFill(-1);
}

// A 64 x 64 RGB picture and its file, for the forgiven and the refused damage.
PngLayout Plain64() {
  PngLayout s;
  s.width = 64;
  s.height = 64;
  s.sample = [](int x, int y, int c) { return quint32(x * 3 + y * 5 + c * 7) & 255; };
  return s;
}

QByteArray WithBadChecksum(QByteArray chunk) {
  chunk[chunk.size() - 1] = char(chunk[chunk.size() - 1] ^ 1);
  return chunk;
}

struct Forgiven {
  const char* name;
  QByteArray file;
};

// Damage reference decoders forgive: an ancillary chunk with a wrong checksum is dropped, and
// after the last image data anything that is not a sound chunk ends the file.
std::vector<Forgiven> ForgivenDamage() {
  const QByteArray good = MakePng(Plain64());
  const qsizetype idat = PngChunkAt(good, "IDAT"), iend = PngChunkAt(good, "IEND");
  auto insert = [&](qsizetype at, const QByteArray& bytes) { return QByteArray(good).insert(at, bytes); };
  const QByteArray text = PngChunk("tEXt", QByteArray("Title\0incline", 13));
  const QByteArray time = PngChunk("tIME", QByteArray("\x07\xE8\x05\x11\x08\x1E\x00", 7));
  const QByteArray gamma = PngChunk("gAMA", QByteArray("\0\0\xB1\x8F", 4));
  const QByteArray zText = PngChunk("zTXt", QByteArray("Comment\0\0", 9) + qCompress(QByteArray(40, 'x')).mid(4));
  return {
      {"TextChecksumBeforeImageData", insert(idat, WithBadChecksum(text))},
      {"GammaChecksum", insert(idat, WithBadChecksum(gamma))},
      {"CompressedTextChecksum", insert(idat, WithBadChecksum(zText))},
      {"TimeChecksumAfterImageData", insert(iend, WithBadChecksum(time))},
      {"EndChunkMissing", good.left(iend)},
      {"EndChunkCutShort", good.left(good.size() - 3)},
      {"EndChunkChecksum", good.left(iend) + WithBadChecksum(PngChunk("IEND", {}))},
      {"GarbageAfterImageData", good.left(iend) + QByteArray("\x00\x01\xFF\xFEjunk", 8)},
      {"ChunkCutAfterImageData", good.left(iend) + text.left(text.size() - 5)},
      {"ChunkLengthLiesAfterImageData", good.left(iend) + QByteArray("\x7F\xFF\xFF\xF0tEXt", 8) + text.mid(8)},
      {"CriticalChecksumAfterImageData", good.left(iend) + WithBadChecksum(PngChunk("PLTE", QByteArray(3, '\0'))) + PngChunk("IEND", {})},
  };
}

TEST(PngFormat, DamageThatReferenceDecodersForgiveOpensThePictureWhole) {
  const PngLayout s = Plain64();
  for (const Forgiven& c : ForgivenDamage()) {
    const PictureRead r = ReadPicture(c.file);
    ASSERT_TRUE(r.ok()) << c.name << ": " << r.error.toStdString();
    EXPECT_FALSE(r.partial) << c.name;
    for (int y = 0; y < s.height; ++y)
      for (int x = 0; x < s.width; ++x) ASSERT_EQ(r.image.pixel(x, y), Expected(s, x, y)) << c.name;
  }
}

// Writes the reader's forgiven damage and its 16-bit pictures with a transparent colour into the
// fuzzers' seed corpus when QM_WRITE_FUZZ_CORPUS names it (fuzz/corpus).
TEST(FuzzCorpus, WritesTheForgivenPngSeedsWhenAsked) {
  const QString root = qEnvironmentVariable("QM_WRITE_FUZZ_CORPUS");
  if (root.isEmpty()) GTEST_SKIP() << "set QM_WRITE_FUZZ_CORPUS to write the seed pictures";
  auto save = [&](const QString& name, const QByteArray& bytes) {
    QFile f(root + "/png/" + name + ".png");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  };
  for (const Forgiven& c : ForgivenDamage()) save(QStringLiteral("forgiven-%1").arg(c.name), c.file);
  for (const KindCase& c : KindCases())
    if (!c.layout.transparency.isEmpty() && c.layout.bitDepth == 16) save(QStringLiteral("key-%1").arg(c.name), MakePng(c.layout));
}

struct Refusal {
  const char* name;
  QByteArray file;
  const char* message;  // part of the expected message
};

// A PNG file of `w` × `h` RGB pixels whose image data holds only `rows` rows.
QByteArray Claiming(int w, int h, int rows = 1, int colorType = 2, int depth = 8) {
  PngLayout s;
  s.width = std::min(w, 64);
  s.height = rows;
  s.declaredWidth = w;
  s.declaredHeight = h;
  s.colorType = colorType;
  s.bitDepth = depth;
  s.sample = [](int x, int, int c) { return quint32(x + c) & 255; };
  return MakePng(s);
}

std::vector<Refusal> Refusals() {
  const QByteArray good = MakePng(Plain64());
  const qsizetype idat = PngChunkAt(good, "IDAT");
  QByteArray badData = good;
  badData[idat + 8 + 10] = char(badData[idat + 8 + 10] ^ 0x40);
  QByteArray badHeader = good;
  badHeader[8 + 8 + 13] = char(badHeader[8 + 8 + 13] ^ 1);
  PngLayout palette = Plain64();
  palette.colorType = 3;
  palette.palette = {0x102030, 0x405060};
  palette.sample = [](int x, int y, int) { return quint32(x + y) & 1; };
  QByteArray badPalette = MakePng(palette);
  const qsizetype plte = PngChunkAt(badPalette, "PLTE");
  badPalette[plte + 8] = char(badPalette[plte + 8] ^ 1);
  // The image data ends before its last rows, and no end chunk follows.
  PngLayout shortData = Plain64();
  shortData.declaredHeight = 128;
  const QByteArray cutShort = MakePng(shortData);
  return {
      {"CutInImageData", good.left(idat + 40), "PNG 图像已损坏：文件不完整"},
      {"ImageDataEndsEarlyAndNoEndChunk", cutShort.left(PngChunkAt(cutShort, "IEND")), "PNG 图像已损坏：文件不完整"},
      {"CutInHeader", good.left(8 + 15), "PNG 图像已损坏：文件不完整"},
      {"ImageDataChecksum", badData, "PNG 图像已损坏：校验和错误（IDAT 数据块）"},
      {"HeaderChecksum", badHeader, "PNG 图像已损坏：校验和错误（IHDR 数据块）"},
      {"PaletteChecksum", badPalette, "PNG 图像已损坏：校验和错误（PLTE 数据块）"},
      {"TooWide", Claiming(16385, 1), "图像尺寸过大（超过 16384 像素）"},
      {"TooTall", Claiming(1, 16385), "图像尺寸过大（超过 16384 像素）"},
      {"TooLarge", Claiming(16384, 16384), "图像过大（16384 × 16384 像素），无法打开"},
      {"BeyondDeflateBound", Claiming(16384, 8192), "PNG 图像已损坏：图像数据比图像尺寸所需的少得多"},
      {"BeyondDeflateBoundInterlaced", [] {
         QByteArray f = Claiming(16384, 8192);
         f[8 + 8 + 12] = 1;  // interlaced: the passes' rows declare a little more still
         const quint32 crc = PngCrc(f.constData() + 12, 17);
         for (int i = 0; i < 4; ++i) f[8 + 8 + 13 + i] = char(crc >> (24 - 8 * i));
         return f;
       }(), "PNG 图像已损坏：图像数据比图像尺寸所需的少得多"},
      {"NoImageData", PngSignature() + PngHeader(4, 4, 8, 2, false) + PngChunk("IEND", {}), "PNG 图像已损坏：没有图像数据"},
      {"ZeroWidth", PngSignature() + PngHeader(0, 4, 8, 2, false) + PngChunk("IEND", {}), "PNG 图像已损坏：图像宽度或高度无效"},
      {"RgbAtFourBits", PngSignature() + PngHeader(4, 4, 4, 2, false) + PngChunk("IEND", {}), "PNG 图像已损坏：图像头无效"},
      {"HeaderNotFirst", PngSignature() + PngChunk("tEXt", QByteArray("a\0b", 3)) + good.mid(8), "PNG 图像已损坏：缺少图像头"},
      {"DamagedChunkBeforeHeader", PngSignature() + WithBadChecksum(PngChunk("tEXt", QByteArray("a\0b", 3))) + good.mid(8),
       "PNG 图像已损坏：缺少图像头"},
      {"FewerRowsThanDeclared", Claiming(64, 128, 64), "PNG 图像已损坏：图像数据无法解码"},
  };
}

TEST(PngFormat, DamagedAndOversizedFilesAreRefusedWithAReason) {
  for (const Refusal& c : Refusals()) {
    const PictureRead r = ReadPicture(c.file);
    EXPECT_FALSE(r.ok()) << c.name;
    EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.message))) << c.name << ": " << r.error.toStdString();
  }
}

// libpng's own messages never reach standard error: the program's error and warning functions
// take them, for damaged files, forgiven damage and chunks libpng warns about (a tRNS chunk where
// the picture has alpha, a palette index beyond the palette, an unknown critical chunk).
TEST(PngFormat, NothingReachesStandardError) {
  std::vector<QByteArray> files;
  for (const Refusal& c : Refusals()) files.push_back(c.file);
  for (const Forgiven& c : ForgivenDamage()) files.push_back(c.file);
  PngLayout rgba = Plain64();
  rgba.colorType = 6;
  rgba.transparency = QByteArray("\0\1\0\2\0\3", 6);
  files.push_back(MakePng(rgba));
  PngLayout palette = Plain64();
  palette.colorType = 3;
  palette.palette = {0x102030};
  palette.sample = [](int x, int, int) { return quint32(x & 3); };
  files.push_back(MakePng(palette));
  QByteArray critical = MakePng(Plain64());
  critical.insert(PngChunkAt(critical, "IDAT"), PngChunk("QMXX", "abc"));
  files.push_back(critical);

  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  std::fflush(stderr);
  const int saved = dup(2);
  dup2(pipeFds[1], 2);
  for (const QByteArray& file : files) ReadPicture(file);
  std::fflush(stderr);
  dup2(saved, 2);
  close(saved);
  close(pipeFds[1]);
  char buffer[256];
  const ssize_t n = read(pipeFds[0], buffer, sizeof buffer - 1);
  close(pipeFds[0]);
  EXPECT_LE(n, 0) << std::string(buffer, size_t(std::max<ssize_t>(n, 0)));
}

#ifdef QM_ADDRESS_SPACE_LIMIT
// The refusals are decided before the pixels are allocated: with only 64 MB of address space left,
// a picture that claims 512 MB is still refused as damaged, not for want of memory. The exit code
// names the case that failed (10 + its index).
[[noreturn]] void RefuseWithLittleMemory() {
  const std::vector<Refusal> cases = Refusals();
  ReadPicture(cases.front().file);  // Qt's PNG reader set up before the limit
  LimitAddressSpace(64ll << 20);
  for (size_t i = 0; i < cases.size(); ++i) {
    const PictureRead r = ReadPicture(cases[i].file);
    if (r.ok() || !r.error.contains(QString::fromUtf8(cases[i].message))) std::exit(10 + int(i));
  }
  std::exit(0);
}

TEST(PngFormatDeathTest, RefusalsComeBeforeAnyPixelIsAllocated) { ExpectChildPasses(RefuseWithLittleMemory); }
#endif

}  // namespace
