// Pictures read through Qt's image plugins, WebP and TIFF: every kind a teacher meets (pictures
// from the web, from scanners) comes out as its samples say, transparency over white, and what the
// program cannot hold is refused with a message before it is decoded.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <functional>
#include <vector>

#include "document/BitmapReader.h"
#include "document/PictureFiles.h"
#include "document/PictureFormats.h"
#include "document/PngFormat.h"
#include "document/QtPluginReader.h"
#include "document/TiffTestFiles.h"

using namespace picture_test;

namespace {

// The program's rules, computed here from the samples: 16-bit samples as round(v / 257), straight
// alpha over white as round((c × a + 255 × (255 − a)) / 255), premultiplied as c + 255 − a.
int To8(quint32 v) { return int(std::lround(v / 257.0)); }
int Over(int c, int a) { return int(std::lround((c * a + 255.0 * (255 - a)) / 255)); }
QRgb OverWhite(int r, int g, int b, int a) { return qRgb(Over(r, a), Over(g, a), Over(b, a)); }
QRgb PremultipliedOverWhite(int r, int g, int b, int a) {
  return qRgb(std::min(r + 255 - a, 255), std::min(g + 255 - a, 255), std::min(b + 255 - a, 255));
}

PictureRead Read(const QByteArray& bytes) { return ReadPicture(bytes); }

std::string Describe(QRgb c) {
  char text[16];
  std::snprintf(text, sizeof text, "%06x", c & 0xFFFFFFu);
  return text;
}

// A 4 x 3 TIFF picture and the pixel each of its samples should give.
struct TiffCase {
  const char* name;
  std::vector<TiffPage> pages;
  std::function<QRgb(int x, int y)> expected;
  int tolerance = 0;  // per channel
  bool bigEndian = false;
};

TiffPage Page(int bits, int samples, int photometric, std::function<quint32(int, int, int)> sample) {
  TiffPage p;
  p.width = 4;
  p.height = 3;
  p.bits = bits;
  p.samples = samples;
  p.photometric = photometric;
  p.sample = std::move(sample);
  return p;
}

std::vector<TiffCase> TiffCases() {
  auto s8 = [](int x, int y, int c) { return quint32((x * 60 + y * 25 + c * 40 + 10) & 255); };
  auto s16 = [](int x, int y, int c) { return quint32((x * 9000 + y * 4000 + c * 3000 + 77) & 0xFFFF); };
  // Alpha last; colour samples at most the alpha where they are premultiplied.
  auto a8 = [](int x, int y) { return 255 - x * 60 - y * 10; };
  auto a16 = [](int x, int y) { return 65535 - x * 15000 - y * 3000; };
  std::vector<TiffCase> cases;
  for (bool big : {false, true})
    cases.push_back({big ? "RGB, 8 bits, big-endian" : "RGB, 8 bits", {Page(8, 3, 2, s8)},
                     [=](int x, int y) { return qRgb(int(s8(x, y, 0)), int(s8(x, y, 1)), int(s8(x, y, 2))); }, 0, big});
  cases.push_back({"RGB, 16 bits", {Page(16, 3, 2, s16)},
                   [=](int x, int y) { return qRgb(To8(s16(x, y, 0)), To8(s16(x, y, 1)), To8(s16(x, y, 2))); }});
  {
    TiffPage p = Page(8, 4, 2, [=](int x, int y, int c) { return c == 3 ? quint32(a8(x, y)) : s8(x, y, c); });
    p.extraSamples = 2;
    cases.push_back({"RGBA, 8 bits, unassociated alpha", {p}, [=](int x, int y) {
                       return OverWhite(int(s8(x, y, 0)), int(s8(x, y, 1)), int(s8(x, y, 2)), a8(x, y));
                     }});
  }
  {
    auto c8 = [=](int x, int y, int c) { return c == 3 ? quint32(a8(x, y)) : quint32(a8(x, y) * (c + 1) / 4); };
    TiffPage p = Page(8, 4, 2, c8);
    p.extraSamples = 1;
    cases.push_back({"RGBA, 8 bits, premultiplied", {p}, [=](int x, int y) {
                       return PremultipliedOverWhite(int(c8(x, y, 0)), int(c8(x, y, 1)), int(c8(x, y, 2)), a8(x, y));
                     }});
  }
  {
    TiffPage p = Page(16, 4, 2, [=](int x, int y, int c) { return c == 3 ? quint32(a16(x, y)) : s16(x, y, c); });
    p.extraSamples = 2;
    cases.push_back({"RGBA, 16 bits, unassociated alpha", {p}, [=](int x, int y) {
                       return OverWhite(To8(s16(x, y, 0)), To8(s16(x, y, 1)), To8(s16(x, y, 2)), To8(a16(x, y)));
                     }});
  }
  {
    auto c16 = [=](int x, int y, int c) { return c == 3 ? quint32(a16(x, y)) : quint32(a16(x, y) * (c + 1) / 4); };
    TiffPage p = Page(16, 4, 2, c16);
    p.extraSamples = 1;
    cases.push_back({"RGBA, 16 bits, premultiplied", {p}, [=](int x, int y) {
                       return PremultipliedOverWhite(To8(c16(x, y, 0)), To8(c16(x, y, 1)), To8(c16(x, y, 2)),
                                                     To8(a16(x, y)));
                     }});
  }
  cases.push_back({"grey, 8 bits", {Page(8, 1, 1, s8)}, [=](int x, int y) {
                     const int v = int(s8(x, y, 0));
                     return qRgb(v, v, v);
                   }});
  cases.push_back({"grey, 16 bits", {Page(16, 1, 1, s16)}, [=](int x, int y) {
                     const int v = To8(s16(x, y, 0));
                     return qRgb(v, v, v);
                   }});
  cases.push_back({"white is zero, 8 bits", {Page(8, 1, 0, s8)}, [=](int x, int y) {
                     const int v = 255 - int(s8(x, y, 0));
                     return qRgb(v, v, v);
                   }});
  cases.push_back({"bilevel", {Page(1, 1, 1, [](int x, int y, int) { return quint32((x + y) & 1); })},
                   [](int x, int y) { return (x + y) & 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0); }});
  for (int bits : {8, 4}) {
    // Palette entries are 16-bit; the colours of a scanner's palette are 8-bit ones times 257.
    const int entries = 1 << bits;
    auto colour = [](int i) { return qRgb((i * 37) & 255, (i * 91 + 40) & 255, (255 - i * 13) & 255); };
    TiffPage p = Page(bits, 1, 3, [=](int x, int y, int) { return quint32((x * 3 + y * 5) % entries); });
    for (int channel = 0; channel < 3; ++channel)
      for (int i = 0; i < entries; ++i)
        p.colorMap.push_back(quint16(((colour(i) >> (16 - 8 * channel)) & 255) * 257));
    cases.push_back({bits == 8 ? "palette, 8 bits" : "palette, 4 bits", {p},
                     [=](int x, int y) { return colour((x * 3 + y * 5) % entries); }});
  }
  // Printers' inks become the colours they make: each channel (255 - c)(255 - k) / 255.
  cases.push_back({"CMYK, 8 bits", {Page(8, 4, 5, s8)},
                   [=](int x, int y) {
                     const int k = 255 - int(s8(x, y, 3));
                     auto ink = [&](int c) { return int(std::lround((255 - int(s8(x, y, c))) * k / 255.0)); };
                     return qRgb(ink(0), ink(1), ink(2));
                   },
                   1});
  {
    TiffPage second = Page(8, 3, 2, [](int, int, int) { return 200u; });
    second.width = 7;
    cases.push_back({"the first page of two", {Page(8, 3, 2, s8), second},
                     [=](int x, int y) { return qRgb(int(s8(x, y, 0)), int(s8(x, y, 1)), int(s8(x, y, 2))); }});
  }
  return cases;
}

