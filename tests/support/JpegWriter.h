#pragma once
// JPEG files compressed with libjpeg's own compressor, as cameras and other programs write them,
// for the reader's tests and benchmarks.
#include <QByteArray>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <jpeglib.h>

namespace picture_test {

struct JpegRecipe {
  int width = 37;
  int height = 23;
  J_COLOR_SPACE input = JCS_RGB;
  int components = 3;
  J_COLOR_SPACE stored = JCS_UNKNOWN;  // JCS_UNKNOWN: libjpeg's default for the input
  bool progressive = false;
  int quality = 100;
  bool fullResolution = false;  // every component at full resolution: no chroma subsampling
  std::vector<QByteArray> app1;  // bodies of APP1 segments, each written as its own segment
  std::function<void(int, int, uchar*)> pixel;  // fills the `components` samples of pixel (x, y)
};

inline QByteArray MakeJpeg(const JpegRecipe& s) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = JDIMENSION(s.width);
  c.image_height = JDIMENSION(s.height);
  c.input_components = s.components;
  c.in_color_space = s.input;
  jpeg_set_defaults(&c);
  if (s.stored != JCS_UNKNOWN) jpeg_set_colorspace(&c, s.stored);
  jpeg_set_quality(&c, s.quality, TRUE);
  if (s.fullResolution)
    for (int i = 0; i < c.num_components; ++i) {
      c.comp_info[i].h_samp_factor = 1;
      c.comp_info[i].v_samp_factor = 1;
    }
  if (s.progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  for (const QByteArray& body : s.app1)
    jpeg_write_marker(&c, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(body.constData()), unsigned(body.size()));
  std::vector<uchar> row(size_t(s.width) * size_t(s.components));
  while (c.next_scanline < c.image_height) {
    for (int x = 0; x < s.width; ++x) s.pixel(x, int(c.next_scanline), &row[size_t(x) * size_t(s.components)]);
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
  std::free(out);
  return bytes;
}

}  // namespace picture_test
