#include "document/JpegReader.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "document/BitmapReader.h"
#include "document/ExifOrientation.h"

namespace {

// A progressive file is decoded scan by scan over the whole picture: a file made of thousands of
// tiny scans would keep the program busy for minutes, so such a file is refused.
constexpr int kMaxScans = 1000;

// Reasons of our own for stopping a decode, beside libjpeg's message codes.
enum : int {
  kTooManyScans = -1,
  kSideTooLarge = -2,
  kTooManyPixels = -3,
  kNoMemory = -4,
  kColorSpace = -5,
  kNoScanData = -6,
};

// libjpeg's error manager, extended so that an error returns to our decode function instead of
// ending the program. Warnings are silent. Running out of data ends the decode while the headers
// are read; later, libjpeg goes on as if the file ended there, and what was missing is noted.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  int code = 0;
  char text[JMSG_LENGTH_MAX] = {};
  bool readingHeader = false;
  bool ranOut = false;       // libjpeg asked for bytes beyond the end of the file
  bool dataMissing = false;  // a scan ended before its last block: the rest of it is grey
};

[[noreturn]] void Stop(j_common_ptr cinfo, int code) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  err->code = code;
  std::longjmp(err->jump, 1);
}

[[noreturn]] void OnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->text);
  Stop(cinfo, err->pub.msg_code);
}

void OnMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace messages
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  if (err->pub.msg_code == JWRN_JPEG_EOF) {
    if (err->readingHeader) OnError(cinfo);
    err->ranOut = true;
  }
  if (err->pub.msg_code == JWRN_HIT_MARKER) err->dataMissing = true;
  err->pub.num_warnings++;
}

// The length of the part of a JPEG file before the point where it was cut off, if it was: a file
// cut inside a marker segment is read only up to that segment, so that its end comes where a
// marker could stand, after everything that is whole. A cut inside scan data keeps all of it.
qsizetype WholePart(const uchar* d, qsizetype n) {
  qsizetype p = 2;  // after the start-of-image marker
  bool inScan = false;
  while (p < n) {
    if (inScan) {  // scan data runs to the next marker other than a stuffed byte or a restart
      const uchar* q = d + p;
      for (;;) {
        q = static_cast<const uchar*>(std::memchr(q, 0xFF, size_t(d + n - q)));
        if (q == nullptr || q + 1 >= d + n) return n;
        if (q[1] != 0 && !(q[1] >= 0xD0 && q[1] <= 0xD7)) break;
        q += 2;
      }
      p = q - d;
      inScan = false;
    }
    if (d[p] != 0xFF) return n;  // not a marker: libjpeg will say what is wrong
    if (p + 1 >= n) return p;
    const uchar m = d[p + 1];
    if (m == 0xFF) {  // fill byte
      ++p;
      continue;
    }
    if (m == 0xD9) return n;  // the end-of-image marker: nothing was cut off
    if (m == 0x01 || (m >= 0xD0 && m <= 0xD8)) {  // markers without a segment
      p += 2;
      continue;
    }
    if (n - p < 4) return p;
    const qsizetype length = (qsizetype(d[p + 2]) << 8) | d[p + 3];
    if (length < 2) return n;
    if (n - p - 2 < length) return p;
    p += 2 + length;
    if (m == 0xDA) inScan = true;
  }
  return n;
}

// Whether a progressive picture lacks a scan: every coefficient of every component is refined to
// its last bit by a whole file.
bool ProgressionIncomplete(const jpeg_decompress_struct* cinfo) {
  if (!cinfo->progressive_mode || cinfo->coef_bits == nullptr) return false;
  for (int c = 0; c < cinfo->num_components; ++c)
    for (int k = 0; k < DCTSIZE2; ++k)
      if (cinfo->coef_bits[c][k] != 0) return true;
  return false;
}

void OnOutput(j_common_ptr) {}

void OnProgress(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxScans) Stop(cinfo, kTooManyScans);
}

uchar Mul255(int a, int b) { return uchar((a * b + 127) / 255); }

// Rows are decoded in strips of this many; a turned picture is placed strip by strip, so that
// each of its rows receives a run of this many neighbouring pixels at a time.
constexpr int kStripRows = 16;

// The orientation recorded in the first EXIF block among the saved APP1 segments, 1 when none.
int RecordedOrientation(const jpeg_decompress_struct* cinfo) {
  for (jpeg_saved_marker_ptr m = cinfo->marker_list; m != nullptr; m = m->next) {
    if (m->marker != JPEG_APP0 + 1 || m->data == nullptr) continue;
    const qsizetype length = qsizetype(m->data_length);
    if (IsExifSegment(m->data, length)) return ExifOrientation(m->data, length);
  }
  return 1;
}

