// Feeds arbitrary bytes to the bitmap reader. The picture budget is smaller than the program's so
// that a run spends its time on the reader's logic, not on filling huge empty pictures.
#include <cstddef>
#include <cstdint>

#include "document/BitmapReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const PictureRead r = ReadBitmap(data, qsizetype(size), qint64(1024) * 1024);
  if (r.ok()) {
    // Touch the last pixel so that a wrongly sized picture shows up.
    volatile QRgb last = r.image.pixel(r.image.width() - 1, r.image.height() - 1);
    (void)last;
  }
  return 0;
}
