#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTransform>
#include <cstdlib>
#include <vector>

#include "document/ExifOrientation.h"
#include "document/JpegReader.h"
#include "document/PictureFiles.h"
#include "document/TiffTestFiles.h"
#include "support/JpegWriter.h"

namespace {

// ---- EXIF blocks, written byte by byte in either byte order ----

struct Entry {
  quint32 tag;
  quint32 type;
  quint32 count;
  quint32 value;
};

constexpr quint32 kShort = 3, kLong = 4, kAscii = 2;
constexpr int kTiff = 6;  // the TIFF header follows "Exif\0\0"

struct Exif {
  bool mm = false;
  QByteArray bytes;

  void Put16(int tiffAt, quint32 v) {
    const int at = kTiff + tiffAt;
    if (bytes.size() < at + 2) bytes.resize(at + 2, '\0');
    bytes[at + (mm ? 1 : 0)] = char(v);
    bytes[at + (mm ? 0 : 1)] = char(v >> 8);
  }
  void Put32(int tiffAt, quint32 v) {
    const int at = kTiff + tiffAt;
    if (bytes.size() < at + 4) bytes.resize(at + 4, '\0');
    for (int i = 0; i < 4; ++i) bytes[at + (mm ? 3 - i : i)] = char(v >> (8 * i));
  }
  const uchar* data() const { return reinterpret_cast<const uchar*>(bytes.constData()); }
};

// A well-formed block: the header, then the first image directory at `directory` holding
// `entries`, then the offset of the next directory.
Exif MakeExif(bool mm, const std::vector<Entry>& entries, quint32 directory = 8, quint32 next = 0) {
  Exif e{mm, QByteArray("Exif\0\0", 6)};
  e.bytes.append(mm ? "MM" : "II");
  e.Put16(2, 42);
  e.Put32(4, directory);
  int at = int(directory);
  e.Put16(at, quint32(entries.size()));
  at += 2;
  for (const Entry& x : entries) {
    e.Put16(at, x.tag);
    e.Put16(at + 2, x.type);
    e.Put32(at + 4, x.count);
    e.Put32(at + 8, 0);
    if (x.type == kShort) e.Put16(at + 8, x.value);
    else e.Put32(at + 8, x.value);
    at += 12;
  }
  e.Put32(at, next);
  return e;
}

Exif Oriented(int orientation, bool mm = false) {
  return MakeExif(mm, {{0x010F, kAscii, 4, 0x6D6F6F51}, {0x0112, kShort, 1, quint32(orientation)},
                       {0x011A, 5, 1, 200}});
}

// ---- pictures of distinct 8 × 8 colour blocks, compressed by libjpeg ----

enum class Kind { Rgb, Progressive, Grey, Cmyk };

QRgb BlockColour(int i) {
  static const QRgb colours[] = {0xffe02020, 0xff20c020, 0xff2040e0, 0xfff0e020, 0xff20e0e0,
                                 0xffe020e0, 0xff101010, 0xfff0f0f0, 0xff808080, 0xff804000};
  return colours[i % 10];
}

// `blocksX` × `blocksY` blocks of 8 × 8 pixels, at quality 100 and without chroma subsampling,
// so that every block decodes to its own colour within a few levels; each APP1 body in `app1`
// is written as its own segment.
QByteArray MakeJpeg(int blocksX, int blocksY, const std::vector<QByteArray>& app1,
                    Kind kind = Kind::Rgb) {
  picture_test::JpegRecipe recipe;
  recipe.width = blocksX * 8;
  recipe.height = blocksY * 8;
  recipe.components = kind == Kind::Grey ? 1 : kind == Kind::Cmyk ? 4 : 3;
  recipe.input = kind == Kind::Grey ? JCS_GRAYSCALE : kind == Kind::Cmyk ? JCS_CMYK : JCS_RGB;
  if (kind == Kind::Cmyk) recipe.stored = JCS_CMYK;
  recipe.progressive = kind == Kind::Progressive;
  recipe.fullResolution = true;
  recipe.app1 = app1;
  recipe.pixel = [blocksX, kind](int x, int y, uchar* p) {
    const QRgb colour = BlockColour(y / 8 * blocksX + x / 8);
    if (kind == Kind::Grey) {
      p[0] = uchar(qGray(colour));
      return;
    }
    p[0] = uchar(qRed(colour));
    p[1] = uchar(qGreen(colour));
    p[2] = uchar(qBlue(colour));
    if (kind == Kind::Cmyk) p[3] = 255;  // Adobe's inverted CMYK: no black ink
  };
  return picture_test::MakeJpeg(recipe);
}

QImage Decode(const QByteArray& jpeg, qint64 maxPixels = kMaxPicturePixels) {
  const PictureRead r =
      ReadJpeg(reinterpret_cast<const uchar*>(jpeg.constData()), jpeg.size(), maxPixels);
  EXPECT_TRUE(r.ok()) << r.error.toStdString();
  return r.image;
}

// The stored picture shown as `orientation` says, made with Qt's own transforms.
QImage Shown(const QImage& stored, int orientation) {
  const QImage turned = stored.transformed(QTransform().rotate(90));
  switch (orientation) {
    case 2: return stored.mirrored(true, false);
    case 3: return stored.mirrored(true, true);
    case 4: return stored.mirrored(false, true);
    case 5: return turned.mirrored(true, false);
    case 6: return turned;
    case 7: return turned.mirrored(false, true);
    case 8: return stored.transformed(QTransform().rotate(270));
    default: return stored;
  }
}

bool Near(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= 8 && std::abs(qGreen(a) - qGreen(b)) <= 8 &&
         std::abs(qBlue(a) - qBlue(b)) <= 8;
}

bool SamePixels(const QImage& a, const QImage& b) {
  return a.size() == b.size() &&
         a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

// ---- the parser on its own ----

struct ParseCase {
  const char* name;
  Exif exif;
  int expected;
};

std::vector<ParseCase> ParseCases() {
  std::vector<ParseCase> cases;
  for (bool mm : {false, true}) {
    const char* order = mm ? "MM" : "II";
    for (int o = 1; o <= 8; ++o) cases.push_back({order, Oriented(o, mm), o});
    cases.push_back({"long value", MakeExif(mm, {{0x0112, kLong, 1, 6}}), 6});
    cases.push_back({"directory further on", MakeExif(mm, {{0x0112, kShort, 1, 8}}, 40), 8});
    cases.push_back({"first of two tags", MakeExif(mm, {{0x0112, kShort, 1, 3}, {0x0112, kShort, 1, 6}}), 3});
    cases.push_back({"no orientation tag", MakeExif(mm, {{0x010F, kAscii, 4, 0}}), 1});
    cases.push_back({"empty directory", MakeExif(mm, {}), 1});
    cases.push_back({"value 0", MakeExif(mm, {{0x0112, kShort, 1, 0}}), 1});
    cases.push_back({"value 9", MakeExif(mm, {{0x0112, kShort, 1, 9}}), 1});
    cases.push_back({"two values", MakeExif(mm, {{0x0112, kShort, 2, 6}}), 1});
    cases.push_back({"huge value count", MakeExif(mm, {{0x0112, kShort, 0xFFFFFFFF, 6}}), 1});
    cases.push_back({"ascii type", MakeExif(mm, {{0x0112, kAscii, 1, 6}}), 1});
    // The next-directory offset points back at the first directory: never followed.
    cases.push_back({"directory loop", MakeExif(mm, {{0x010F, kAscii, 4, 0}}, 8, 8), 1});
    cases.push_back({"loop with orientation", MakeExif(mm, {{0x0112, kShort, 1, 5}}, 8, 8), 5});

    Exif e = Oriented(6, mm);
    e.Put32(4, 0);  // the directory starts on the header: "II"/"MM" read as a huge count
    cases.push_back({"directory on the header", e, 1});
    e = Oriented(6, mm);
    e.Put32(4, quint32(e.bytes.size() - kTiff));  // just past the end
    cases.push_back({"directory past the end", e, 1});
    e = Oriented(6, mm);
    e.Put32(4, 0xFFFFFFFF);
    cases.push_back({"directory offset overflows", e, 1});
    e = Oriented(6, mm);
    e.Put16(8, 0xFFFF);
    cases.push_back({"huge entry count", e, 1});
    e = Oriented(6, mm);
    e.Put16(8, 4);  // one entry more than the block holds (the next offset is too short)
    cases.push_back({"count one past the end", e, 1});
    e = MakeExif(mm, std::vector<Entry>(600, {0x010F, kAscii, 4, 0}));
    e.Put16(10 + 12 * 599, 0x0112);
    e.Put16(12 + 12 * 599, kShort);
    e.Put32(14 + 12 * 599, 1);
    e.Put16(18 + 12 * 599, 6);
    cases.push_back({"more entries than a directory holds", e, 1});
    e = Oriented(6, mm);
    e.Put16(2, 43);
    cases.push_back({"wrong magic number", e, 1});
  }
  Exif e = Oriented(6);
  e.bytes[kTiff + 1] = 'M';
  cases.push_back({"mixed byte order", e, 1});
  e = Oriented(6);
  e.bytes[4] = 'x';
  cases.push_back({"not an EXIF block", e, 1});
  cases.push_back({"empty", Exif{}, 1});
  return cases;
}

TEST(ExifOrientation, ReadsTheTagOrFallsBackToOne) {
  for (const ParseCase& c : ParseCases()) {
    // An exact-size copy, so that a read past the end is caught by the address sanitizer.
    const std::vector<uchar> bytes(c.exif.bytes.begin(), c.exif.bytes.end());
    EXPECT_EQ(ExifOrientation(bytes.data(), qsizetype(bytes.size())), c.expected)
        << c.name << (c.exif.mm ? " MM" : " II");
  }
}

TEST(ExifOrientation, EveryTruncationIsHarmless) {
  for (bool mm : {false, true}) {
    const Exif e = Oriented(7, mm);
    for (qsizetype n = 0; n <= e.bytes.size(); ++n) {
      const std::vector<uchar> bytes(e.bytes.begin(), e.bytes.begin() + n);
      // A directory whose entries do not all fit is damaged as a whole.
      const int expected = n >= 8 + kTiff + 2 + 3 * 12 ? 7 : 1;
      EXPECT_EQ(ExifOrientation(bytes.data(), n), expected) << n << " bytes";
    }
  }
  EXPECT_EQ(ExifOrientation(nullptr, 0), 1);
}

// ---- the reader turns the picture ----

struct TurnCase {
  const char* name;
  int blocksX, blocksY;
  Kind kind;
};

TEST(ExifOrientation, JpegPhotosAreShownTheRightWayUp) {
  const TurnCase cases[] = {{"3x2", 3, 2, Kind::Rgb},
                            {"5x7 (several strips)", 5, 7, Kind::Rgb},
                            {"progressive", 5, 3, Kind::Progressive},
                            {"greyscale", 3, 5, Kind::Grey},
                            {"cmyk", 4, 3, Kind::Cmyk}};
  for (const TurnCase& c : cases) {
    const QImage stored = Decode(MakeJpeg(c.blocksX, c.blocksY, {}, c.kind));
    ASSERT_EQ(stored.size(), QSize(c.blocksX * 8, c.blocksY * 8)) << c.name;
    if (c.kind == Kind::Rgb) {  // every block its own colour: the comparisons below mean something
      for (int by = 0; by < c.blocksY; ++by)
        for (int bx = 0; bx < c.blocksX; ++bx) {
          ASSERT_TRUE(Near(stored.pixel(bx * 8 + 4, by * 8 + 4), BlockColour(by * c.blocksX + bx)))
              << c.name << " block " << bx << "," << by;
        }
    }
    for (bool mm : {false, true})
      for (int o = 1; o <= 8; ++o) {
        const QImage shown = Decode(MakeJpeg(c.blocksX, c.blocksY, {Oriented(o, mm).bytes}, c.kind));
        EXPECT_EQ(shown.format(), QImage::Format_RGB32);
        EXPECT_TRUE(SamePixels(shown, Shown(stored, o)))
            << c.name << (mm ? " MM" : " II") << " orientation " << o;
      }
  }
}

// Which corner of the stored picture each orientation brings to the top left, by block colour.
TEST(ExifOrientation, TopLeftCornerByOrientation) {
  // Blocks of the 3 × 2 picture: 0 top left, 2 top right, 3 bottom left, 5 bottom right.
  const int corner[9] = {0, 0, 2, 5, 3, 0, 3, 5, 2};
  for (int o = 1; o <= 8; ++o) {
    const QImage shown = Decode(MakeJpeg(3, 2, {Oriented(o, true).bytes}));
    EXPECT_EQ(shown.size(), o >= 5 ? QSize(16, 24) : QSize(24, 16)) << o;
    EXPECT_TRUE(Near(shown.pixel(1, 1), BlockColour(corner[o]))) << o;
  }
}

TEST(ExifOrientation, DamagedBlocksLeaveThePictureAsStored) {
  const QImage stored = Decode(MakeJpeg(3, 2, {}));
  for (const ParseCase& c : ParseCases()) {
    if (c.expected != 1) continue;
    EXPECT_TRUE(SamePixels(Decode(MakeJpeg(3, 2, {c.exif.bytes})), stored)) << c.name;
  }
  // Every truncation of a block inside a real file.
  const Exif e = Oriented(6);
  for (qsizetype n = 0; n < 8 + kTiff + 2 + 3 * 12; ++n)
    EXPECT_TRUE(SamePixels(Decode(MakeJpeg(3, 2, {e.bytes.left(n)})), stored)) << n;
}

TEST(ExifOrientation, FirstExifBlockAmongTheApp1SegmentsCounts) {
  const QImage stored = Decode(MakeJpeg(3, 2, {}));
  const QByteArray xmp = QByteArray("http://ns.adobe.com/xap/1.0/") + '\0' + "<x:xmpmeta/>";
  EXPECT_TRUE(SamePixels(Decode(MakeJpeg(3, 2, {xmp, Oriented(6).bytes, Oriented(3).bytes})),
                         Shown(stored, 6)));
  EXPECT_TRUE(SamePixels(Decode(MakeJpeg(3, 2, {xmp})), stored));
  // A full-size segment whose directory lies near its end (a thumbnail ahead of it, say).
  const Exif far = MakeExif(false, {{0x0112, kShort, 1, 8}}, 65000);
  ASSERT_LE(far.bytes.size(), 65533);
  EXPECT_TRUE(SamePixels(Decode(MakeJpeg(3, 2, {far.bytes})), Shown(stored, 8)));
}

// A turned picture costs no more than the stored one: a picture exactly at the budget turns.
TEST(ExifOrientation, TurningFitsTheSameBudget) {
  const QByteArray jpeg = MakeJpeg(3, 2, {Oriented(6).bytes});
  EXPECT_EQ(Decode(jpeg, 24 * 16).size(), QSize(16, 24));
  const PictureRead over = ReadJpeg(reinterpret_cast<const uchar*>(jpeg.constData()), jpeg.size(),
                                    24 * 16 - 1);
  EXPECT_FALSE(over.ok());
  EXPECT_TRUE(over.error.contains(QStringLiteral("图像过大"))) << over.error.toStdString();
}

// ---- pictures read through Qt's plugins turn the same way ----

// A WebP file of `picture` (lossless, as Qt's plugin writes it) in the extended layout, with an
// EXIF chunk holding `exif` (the TIFF structure, or a whole EXIF block with its signature).
QByteArray WebpWithExif(const QImage& picture, const QByteArray& exif) {
  QByteArray plain;
  QBuffer buffer(&plain);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "webp");
  writer.setQuality(100);
  if (!writer.write(picture) || plain.mid(12, 4) != "VP8L") return {};
  auto le = [](quint32 v, int bytes) {
    QByteArray out;
    for (int i = 0; i < bytes; ++i) out += char(v >> (8 * i));
    return out;
  };
  auto chunk = [&](const char* type, const QByteArray& body) {
    const QByteArray pad = body.size() % 2 ? QByteArray(1, '\0') : QByteArray();
    return QByteArray(type, 4) + le(quint32(body.size()), 4) + body + pad;
  };
  const QByteArray header = QByteArray(1, char(0x08)) + QByteArray(3, '\0') + le(quint32(picture.width() - 1), 3) +
                            le(quint32(picture.height() - 1), 3);  // flags: EXIF metadata
  const QByteArray body = "WEBP" + chunk("VP8X", header) + plain.mid(12) + chunk("EXIF", exif);
  return "RIFF" + le(quint32(body.size()), 4) + body;
}

TEST(ExifOrientation, TiffAndWebpPicturesAreShownTheRightWayUp) {
  QImage stored(5, 3, QImage::Format_RGB32);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) stored.setPixel(x, y, qRgb(x * 50, y * 100, (x * 3 + y) * 15));
  auto tiff = [&](int orientation, bool grey) {
    picture_test::TiffPage p;
    p.width = 5;
    p.height = 3;
    p.samples = grey ? 1 : 3;
    p.photometric = grey ? 1 : 2;
    p.orientation = orientation;
    p.sample = [&](int x, int y, int c) {
      return quint32(grey ? qRed(stored.pixel(x, y)) : (stored.pixel(x, y) >> (16 - 8 * c)) & 255);
    };
    return picture_test::MakeTiff({p});
  };
  QImage grey = stored;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      const int v = qRed(stored.pixel(x, y));
      grey.setPixel(x, y, qRgb(v, v, v));
    }
  for (int o = 1; o <= 8; ++o) {
    const Exif exif = Oriented(o, o % 2 == 0);
    const struct {
      const char* kind;
      QByteArray file;
      QImage stored;
    } files[] = {{"TIFF (RGB)", tiff(o, false), stored},
                 {"TIFF (grey)", tiff(o, true), grey},
                 {"WebP", WebpWithExif(stored, exif.bytes.mid(kTiff)), stored},
                 {"WebP (EXIF block)", WebpWithExif(stored, exif.bytes), stored}};
    for (const auto& f : files) {
      const PictureRead r = ReadPicture(f.file);
      ASSERT_TRUE(r.ok()) << f.kind << " " << o << ": " << r.error.toStdString();
      EXPECT_TRUE(SamePixels(r.image, Shown(f.stored, o))) << f.kind << " orientation " << o;
    }
  }
}

TEST(ExifOrientation, PictureToolDecodesTheShownPicture) {
  QTemporaryDir dir;
  const QString jpg = dir.filePath("phone.jpg"), ppm = dir.filePath("phone.ppm");
  {
    QFile f(jpg);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(MakeJpeg(3, 2, {Oriented(6, true).bytes}));
  }
  QProcess p;
  p.start(QStringLiteral(QM_TOOL_PICTURE), {"decode", jpg, ppm});
  ASSERT_TRUE(p.waitForFinished(60000));
  ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  QFile f(ppm);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  ASSERT_TRUE(bytes.startsWith("P6\n16 24\n255\n"));
  ASSERT_EQ(bytes.size(), 13 + 16 * 24 * 3);
  // Turned clockwise: the stored bottom-left block is now at the top left.
  const QRgb c = BlockColour(3);
  EXPECT_TRUE(Near(qRgb(uchar(bytes[13]), uchar(bytes[14]), uchar(bytes[15])), c));
}

}  // namespace