// Every kind of TIFF picture decodes to the pixels its samples say, every pixel written by the
// reader (the picture it is given to fill starts as black or as white).
TEST(PluginFormats, TiffPicturesAreTheirSamples) {
  for (const qint64 poison : {qint64(0x00000000), qint64(0xFFFFFFFF)}) {
    SetNewPictureFill(poison);
    for (const TiffCase& c : TiffCases()) {
      SCOPED_TRACE(c.name);
      const PictureRead r = Read(MakeTiff(c.pages, c.bigEndian));
      ASSERT_TRUE(r.ok()) << r.error.toStdString();
      EXPECT_EQ(r.format, &FormatNamed("TIFF"));
      EXPECT_EQ(r.image.format(), QImage::Format_RGB32);
      ASSERT_EQ(r.image.size(), QSize(4, 3));
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
          const QRgb got = r.image.pixel(x, y), want = c.expected(x, y);
          const int off = std::max({std::abs(qRed(got) - qRed(want)), std::abs(qGreen(got) - qGreen(want)),
                                    std::abs(qBlue(got) - qBlue(want))});
          EXPECT_LE(off, c.tolerance) << "pixel " << x << "," << y << ": " << Describe(got) << ", not " << Describe(want);
          EXPECT_EQ(qAlpha(got), 255);
        }
    }
  }
  SetNewPictureFill(-1);
}

