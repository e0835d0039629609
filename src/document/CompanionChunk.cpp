#include "document/CompanionChunk.h"

#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "figures/CompanionFaithfulness.h"
#include "figures/PicturePair.h"

namespace {

constexpr quint32 kOpaque = 0xFF000000u;

quint32 U32(const uchar* p) {
  return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

void PutU32(uchar* p, quint32 v) {
  p[0] = uchar(v >> 24), p[1] = uchar(v >> 16), p[2] = uchar(v >> 8), p[3] = uchar(v);
}

QImage Rgb32(const QImage& image) {
  return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
}

const quint32* Row(const QImage& image, int y) { return reinterpret_cast<const quint32*>(image.constScanLine(y)); }

qint64 MaskBytes(qint64 width, qint64 height) { return (width * height + 7) / 8; }

// Whether the k x k block of picture pixel x (of the picture row whose companion rows are
// `rows`) is the colour `c` throughout.
bool BlockIs(const quint32* const* rows, int k, int x, quint32 c) {
  for (int j = 0; j < k; ++j)
    for (int i = 0; i < k; ++i)
      if ((rows[j][x * k + i] | kOpaque) != c) return false;
  return true;
}

// Calls `differs(x, y, rows)` for every picture pixel whose block is not its colour throughout,
// in order, until it returns false. Rows of blocks that are the picture row enlarged exactly
// (most of a drawing) are passed over at the speed of a memory comparison.
template <class F>
void ForEachDetailBlock(const QImage& picture, const QImage& companion, int k, F&& differs) {
  const int w = picture.width(), h = picture.height();
  std::vector<quint32> enlarged(size_t(w) * size_t(k));
  const quint32* rows[4];
  for (int y = 0; y < h; ++y) {
    const quint32* p = Row(picture, y);
    for (int x = 0; x < w; ++x) std::fill_n(enlarged.data() + size_t(x) * size_t(k), k, p[x] | kOpaque);
    bool same = true;
    for (int j = 0; j < k; ++j) {
      rows[j] = Row(companion, y * k + j);
      same = same && std::memcmp(rows[j], enlarged.data(), enlarged.size() * 4) == 0;
    }
    if (same) continue;
    for (int x = 0; x < w; ++x)
      if (!BlockIs(rows, k, x, p[x] | kOpaque) && !differs(x, y, rows)) return;
  }
}

// Inflates exactly `n` bytes into `out`; false when the stream ends early or is not sound.
// `ended` becomes true when the stream's end was reached.
bool Inflate(z_stream& zs, uchar* out, size_t n, bool& ended) {
  zs.next_out = out;
  zs.avail_out = uInt(n);
  while (zs.avail_out > 0) {
    if (ended) return false;
    const int ret = inflate(&zs, Z_NO_FLUSH);
    if (ret == Z_STREAM_END) ended = true;
    else if (ret != Z_OK) return false;
  }
  return true;
}

struct Inflater {
  z_stream zs{};
  bool ready = false;
  Inflater(const uchar* data, qsizetype size) {
    zs.next_in = const_cast<Bytef*>(data);
    zs.avail_in = uInt(size);
    ready = inflateInit(&zs) == Z_OK;
  }
  ~Inflater() {
    if (ready) inflateEnd(&zs);
  }
};

CompanionRead Verdict(CompanionVerdict v) {
  CompanionRead r;
  r.verdict = v;
  return r;
}

}  // namespace

quint32 PictureChecksum(const QImage& image) {
  const QImage picture = Rgb32(image);
  uLong crc = crc32(0, nullptr, 0);
  std::vector<uchar> rgb(size_t(picture.width()) * 3);
  for (int y = 0; y < picture.height(); ++y) {
    const quint32* s = Row(picture, y);
    uchar* d = rgb.data();
    for (int x = 0; x < picture.width(); ++x, d += 3)
      d[0] = uchar(s[x] >> 16), d[1] = uchar(s[x] >> 8), d[2] = uchar(s[x]);
    crc = crc32(crc, rgb.data(), uInt(rgb.size()));
  }
  return quint32(crc);
}

bool CompanionHoldsDetail(const QImage& image, const QImage& big, int k) {
  if (k < 2 || image.isNull() || big.size() != image.size() * k) return false;
  bool detail = false;
  ForEachDetailBlock(Rgb32(image), Rgb32(big), k, [&](int, int, const quint32* const*) {
    detail = true;
    return false;
  });
  return detail;
}

QByteArray EncodeCompanionChunk(const QImage& image, const QImage& big, int k, bool enlargedParts) {
  if (k < 2 || k > 4 || image.isNull() || (!big.isNull() && big.size() != image.size() * k)) return {};
  const QImage picture = Rgb32(image), companion = big.isNull() ? QImage() : Rgb32(big);
  const int w = picture.width(), h = picture.height();
  try {
    std::vector<uchar> mask(size_t(MaskBytes(w, h)), 0);
    std::vector<uchar> blocks;
    quint32 count = 0;
    // A null companion is the picture enlarged: no block holds detail.
    if (!companion.isNull()) ForEachDetailBlock(picture, companion, k, [&](int x, int y, const quint32* const* rows) {
      const qint64 bit = qint64(y) * w + x;
      mask[size_t(bit >> 3)] |= uchar(0x80u >> (bit & 7));
      ++count;
      for (int j = 0; j < k; ++j)
        for (int i = 0; i < k; ++i) {
          const quint32 c = rows[j][x * k + i];
          blocks.push_back(uchar(c >> 16));
          blocks.push_back(uchar(c >> 8));
          blocks.push_back(uchar(c));
        }
      return true;
    });

    z_stream zs{};
    if (deflateInit(&zs, Z_DEFAULT_COMPRESSION) != Z_OK) return {};
    const uLong bound = deflateBound(&zs, uLong(mask.size() + blocks.size()));
    QByteArray body(kCompanionChunkHeaderBytes + qsizetype(bound), Qt::Uninitialized);
    auto* b = reinterpret_cast<uchar*>(body.data());
    b[0] = uchar(kCompanionChunkVersion), b[1] = uchar(k), b[2] = enlargedParts ? 1 : 0, b[3] = 0;
    PutU32(b + 4, quint32(w));
    PutU32(b + 8, quint32(h));
    PutU32(b + 12, PictureChecksum(picture));
    PutU32(b + 16, count);
    zs.next_out = b + kCompanionChunkHeaderBytes;
    zs.avail_out = uInt(bound);
    zs.next_in = mask.data();
    zs.avail_in = uInt(mask.size());
    int ret = deflate(&zs, Z_NO_FLUSH);
    if (ret == Z_OK) {
      zs.next_in = blocks.data();
      zs.avail_in = uInt(blocks.size());
      ret = deflate(&zs, Z_FINISH);
    }
    const qsizetype written = qsizetype(zs.total_out);
    deflateEnd(&zs);
    if (ret != Z_STREAM_END) return {};
    body.truncate(kCompanionChunkHeaderBytes + written);
    return body;
  } catch (const std::bad_alloc&) {
    return {};
  }
}

CompanionVerdict CheckCompanionChunk(const uchar* body, qsizetype size, int width, int height) {
  if (size < kCompanionChunkHeaderBytes) return CompanionVerdict::Damaged;
  if (body[0] != kCompanionChunkVersion) return CompanionVerdict::UnknownVersion;
  const int k = body[1];
  if (k < 2 || k > 4) return CompanionVerdict::BadScale;
  if (U32(body + 4) != quint32(width) || U32(body + 8) != quint32(height)) return CompanionVerdict::OtherSize;
  // A resized picture keeps a scale lower than a new one of its size would get: any scale that fits.
  if (CompanionScaleFor(width, height) < k) return CompanionVerdict::BadScale;
  const qint64 blocks = U32(body + 16);
  if (blocks > qint64(width) * height) return CompanionVerdict::Damaged;
  const qint64 raw = MaskBytes(width, height) + blocks * k * k * 3;
  if (size - kCompanionChunkHeaderBytes > qint64(compressBound(uLong(raw)))) return CompanionVerdict::Damaged;
  return CompanionVerdict::Restored;
}

CompanionRead DecodeCompanionChunk(const uchar* body, qsizetype size, const QImage& image) {
  if (image.isNull()) return Verdict(CompanionVerdict::OtherSize);
  const CompanionVerdict header = CheckCompanionChunk(body, size, image.width(), image.height());
  if (header != CompanionVerdict::Restored) return Verdict(header);
  const QImage picture = Rgb32(image);
  if (PictureChecksum(picture) != U32(body + 12)) return Verdict(CompanionVerdict::PixelsChanged);
  const int w = picture.width(), h = picture.height(), k = body[1];
  const quint32 count = U32(body + 16);

  Inflater in(body + kCompanionChunkHeaderBytes, size - kCompanionChunkHeaderBytes);
  if (!in.ready) return Verdict(CompanionVerdict::NoMemory);
  bool ended = false;
  std::vector<uchar> mask;
  try {
    mask.resize(size_t(MaskBytes(w, h)));
  } catch (const std::bad_alloc&) {
    return Verdict(CompanionVerdict::NoMemory);
  }
  if (!Inflate(in.zs, mask.data(), mask.size(), ended)) return Verdict(CompanionVerdict::Damaged);
  // Bits past the last pixel are never set.
  const qint64 pixels = qint64(w) * h;
  if (pixels % 8 != 0 && (mask.back() & (0xFFu >> (pixels % 8))) != 0) return Verdict(CompanionVerdict::Damaged);
  qint64 set = 0;
  for (uchar byte : mask) set += std::popcount(byte);
  if (set != count) return Verdict(CompanionVerdict::Damaged);

  CompanionRead result;
  result.companion = Enlarged(picture, k);
  if (result.companion.isNull()) return Verdict(CompanionVerdict::NoMemory);
  // The blocks come a few hundred at a time, each put where its bit says.
  const size_t blockBytes = size_t(k) * size_t(k) * 3;
  const size_t perBatch = std::max<size_t>(1, 49152 / blockBytes);
  std::vector<uchar> batch(perBatch * blockBytes);
  size_t inBatch = 0, used = 0;
  quint32 remaining = count;
  for (size_t byte = 0; byte < mask.size() && remaining > 0; ++byte) {
    // The first pixel of the byte is its highest bit.
    for (uint8_t bits = mask[byte]; bits != 0;) {
      const int offset = std::countl_zero(bits);
      bits = uint8_t(bits & ~(0x80u >> offset));
      if (used == inBatch) {
        inBatch = std::min<size_t>(perBatch, remaining);
        used = 0;
        if (!Inflate(in.zs, batch.data(), inBatch * blockBytes, ended)) return Verdict(CompanionVerdict::Damaged);
      }
      const qint64 index = qint64(byte) * 8 + offset;
      const int x = int(index % w), y = int(index / w);
      const uchar* s = batch.data() + used * blockBytes;
      for (int j = 0; j < k; ++j) {
        auto* d = reinterpret_cast<quint32*>(result.companion.scanLine(y * k + j)) + x * k;
        for (int i = 0; i < k; ++i, s += 3) d[i] = kOpaque | (quint32(s[0]) << 16) | (quint32(s[1]) << 8) | s[2];
      }
      ++used;
      --remaining;
    }
  }
  // The stream ends right after the last block, and the chunk right after the stream.
  if (!ended) {
    uchar extra = 0;
    in.zs.next_out = &extra;
    in.zs.avail_out = 1;
    if (inflate(&in.zs, Z_NO_FLUSH) != Z_STREAM_END || in.zs.avail_out != 1) return Verdict(CompanionVerdict::Damaged);
  }
  if (in.zs.avail_in != 0) return Verdict(CompanionVerdict::Damaged);

  if (!CompanionFaithful(picture, result.companion, k)) return Verdict(CompanionVerdict::NotFaithful);
  result.k = k;
  result.enlargedParts = (body[2] & 1) != 0;
  result.verdict = CompanionVerdict::Restored;
  return result;
}
