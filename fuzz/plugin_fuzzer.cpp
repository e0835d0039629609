// Feeds arbitrary bytes to the program's reader of one format that a Qt image plugin decodes
// (QM_FUZZ_FORMAT, the row's name in lower case: "webp", "tiff"), past the check of its
// signature: the size checks, the plugin, the composite over white and the turn the right way up.
// The picture budget is smaller than the program's so that a run spends its time on the decoding,
// not on filling huge empty pictures.
#include <cstddef>
#include <cstdint>

#include "document/PictureFormats.h"

namespace {
const PictureFormat* Row() {
  for (const PictureFormat& f : PictureFormats())
    if (f.name.toLower() == QStringLiteral(QM_FUZZ_FORMAT) && f.qtPlugin) return &f;
  __builtin_trap();  // no such row: the corpus folder names no format of the table
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const PictureFormat& format = *Row();
  const PictureRead r = format.Read(data, qsizetype(size), qint64(1024) * 1024);
  if (r.ok()) {
    // Every picture the program gets is opaque Format_RGB32; touch the last pixel so that a
    // wrongly sized picture shows up.
    if (r.image.format() != QImage::Format_RGB32) __builtin_trap();
    volatile QRgb last = r.image.pixel(r.image.width() - 1, r.image.height() - 1);
    if (qAlpha(last) != 255) __builtin_trap();
  }
  return 0;
}