// A WebP picture as Qt's own plugin writes it at `quality` (100: lossless).
QByteArray MakeWebp(const QImage& picture, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "webp");
  writer.setQuality(quality);
  return writer.write(picture) ? bytes : QByteArray();
}

// Pictures from the web: lossless ones come out exactly over white, lossy ones close to it, and
// their transparent parts white in both.
TEST(PluginFormats, WebpPicturesLossyAndLosslessWithTransparencyOverWhite) {
  QImage source(24, 8, QImage::Format_ARGB32);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 24; ++x) {
      const int alpha = x < 8 ? 255 : x < 16 ? 128 : 0;  // opaque, half, clear
      source.setPixel(x, y, qRgba(200, 40 + y * 10, 90, alpha));
    }
  const struct {
    const char* name;
    int quality;
    const char* chunk;  // the chunk that holds the picture
    int tolerance;
  } cases[] = {{"lossless", 100, "VP8L", 0}, {"lossy", 90, "ALPH", 12}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QByteArray file = MakeWebp(source, c.quality);
    ASSERT_FALSE(file.isEmpty());
    ASSERT_TRUE(file.contains(c.chunk)) << "not a " << c.name << " WebP file";
    const PictureRead r = Read(file);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.format, &FormatNamed("WebP"));
    ASSERT_EQ(r.image.size(), source.size());
    EXPECT_EQ(r.image.format(), QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 24; ++x) {
        const QRgb s = source.pixel(x, y);
        const QRgb want = OverWhite(qRed(s), qGreen(s), qBlue(s), qAlpha(s)), got = r.image.pixel(x, y);
        const int tolerance = qAlpha(s) == 0 ? 0 : c.tolerance;  // clear is white, whatever the colours beneath
        EXPECT_LE(std::abs(qRed(got) - qRed(want)), tolerance) << x << "," << y;
        EXPECT_LE(std::abs(qGreen(got) - qGreen(want)), tolerance) << x << "," << y;
        EXPECT_LE(std::abs(qBlue(got) - qBlue(want)), tolerance) << x << "," << y;
      }
  }
}

// What the program cannot hold, or cannot read, is refused with a clear message; sizes before a
// pixel is decoded (a file that only claims its size would otherwise read as damaged).
TEST(PluginFormats, RefusalsSayWhy) {
  auto claiming = [](int w, int h, int bits) {
    TiffPage p = Page(bits, 3, 2, [](int, int, int) { return 1u; });
    p.width = w;
    p.height = h;
    p.storedRows = 1;
    return MakeTiff({p});
  };
  TiffPage cmyk16 = Page(16, 4, 5, [](int, int, int) { return 1000u; });
  const QByteArray webp = MakeWebp(QImage(8, 8, QImage::Format_RGB32), 90);
  QByteArray webpBroken = webp;
  for (qsizetype i = 30; i < webpBroken.size(); ++i) webpBroken[i] = char(0x5A);
  const QString damagedTiff = QStringLiteral("TIFF 图像已损坏，或是本程序不能读取的一种 TIFF 图像");
  const struct {
    const char* name;
    QByteArray file;
    QString error;
  } cases[] = {
      {"too many pixels", claiming(16384, 8193, 8), QStringLiteral("图像过大（16384 × 8193 像素），无法打开")},
      {"16-bit, more than the program holds", claiming(16384, 8192, 16),
       QStringLiteral("图像过大（16384 × 8192 像素，每像素 64 位），无法打开")},
      {"rows missing", claiming(64, 64, 8), damagedTiff},
      {"cut in its header", MakeTiff({Page(8, 3, 2, [](int, int, int) { return 1u; })}).left(20), damagedTiff},
      {"CMYK at 16 bits", MakeTiff({cmyk16}), damagedTiff},
      {"WebP, damaged", webpBroken, QStringLiteral("WebP 图像已损坏，或是本程序不能读取的一种 WebP 图像")},
      {"WebP, only its signature", webp.left(12), QStringLiteral("WebP 图像已损坏，或是本程序不能读取的一种 WebP 图像")},
  };
  for (const auto& c : cases) {
    const PictureRead r = Read(c.file);
    EXPECT_FALSE(r.ok()) << c.name;
    EXPECT_EQ(r.error, c.error) << c.name;
  }
  // A format whose plugin is not installed says so.
  const PictureFormat missing{.name = QStringLiteral("XYZ"), .qtPlugin = "no-such-plugin"};
  const PictureRead r = ReadThroughQtPlugin(missing, reinterpret_cast<const uchar*>(webp.constData()), webp.size(),
                                            kMaxPicturePixels);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.error, QStringLiteral("无法打开 XYZ 图像：系统中缺少 Qt 的 XYZ 图像插件"));
}