// Converts one row of CMYK samples to opaque RGB. Files written by Adobe programs store CMYK
// inverted (0 is full ink).
void CmykRow(const uchar* s, int w, bool inverted, uchar* out) {
  auto* d = reinterpret_cast<quint32*>(out);
  for (int x = 0; x < w; ++x, s += 4) {
    int c = s[0], m = s[1], yl = s[2], k = s[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      yl = 255 - yl;
      k = 255 - k;
    }
    d[x] = 0xFF000000u | (quint32(Mul255(c, k)) << 16) | (quint32(Mul255(m, k)) << 8) |
           Mul255(yl, k);
  }
}

// Places the decoded rows `first` .. `first + count - 1` of a w × h picture, held in `strip`,
// into `image` turned and mirrored as `orientation` (2..8) says. Orientations 5 to 8 exchange
// width and height: `image` is then h × w.
void PlaceStrip(const JSAMPROW* strip, int first, int count, int w, int h, int orientation,
                QImage* image) {
  uchar* bits = image->bits();
  const qsizetype bpl = image->bytesPerLine();
  auto row = [&](int y) { return reinterpret_cast<quint32*>(bits + qsizetype(y) * bpl); };
  if (orientation <= 4) {
    const bool mirror = orientation == 2 || orientation == 3;
    const bool flip = orientation == 3 || orientation == 4;
    for (int k = 0; k < count; ++k) {
      const auto* s = reinterpret_cast<const quint32*>(strip[k]);
      const int y = first + k;
      quint32* d = row(flip ? h - 1 - y : y);
      if (mirror) {
        for (int x = 0; x < w; ++x) d[w - 1 - x] = s[x];
      } else {
        std::memcpy(d, s, size_t(w) * 4);
      }
    }
    return;
  }
  // Source column x becomes picture row x (5, 6) or w - 1 - x (7, 8); source row y becomes
  // picture column y (5, 8) or h - 1 - y (6, 7).
  const bool rowsReversed = orientation == 7 || orientation == 8;
  const bool columnsReversed = orientation == 6 || orientation == 7;
  const quint32* s[kStripRows];
  for (int k = 0; k < count; ++k) s[k] = reinterpret_cast<const quint32*>(strip[k]);
  for (int x = 0; x < w; ++x) {
    quint32* d = row(rowsReversed ? w - 1 - x : x);
    if (columnsReversed) {
      quint32* out = d + (h - 1 - first);
      for (int k = 0; k < count; ++k) out[-k] = s[k][x];
    } else {
      quint32* out = d + first;
      for (int k = 0; k < count; ++k) out[k] = s[k][x];
    }
  }
}

// The decode itself. libjpeg may jump back here from any call, so this frame holds no C++
// object with a destructor across a libjpeg call: the picture lives in the caller.
bool Decode(jpeg_decompress_struct* cinfo, ErrorManager* err, jpeg_progress_mgr* progress,
            const uchar* data, qsizetype size, qint64 maxPixels, QImage* image, int* width,
            int* height, bool* partial) {
  if (setjmp(err->jump)) return false;
  jpeg_create_decompress(cinfo);
  cinfo->progress = progress;
  // Coefficient buffers of progressive files are bounded by the picture budget; beyond it
  // libjpeg reports that it has no backing store and the decode stops.
  cinfo->mem->max_memory_to_use = long(std::max<qint64>(qint64(64) << 20, maxPixels * 8));
  jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
  // Only the APP1 segments are kept, for the orientation in their EXIF block; a segment can
  // hold no more than 0xFFFF bytes.
  jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xFFFF);
  err->readingHeader = true;
  jpeg_read_header(cinfo, TRUE);
  err->readingHeader = false;
  // A file that ends right after the header of its first scan holds no picture at all.
  if (cinfo->src->bytes_in_buffer == 0) Stop(reinterpret_cast<j_common_ptr>(cinfo), kNoScanData);
  *width = int(cinfo->image_width);
  *height = int(cinfo->image_height);
  if (cinfo->image_width > unsigned(kMaxPictureSide) ||
      cinfo->image_height > unsigned(kMaxPictureSide))
    Stop(reinterpret_cast<j_common_ptr>(cinfo), kSideTooLarge);
  if (qint64(cinfo->image_width) * cinfo->image_height > maxPixels)
    Stop(reinterpret_cast<j_common_ptr>(cinfo), kTooManyPixels);
  const int orientation = RecordedOrientation(cinfo);

  bool cmyk = false;
  switch (cinfo->jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
      cinfo->out_color_space = JCS_EXT_BGRX;
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      cinfo->out_color_space = JCS_CMYK;
      cmyk = true;
      break;
    default:
      Stop(reinterpret_cast<j_common_ptr>(cinfo), kColorSpace);
  }
  const bool inverted = cinfo->saw_Adobe_marker;
  jpeg_start_decompress(cinfo);
  const int w = int(cinfo->output_width);
  const int h = int(cinfo->output_height);
  // The picture is made in its final orientation, the same size as the stored one, so turning
  // it needs no second picture: rows of a turned picture are decoded into a small strip first.
  const bool turned = orientation >= 5;
  *image = turned ? AllocatePicture(h, w) : AllocatePicture(w, h);
  if (image->isNull()) Stop(reinterpret_cast<j_common_ptr>(cinfo), kNoMemory);
  uchar* out = image->bits();
  const qsizetype bpl = image->bytesPerLine();
  const bool direct = orientation == 1;
  auto* common = reinterpret_cast<j_common_ptr>(cinfo);
  // Buffers from libjpeg's own pool, released with the decompressor even after an error.
  JSAMPARRAY strip =
      direct ? nullptr
             : (*cinfo->mem->alloc_sarray)(common, JPOOL_IMAGE, JDIMENSION(w) * 4, kStripRows);
  JSAMPARRAY samples =
      cmyk ? (*cinfo->mem->alloc_sarray)(common, JPOOL_IMAGE, JDIMENSION(w) * 4, 1) : nullptr;
  JSAMPROW rows[kStripRows];
  for (int first = 0; first < h; first += kStripRows) {
    const int count = std::min(kStripRows, h - first);
    for (int k = 0; k < count; ++k) rows[k] = direct ? out + qsizetype(first + k) * bpl : strip[k];
    int done = 0;
    while (done < count) {
      // libjpeg writes blue, green, red and an opaque byte straight into the rows; CMYK samples
      // are converted one row at a time.
      const int got = cmyk ? int(jpeg_read_scanlines(cinfo, samples, 1))
                           : int(jpeg_read_scanlines(cinfo, rows + done, JDIMENSION(count - done)));
      // Reading from memory never suspends; no rows at all would mean a decode that stalls.
      if (got <= 0) Stop(common, JERR_INPUT_EOF);
      if (cmyk) CmykRow(samples[0], w, inverted, rows[done]);
      done += got;
    }
    if (!direct) PlaceStrip(rows, first, count, w, h, orientation, image);
  }
  // The rest of the file (trailing markers) is not needed: a missing end-of-image marker after
  // the last row does not spoil a complete picture. A file cut off earlier is read in part.
  *partial = err->ranOut && (err->dataMissing || ProgressionIncomplete(cinfo));
  return true;
}

