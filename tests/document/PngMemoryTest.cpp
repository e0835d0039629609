// The readers' memory: a PNG picture of 16-bit samples needs no more than its 8-bit twin, because
// its samples become 8 bits row by row as they are decoded; a TIFF picture, which Qt's plugin
// decodes whole, becomes the program's picture in the memory Qt decoded it into. Measured as the
// peak resident memory of a process of its own that opens each file; not under the
// sanitizers, whose shadow memory would be measured too.
#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "document/PictureFiles.h"
#include "document/PngTestFiles.h"
#include "document/TiffTestFiles.h"

using namespace picture_test;

namespace {

constexpr int kWidth = 16384, kHeight = 8192;  // the largest picture the readers accept

// Writes an RGBA PNG file of kWidth x kHeight pixels at `depth` bits a sample, streamed through
// zlib so that the test itself holds none of it: every row the same gradient (the rows after the
// first filtered as "up", all zero), alpha running through 0 and 255. At 16 bits each sample is
// the 8-bit one times 257, so that both files hold the same picture.
bool WriteTwin(const QString& path, int depth) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return false;
  f.write(PngSignature() + PngHeader(kWidth, kHeight, depth, 6, false));
  const int bytes = depth / 8;
  std::vector<uchar> first(1 + size_t(kWidth) * 4 * bytes), up(first.size(), 0);
  up[0] = 2;
  for (int x = 0; x < kWidth; ++x)
    for (int c = 0; c < 4; ++c) {
      const int v8 = c == 3 ? (x * 7) & 255 : (x * (c + 1) + c * 50) & 255;
      for (int b = 0; b < bytes; ++b) first[1 + (size_t(x) * 4 + c) * bytes + b] = uchar(v8);
    }
  z_stream zs{};
  if (deflateInit(&zs, Z_BEST_SPEED) != Z_OK) return false;
  std::vector<uchar> out(size_t(1) << 20);
  auto flushOut = [&] {
    const qsizetype n = qsizetype(out.size() - zs.avail_out);
    if (n > 0) f.write(PngChunk("IDAT", QByteArray(reinterpret_cast<const char*>(out.data()), n)));
    zs.next_out = out.data();
    zs.avail_out = uInt(out.size());
  };
  zs.next_out = out.data();
  zs.avail_out = uInt(out.size());
  bool ok = true;
  for (int y = 0; y < kHeight && ok; ++y) {
    std::vector<uchar>& row = y == 0 ? first : up;
    zs.next_in = row.data();
    zs.avail_in = uInt(row.size());
    while (zs.avail_in > 0 && ok) {
      ok = deflate(&zs, Z_NO_FLUSH) == Z_OK;
      if (zs.avail_out == 0) flushOut();
    }
  }
  int ret = Z_OK;
  while (ok && (ret = deflate(&zs, Z_FINISH)) == Z_OK) flushOut();
  flushOut();
  deflateEnd(&zs);
  f.write(PngChunk("IEND", {}));
  return ok && ret == Z_STREAM_END && f.error() == QFile::NoError;
}

long long ResidentBytes() {
  long long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%lld %lld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * sysconf(_SC_PAGESIZE);
}

// The peak resident memory of this process image (VmHWM), in bytes, or 0.
long long PeakResidentBytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
  return 0;
}

// Opens `path` in a process of its own, a fresh run of this test program (a forked copy would
// inherit Qt's thread pool without its threads, and a picture conversion that waits on them would
// never end); the growth of its peak resident memory while it did, in bytes, or -1 when the
// picture did not open at `size`.
long long PeakGrowthOpening(const QString& path, QSize size = QSize(kWidth, kHeight)) {
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QM_MEMORY_PROBE"), path);
  env.insert(QStringLiteral("QM_MEMORY_PROBE_SIZE"), QStringLiteral("%1x%2").arg(size.width()).arg(size.height()));
  env.remove(QStringLiteral("GTEST_FILTER"));
  child.setProcessEnvironment(env);
  child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=ReaderMemory.Probe")});
  if (!child.waitForStarted(30000) || !child.waitForFinished(600000)) return -1;
  const QRegularExpressionMatch m =
      QRegularExpression(QStringLiteral("^peak growth (-?\\d+)$"), QRegularExpression::MultilineOption)
          .match(QString::fromLocal8Bit(child.readAllStandardOutput()));
  return m.hasMatch() ? m.captured(1).toLongLong() : -1;
}

