#include "document/JpegReader.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "document/BitmapReader.h"

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
};

// libjpeg's error manager, extended so that an error returns to our decode function instead of
// ending the program. Warnings are silent, except running out of data, which ends the decode.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  int code = 0;
  char text[JMSG_LENGTH_MAX] = {};
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
  if (cinfo->err->msg_code == JWRN_JPEG_EOF) OnError(cinfo);
  cinfo->err->num_warnings++;
}

void OnOutput(j_common_ptr) {}

void OnProgress(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxScans) Stop(cinfo, kTooManyScans);
}

uchar Mul255(int a, int b) { return uchar((a * b + 127) / 255); }

// The decode itself. libjpeg may jump back here from any call, so this frame holds no C++
// object with a destructor across a libjpeg call: the picture lives in the caller.
bool Decode(jpeg_decompress_struct* cinfo, ErrorManager* err, jpeg_progress_mgr* progress,
            const uchar* data, qsizetype size, qint64 maxPixels, QImage* image, int* width,
            int* height) {
  if (setjmp(err->jump)) return false;
  jpeg_create_decompress(cinfo);
  cinfo->progress = progress;
  // Coefficient buffers of progressive files are bounded by the picture budget; beyond it
  // libjpeg reports that it has no backing store and the decode stops.
  cinfo->mem->max_memory_to_use = long(std::max<qint64>(qint64(64) << 20, maxPixels * 8));
  jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(cinfo, TRUE);
  *width = int(cinfo->image_width);
  *height = int(cinfo->image_height);
  if (cinfo->image_width > unsigned(kMaxPictureSide) ||
      cinfo->image_height > unsigned(kMaxPictureSide))
    Stop(reinterpret_cast<j_common_ptr>(cinfo), kSideTooLarge);
  if (qint64(cinfo->image_width) * cinfo->image_height > maxPixels)
    Stop(reinterpret_cast<j_common_ptr>(cinfo), kTooManyPixels);

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
  // Files written by Adobe programs store CMYK inverted (0 is full ink).
  const bool inverted = cinfo->saw_Adobe_marker;
  jpeg_start_decompress(cinfo);
  const int w = int(cinfo->output_width);
  const int h = int(cinfo->output_height);
  *image = AllocatePicture(w, h);
  if (image->isNull()) Stop(reinterpret_cast<j_common_ptr>(cinfo), kNoMemory);
  uchar* out = image->bits();
  const qsizetype bpl = image->bytesPerLine();
  if (!cmyk) {
    // libjpeg writes blue, green, red and an opaque byte straight into the picture's rows.
    JSAMPROW rows[16];
    while (cinfo->output_scanline < cinfo->output_height) {
      const int first = int(cinfo->output_scanline);
      const int count = std::min(16, h - first);
      for (int i = 0; i < count; ++i) rows[i] = out + qsizetype(first + i) * bpl;
      jpeg_read_scanlines(cinfo, rows, JDIMENSION(count));
    }
  } else {
    JSAMPARRAY buffer = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo),
                                                    JPOOL_IMAGE, JDIMENSION(w) * 4, 1);
    while (cinfo->output_scanline < cinfo->output_height) {
      const int y = int(cinfo->output_scanline);
      if (jpeg_read_scanlines(cinfo, buffer, 1) != 1) continue;
      auto* d = reinterpret_cast<quint32*>(out + qsizetype(y) * bpl);
      const uchar* s = buffer[0];
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
  }
  // The rest of the file (trailing markers) is not needed: a missing end-of-image marker after
  // the last row does not spoil a complete picture.
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
  const bool ok = Decode(&cinfo, &err, &progress, data, size, maxPixels, &image, &width, &height);
  jpeg_destroy_decompress(&cinfo);
  if (!ok) {
    result.error = Message(err, width, height);
    return result;
  }
  result.image = std::move(image);
  return result;
}