QString Message(const ErrorManager& err, int width, int height) {
  switch (err.code) {
    case kTooManyScans:
      return QStringLiteral("JPEG 图像已损坏：扫描次数过多");
    case kSideTooLarge:
      return QStringLiteral("图像尺寸过大（超过 %1 像素）").arg(kMaxPictureSide);
    case kTooManyPixels:
      return QStringLiteral("图像过大（%1 × %2 像素），无法打开").arg(width).arg(height);
    case kNoMemory:
    case JERR_OUT_OF_MEMORY:
    case JERR_NO_BACKING_STORE:
      return QStringLiteral("内存不足，无法打开图像");
    case kColorSpace:
    case JERR_CONVERSION_NOTIMPL:
      return QStringLiteral("不支持的 JPEG 颜色空间");
    case JERR_BAD_PRECISION:
      return QStringLiteral("不支持的 JPEG 图像（只支持 8 位精度）");
    case kNoScanData:
    case JWRN_JPEG_EOF:
    case JERR_INPUT_EOF:
    case JERR_INPUT_EMPTY:
      return QStringLiteral("JPEG 图像已损坏：文件不完整");
    case JERR_EMPTY_IMAGE:
    case JERR_IMAGE_TOO_BIG:
      return QStringLiteral("JPEG 图像已损坏：图像宽度或高度无效");
    default:
      return QStringLiteral("JPEG 图像已损坏（%1）").arg(QString::fromLatin1(err.text));
  }
}

}  // namespace

bool IsJpegData(const uchar* data, qsizetype size) {
  return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

PictureRead ReadJpeg(const uchar* data, qsizetype size, qint64 maxPixels) {
  PictureRead result;
  if (!IsJpegData(data, size)) {
    result.error = QStringLiteral("不是位图文件或 JPEG 图像");
    return result;
  }
  jpeg_decompress_struct cinfo;
  std::memset(&cinfo, 0, sizeof cinfo);
  ErrorManager err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  err.pub.emit_message = OnMessage;
  err.pub.output_message = OnOutput;
  jpeg_progress_mgr progress;
  std::memset(&progress, 0, sizeof progress);
  progress.progress_monitor = OnProgress;
  QImage image;
  int width = 0, height = 0;
  bool partial = false;
  const bool endsWithEndMarker = size >= 4 && data[size - 2] == 0xFF && data[size - 1] == 0xD9;
  const qsizetype whole = endsWithEndMarker ? size : WholePart(data, size);
  const bool ok =
      Decode(&cinfo, &err, &progress, data, whole, maxPixels, &image, &width, &height, &partial);
  jpeg_destroy_decompress(&cinfo);
  if (!ok) {
    result.error = Message(err, width, height);
    return result;
  }
  result.image = std::move(image);
  result.partial = partial;
  return result;
}