// The child's side of PeakGrowthOpening: opens the picture it is given and prints the growth.
TEST(ReaderMemory, Probe) {
  const QString path = qEnvironmentVariable("QM_MEMORY_PROBE");
  if (path.isEmpty()) GTEST_SKIP() << "run by the memory tests in a process of its own";
  const QStringList size = qEnvironmentVariable("QM_MEMORY_PROBE_SIZE").split('x');
  ASSERT_EQ(size.size(), 2);
  const long long before = ResidentBytes();
  const PictureRead read = ReadPictureFile(path);
  long long growth = PeakResidentBytes() - before;
  if (!read.ok() || read.image.size() != QSize(size[0].toInt(), size[1].toInt())) growth = -1;
  std::printf("\npeak growth %lld\n", growth);
  std::fflush(stdout);
}

TEST(PngMemory, ASixteenBitPictureNeedsNoMoreThanItsEightBitTwin) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizers' shadow memory would be measured too";
#endif
  QTemporaryDir dir;
  const QString eight = dir.filePath("twin8.png"), sixteen = dir.filePath("twin16.png");
  ASSERT_TRUE(WriteTwin(eight, 8) && WriteTwin(sixteen, 16));
  const long long peak8 = PeakGrowthOpening(eight), peak16 = PeakGrowthOpening(sixteen);
  ASSERT_GT(peak8, 0) << "the 8-bit picture did not open";
  ASSERT_GT(peak16, 0) << "the 16-bit picture did not open";
  // Each reader holds its file's bytes; beyond them the 16-bit picture may take no more than the
  // 8-bit one (a couple of MB for rows and the allocator's rounding).
  const long long beyond8 = peak8 - QFile(eight).size(), beyond16 = peak16 - QFile(sixteen).size();
  EXPECT_LE(beyond16, beyond8 + (2ll << 20)) << "16-bit " << (peak16 >> 20) << " MB, 8-bit " << (peak8 >> 20) << " MB";
  // And the picture itself (512 MB as 32-bit pixels) is nearly all of it.
  EXPECT_LE(beyond8, (512ll + 24) << 20) << (peak8 >> 20) << " MB";
  std::printf("peak growth opening a %d x %d RGBA PNG: 8-bit %lld MB, 16-bit %lld MB (files %lld and %lld KB)\n",
              kWidth, kHeight, peak8 >> 20, peak16 >> 20, QFile(eight).size() >> 10, QFile(sixteen).size() >> 10);
}

// A 16-bit TIFF picture takes 8 bytes a pixel as Qt's plugin decodes it, and no more: it becomes
// 8 bits in that memory, with no second picture beside it. Its 8-bit twin takes 4 bytes a pixel.
TEST(PluginMemory, ASixteenBitTiffBecomesEightBitsInTheMemoryItWasDecodedInto) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizers' shadow memory would be measured too";
#endif
  constexpr int kSide = 4096;
  QTemporaryDir dir;
  long long beyond[2] = {};
  for (int depth : {8, 16}) {
    const QString path = dir.filePath(QStringLiteral("twin%1.tif").arg(depth));
    {
      TiffPage p;
      p.width = p.height = kSide;
      p.bits = depth;
      p.sample = [depth](int x, int y, int c) {
        return quint32(((x + y * 3 + c * 50) & 255) * (depth == 16 ? 257 : 1));
      };
      QFile f(path);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(MakeTiff({p})) > 0);
    }
    const long long peak = PeakGrowthOpening(path, QSize(kSide, kSide));
    ASSERT_GT(peak, 0) << "the " << depth << "-bit picture did not open";
    beyond[depth / 16] = peak - QFile(path).size();
    // Beyond the file's bytes: what Qt decodes (4 or 8 bytes a pixel), a few MB for the plugin.
    EXPECT_LE(beyond[depth / 16], qint64(kSide) * kSide * depth / 2 + (24ll << 20)) << depth << "-bit";
  }
  std::printf("peak growth beyond the file opening a %d x %d RGB TIFF: 8-bit %lld MB, 16-bit %lld MB\n", kSide,
              kSide, beyond[0] >> 20, beyond[1] >> 20);
}

}  // namespace
