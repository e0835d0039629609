// The PNG reader's memory: a picture of 16-bit samples needs no more than its 8-bit twin, because
// its samples become 8 bits row by row as they are decoded. Measured as the peak resident memory
// (getrusage) of a child process that opens each file; not under the sanitizers, whose shadow
// memory would be measured too.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "document/PictureFiles.h"
#include "document/PngTestFiles.h"

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

// Opens `path` in a child process; the growth of its peak resident memory while it did, in bytes,
// or -1 when the picture did not open.
long long PeakGrowthOpening(const QString& path) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    close(pipeFds[0]);
    const long long before = ResidentBytes();
    const PictureRead read = ReadPictureFile(path);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    long long growth = usage.ru_maxrss * 1024ll - before;
    if (!read.ok() || read.image.size() != QSize(kWidth, kHeight)) growth = -1;
    if (write(pipeFds[1], &growth, sizeof growth) != sizeof growth) _exit(2);
    _exit(0);
  }
  close(pipeFds[1]);
  long long growth = -1;
  if (child < 0 || read(pipeFds[0], &growth, sizeof growth) != sizeof growth) growth = -1;
  close(pipeFds[0]);
  int status = 0;
  if (child > 0) waitpid(child, &status, 0);
  return growth;
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

}  // namespace
