// Feeds arbitrary bytes to the decoder of our companion chunk, as the body of a chunk describing a
// small picture of its own: the body's size and checksum fields are set to that picture's, so that
// the fuzzer gets past them into the mask of detail blocks, the blocks' data and the faithfulness
// check. (In a whole file the chunk's own checksum and the picture's keep most bytes away.)
#include <cstddef>
#include <cstdint>

#include <QByteArray>
#include <QImage>

#include "document/CompanionChunk.h"

namespace {

// 60 x 40, white with a black diagonal from (0, 0) to (39, 39); the seed corpus's chunks are
// written for the same picture.
QImage Picture() {
  QImage image(60, 40, QImage::Format_RGB32);
  image.fill(0xFFFFFFFFu);
  for (int i = 0; i < 40; ++i) image.setPixel(i, i, 0xFF000000u);
  return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const QImage picture = Picture();
  static const quint32 checksum = PictureChecksum(picture);
  QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
  if (body.size() >= kCompanionChunkHeaderBytes) {
    const quint32 fields[3] = {60, 40, checksum};
    for (int f = 0; f < 3; ++f)
      for (int i = 0; i < 4; ++i) body[4 + 4 * f + i] = char(fields[f] >> (24 - 8 * i));
  }
  const CompanionRead r = DecodeCompanionChunk(reinterpret_cast<const uchar*>(body.constData()), body.size(), picture);
  if (r.verdict == CompanionVerdict::Restored) {
    if (r.companion.size() != picture.size() * r.k || r.companion.format() != QImage::Format_RGB32) __builtin_trap();
  } else if (!r.companion.isNull()) {
    __builtin_trap();  // a companion that was not restored is never handed on
  }
  return 0;
}
