// Feeds arbitrary bytes to the reader of recovery copies, as the start reads a copy it found.
// Where the bytes have the shape of a copy (a note chunk after the header), its checksum and the
// guard over the rest are made right first, so that the fuzzer gets past them into the note and
// the picture; the seed corpus holds whole copies.
#include <cstddef>
#include <cstdint>

#include <QByteArray>
#include <zlib.h>

#include "document/RecoveryCopy.h"

namespace {

quint32 Crc(const uchar* p, size_t n, quint32 from = 0) { return quint32(crc32(from, p, uInt(n))); }

void Put(uchar* p, quint32 v) {
  for (int i = 0; i < 4; ++i) p[i] = uchar(v >> (24 - 8 * i));
}

quint32 Get(const uchar* p) { return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3]; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  auto* b = reinterpret_cast<uchar*>(bytes.data());
  constexpr size_t kNote = 33;
  if (size >= kNote + 24) {
    const size_t length = Get(b + kNote);
    if (length >= 12 && kNote + 12 + length <= size) {
      const size_t tail = kNote + 12 + length;
      Put(b + kNote + 8 + 4, quint32(size - tail));
      Put(b + kNote + 8 + 8, Crc(b + tail, size - tail, Crc(b, kNote)));
      Put(b + kNote + 8 + length, Crc(b + kNote + 4, length + 4));
    }
  }
  const RecoveryRead r = ReadRecoveryCopy(bytes);
  if (r.verdict == RecoveryVerdict::Whole) {
    if (r.picture.isNull()) __builtin_trap();
    const QImage& c = r.picture.companion;
    if (!c.isNull() && c.size() != r.picture.size() * r.picture.Scale()) __builtin_trap();
  } else if (!r.picture.isNull()) {
    __builtin_trap();  // a copy that is not whole is never handed on
  }
  return 0;
}
