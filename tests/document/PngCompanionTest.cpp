// The high-resolution companion kept in a PNG file: written with the picture, read back exactly,
// and never trusted when the chunk or the pixels around it are not what it was written with.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "document/CompanionChunk.h"
#include "document/PictureFiles.h"
#include "document/PictureFormats.h"
#include "document/PngFormat.h"
#include "document/PngTestFiles.h"
#include "support/Colors.h"
#include "figures/Canvas.h"
#include "figures/CompanionFaithfulness.h"

using namespace picture_test;

namespace {

// A picture drawn through the canvas at scale k: slants and a curve, which the companion holds
// at k times the detail, and a box, which it holds as the picture enlarged.
Canvas Drawn(int w, int h, int k) {
  Canvas c(w, h);
  EXPECT_TRUE(c.SetCompanion(k)) << w << "x" << h << " at " << k;
  c.DrawWidth = 2;
  c.Line(3, 4, w - 5, h - 7);
  c.DrawWidth = 1;
  c.ForeColor = qRgb(200, 30, 40);
  c.Circle(w / 2.0, h / 2.0, h / 3.0);
  c.Box(10, 10, 40, 30);
  c.CommitCompanion();
  return c;
}

QByteArray Save(const PicturePair& pair, bool enlargedParts = false) {
  return EncodePicture(pair, FormatNamed("PNG"), kScreenDotsPerMetre, enlargedParts);
}

quint32 U32At(const QByteArray& b, qsizetype at) {
  return quint32(uchar(b[at])) << 24 | quint32(uchar(b[at + 1])) << 16 | quint32(uchar(b[at + 2])) << 8 |
         uchar(b[at + 3]);
}

// The chunks of a PNG file, in order: (type, offset).
std::vector<std::pair<QByteArray, qsizetype>> Chunks(const QByteArray& file) {
  std::vector<std::pair<QByteArray, qsizetype>> out;
  for (qsizetype p = 8; p + 12 <= file.size(); p += 12 + qsizetype(U32At(file, p))) out.emplace_back(file.mid(p + 4, 4), p);
  return out;
}

QByteArray BodyOf(const QByteArray& file, qsizetype chunkAt) { return file.mid(chunkAt + 8, U32At(file, chunkAt)); }

TEST(PngCompanion, ReadBackExactlyAtEveryScaleTheSizeAllows) {
  struct Case {
    int w, h, k;
  };
  // 600 x 220 takes 4 when new: at 3 and 2 it is a picture resized down from a larger one.
  for (const Case c : {Case{600, 220, 4}, Case{600, 220, 3}, Case{600, 220, 2}, Case{601, 219, 3}, Case{1500, 1100, 2}}) {
    const Canvas picture = Drawn(c.w, c.h, c.k);
    ASSERT_TRUE(CompanionHoldsDetail(picture.Raster(), picture.Companion(), c.k));
    for (const bool enlargedParts : {false, true}) {
      const QByteArray file = Save(picture.Pair(), enlargedParts);
      const PictureRead back = ReadPicture(file);
      ASSERT_TRUE(back.ok()) << back.error.toStdString();
      EXPECT_EQ(back.image, picture.Raster()) << c.w << "x" << c.h;
      ASSERT_EQ(back.detail, CompanionVerdict::Restored) << c.w << "x" << c.h << " at " << c.k;
      EXPECT_EQ(back.companionScale, c.k);
      EXPECT_EQ(back.companion, picture.Companion()) << c.w << "x" << c.h << " at " << c.k;
      EXPECT_EQ(back.enlargedParts, enlargedParts);
      // One chunk of ours, private, ancillary and unsafe to copy, right after the image data.
      const auto chunks = Chunks(file);
      ASSERT_GE(chunks.size(), 4u);
      EXPECT_EQ(chunks[chunks.size() - 1].first, "IEND");
      EXPECT_EQ(chunks[chunks.size() - 2].first, kCompanionChunkType);
      EXPECT_EQ(chunks[chunks.size() - 3].first, "IDAT");
      const QByteArray type = kCompanionChunkType;
      EXPECT_TRUE(islower(type[0]) && islower(type[1]) && isupper(type[2]) && isupper(type[3]));
      // What other programs read is the picture as it was saved without a companion.
      EXPECT_EQ(QImage::fromData(file).convertToFormat(QImage::Format_RGB32), picture.Raster());
    }
  }
}

struct Untrusted {
  const char* name;
  QByteArray file;
  CompanionVerdict verdict;
  QImage picture;  // what opens (the picture itself when null)
};

// `file` with its chunk of ours (at `at`) replaced by `chunk` (a whole chunk, or nothing).
QByteArray Replaced(const QByteArray& file, qsizetype at, const QByteArray& chunk) {
  return QByteArray(file).replace(at, 12 + U32At(file, at), chunk);
}

// The body with the 32-bit number at `at` (or the byte, with `byte`) set to `v`.
QByteArray Patched(QByteArray body, int at, quint32 v, bool byte = false) {
  if (byte) body[at] = char(v);
  else
    for (int i = 0; i < 4; ++i) body[at + i] = char(v >> (24 - 8 * i));
  return body;
}

// Every kind of chunk that must not be trusted, in a file of `picture`.
std::vector<Untrusted> UntrustedChunks(const Canvas& picture) {
  using V = CompanionVerdict;
  const QByteArray good = Save(picture.Pair());
  qsizetype at = -1;
  for (const auto& [type, p] : Chunks(good))
    if (type == kCompanionChunkType) at = p;
  const QByteArray body = BodyOf(good, at);
  auto with = [&](const QByteArray& b) { return Replaced(good, at, PngChunk(kCompanionChunkType, b)); };
  const qsizetype iend = good.size() - 12;
  const QByteArray chunk = good.mid(at, 12 + body.size());
  QByteArray badCrc = good;
  badCrc[at + 12 + body.size() - 1] = char(badCrc[at + 12 + body.size() - 1] ^ 0x10);
  QByteArray lengthLies = good;
  lengthLies[at + 2] = char(lengthLies[at + 2] + 1);  // 64 KB more than there is
  // The pixels edited by a program that copied the chunk as it was: one pixel changed.
  QImage edited = picture.Raster().copy();
  edited.setPixel(picture.Width() - 10, picture.Height() / 2, qRgb(1, 2, 3));
  QByteArray editedFile = WritePng(edited, kScreenDotsPerMetre);
  editedFile.insert(editedFile.size() - 12, chunk);
  // A companion that disagrees with the picture: black blocks where the picture is white (near
  // its top right corner).
  QImage wrong = picture.Companion().copy();
  const int k = picture.k();
  for (int y = 1 * k; y < 5 * k; ++y)
    for (int x = (picture.Width() - 8) * k; x < (picture.Width() - 3) * k; ++x) wrong.setPixel(x, y, qRgb(0, 0, 0));
  const QByteArray unfaithful = EncodeCompanionChunk(picture.Raster(), wrong, picture.k(), false);
  // A bomb: every block declared, the blocks' data a few bytes of zeros.
  const qint64 blocks = qint64(picture.Width()) * picture.Height();
  const QByteArray ones(int((blocks + 7) / 8), char(0xFF));
  const QByteArray bomb = Patched(body.left(kCompanionChunkHeaderBytes), 16, quint32(blocks)) + qCompress(ones, 9).mid(4);
  // A picture too large for the scale the chunk claims (2000 x 1500 allows 2).
  Canvas large = Drawn(2000, 1500, 2);
  const QByteArray largeFile = Save(large.Pair());
  qsizetype largeAt = -1;
  for (const auto& [type, p] : Chunks(largeFile))
    if (type == kCompanionChunkType) largeAt = p;
  const QByteArray largeAtFour =
      Replaced(largeFile, largeAt, PngChunk(kCompanionChunkType, Patched(BodyOf(largeFile, largeAt), 1, 4, true)));
  return {
      {"Absent", WritePng(picture.Raster(), kScreenDotsPerMetre), V::Absent, {}},
      {"ChecksumOfTheChunk", badCrc, V::Damaged, {}},
      {"LengthLies", lengthLies, V::Damaged, {}},
      {"BodyCut", with(body.left(body.size() - 9)), V::Damaged, {}},
      {"HeaderCut", with(body.left(11)), V::Damaged, {}},
      {"BytesAfterTheStream", with(body + QByteArray("\0\0\0", 3)), V::Damaged, {}},
      {"BlockCountLies", with(Patched(body, 16, U32At(body, 16) + 1)), V::Damaged, {}},
      {"Bomb", with(bomb), V::Damaged, {}},
      {"LaterVersion", with(Patched(body, 0, 2, true)), V::UnknownVersion, {}},
      {"ScaleFive", with(Patched(body, 1, 5, true)), V::BadScale, {}},
      {"ScaleOne", with(Patched(body, 1, 1, true)), V::BadScale, {}},
      {"ScaleTooLargeForTheSize", largeAtFour, V::BadScale, large.Raster()},
      {"OtherWidth", with(Patched(body, 4, quint32(picture.Width() + 1))), V::OtherSize, {}},
      {"HugeHeight", with(Patched(body, 8, 0xFFFFFFFFu)), V::OtherSize, {}},
      {"PixelsEdited", editedFile, V::PixelsChanged, edited},
      {"ChecksumDisagrees", with(Patched(body, 12, ~U32At(body, 12))), V::PixelsChanged, {}},
      {"NotFaithful", with(unfaithful), V::NotFaithful, {}},
      {"Twice", QByteArray(good).insert(iend, chunk), V::Duplicated, {}},
      {"AfterTheEnd", good.left(at) + good.mid(at + chunk.size()) + chunk, V::Absent, {}},
  };
}

TEST(PngCompanion, AChunkThatCannotBeTrustedIsDroppedAndThePictureOpensPlain) {
  const Canvas picture = Drawn(600, 220, 4);
  for (const Untrusted& c : UntrustedChunks(picture)) {
    const PictureRead r = ReadPicture(c.file);
    ASSERT_TRUE(r.ok()) << c.name << ": " << r.error.toStdString();
    EXPECT_EQ(r.detail, c.verdict) << c.name;
    EXPECT_TRUE(r.companion.isNull()) << c.name;
    EXPECT_EQ(r.image, c.picture.isNull() ? picture.Raster() : c.picture) << c.name;
  }
}

// Writes the damaged companion chunks and the reader's other bad input into the fuzzers' seed
// corpus when QM_WRITE_FUZZ_CORPUS names it (fuzz/corpus), each named after its kind.
TEST(FuzzCorpus, WritesTheCompanionSeedsWhenAsked) {
  const QString root = qEnvironmentVariable("QM_WRITE_FUZZ_CORPUS");
  if (root.isEmpty()) GTEST_SKIP() << "set QM_WRITE_FUZZ_CORPUS to write the seed pictures";
  QDir().mkpath(root + "/png");
  QDir().mkpath(root + "/companion");
  auto save = [](const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  };
  // Small pictures keep the fuzzer quick.
  const Canvas picture = Drawn(60, 40, 4);
  save(root + "/png/companion-Good.png", Save(picture.Pair()));
  for (const Untrusted& c : UntrustedChunks(picture))
    if (c.file.size() < 100000) save(root + QStringLiteral("/png/companion-%1.png").arg(c.name), c.file);
  // The companion fuzzer's seed: a body for the picture that fuzzer decodes against (60 x 40,
  // white, a black diagonal), the diagonal's blocks black but for one corner.
  QImage diagonal(60, 40, QImage::Format_RGB32);
  diagonal.fill(kWhite);
  for (int i = 0; i < 40; ++i) diagonal.setPixel(i, i, qRgb(0, 0, 0));
  QImage big = Enlarged(diagonal, 4);
  for (int i = 0; i < 40; ++i) big.setPixel(i * 4 + 3, i * 4, kWhite);
  ASSERT_TRUE(CompanionFaithful(diagonal, big, 4));
  save(root + "/companion/diagonal.bin", EncodeCompanionChunk(diagonal, big, 4, false));
}

}  // namespace
