// Feeds arbitrary bytes to the program's own reading entry point, ReadPicture, which hands a file
// with the PNG signature to the PNG reader: its chunk walk, then libpng, then the composite over
// white, then our companion chunk when the file holds one.
#include <cstddef>
#include <cstdint>

#include "document/PictureFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const PictureRead r = ReadPicture(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
  if (r.ok()) {
    // Every picture the program gets is opaque Format_RGB32; touch the last pixel so that a
    // wrongly sized picture shows up.
    if (r.image.format() != QImage::Format_RGB32) __builtin_trap();
    volatile QRgb last = r.image.pixel(r.image.width() - 1, r.image.height() - 1);
    if (qAlpha(last) != 255) __builtin_trap();
    // A companion is handed on only whole, at its scale, beside the picture it belongs to.
    if (!r.companion.isNull() && (r.detail != CompanionVerdict::Restored ||
                                  r.companion.size() != r.image.size() * r.companionScale))
      __builtin_trap();
  }
  return 0;
}