// The names of Qt's image plugins this process has loaded ("tiff", "webp", ...), sorted.
QStringList LoadedImagePlugins() {
  QFile maps(QStringLiteral("/proc/self/maps"));
  QStringList names;
  if (!maps.open(QIODevice::ReadOnly)) return {QStringLiteral("(no /proc/self/maps)")};
  const QRegularExpression plugin(QStringLiteral("/imageformats/libq([^/ ]+)\\.so"));
  for (const QByteArray& line : maps.readAll().split('\n'))
    if (const QRegularExpressionMatch m = plugin.match(QString::fromLocal8Bit(line)); m.hasMatch())
      if (!names.contains(m.captured(1))) names << m.captured(1);
  names.sort();
  return names;
}

// A format's plugin is loaded when the first picture of its kind is read, and only that one:
// what the program makes of the table (the dialogs' filters, the formats' names and media types)
// and the pictures of its own readers load none. In a fresh run of this test program, given the
// files by its environment. (Qt itself loads every installed image plugin the first time it reads
// one of its own pictures with its format detection, as the menu bar does for its extension
// button's icon; the program's reader asks the row's plugin only.)
TEST(PluginFormats, APluginIsLoadedWhenTheFirstPictureOfItsKindIsRead) {
  const QString probe = qEnvironmentVariable("QM_PLUGIN_PROBE");
  if (!probe.isEmpty()) {
    EXPECT_FALSE(OpenDialogFilter().isEmpty());
    EXPECT_FALSE(SaveDialogFilter().isEmpty());
    EXPECT_FALSE(ReadableMimeTypes().isEmpty());
    EXPECT_FALSE(JoinedNames(ReadableFormatNames(), QStringLiteral("和")).isEmpty());
    EXPECT_TRUE(ReadPictureFile(probe + "/a.png").ok());
    EXPECT_EQ(LoadedImagePlugins(), QStringList()) << "loaded before a picture of their kind was read";
    EXPECT_TRUE(ReadPictureFile(probe + "/a.tif").ok());
    EXPECT_EQ(LoadedImagePlugins(), QStringList{"tiff"});
    EXPECT_TRUE(ReadPictureFile(probe + "/a.webp").ok());
    EXPECT_EQ(LoadedImagePlugins(), (QStringList{"tiff", "webp"}));
    std::printf("\nprobe done\n");
    return;
  }
  QTemporaryDir dir;
  QImage picture(6, 4, QImage::Format_RGB32);
  picture.fill(qRgb(20, 120, 220));
  QByteArray webp;
  {
    QBuffer buffer(&webp);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(QImageWriter(&buffer, "webp").write(picture));
  }
  TiffPage page = Page(8, 3, 2, [](int x, int, int) { return quint32(x * 40); });
  const std::pair<const char*, QByteArray> files[] = {
      {"a.png", WritePng(picture, 3780)}, {"a.tif", MakeTiff({page})}, {"a.webp", webp}};
  for (const auto& [name, bytes] : files) {
    QFile f(dir.filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(!bytes.isEmpty() && f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()) << name;
  }
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QM_PLUGIN_PROBE"), dir.path());
  env.remove(QStringLiteral("GTEST_FILTER"));
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_filter=PluginFormats.APluginIsLoadedWhenTheFirstPictureOfItsKindIsRead")});
  ASSERT_TRUE(child.waitForStarted(30000));
  ASSERT_TRUE(child.waitForFinished(300000));
  const QString out = QString::fromLocal8Bit(child.readAll());
  EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
  EXPECT_TRUE(out.contains("probe done") && out.contains("[  PASSED  ] 1 test")) << out.toStdString();
}

}  // namespace
