// Feeds arbitrary bytes to the JPEG reader (and so to libjpeg through our error manager).
#include <cstddef>
#include <cstdint>

#include "document/JpegReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const PictureRead r = ReadJpeg(data, qsizetype(size), qint64(1024) * 1024);
  if (r.ok()) {
    volatile QRgb last = r.image.pixel(r.image.width() - 1, r.image.height() - 1);
    (void)last;
  }
  return 0;
}
