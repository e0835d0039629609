#include "document/PngFormat.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "document/BitmapReader.h"
#include "document/CompanionChunk.h"
#include "document/OverWhite.h"

namespace {

constexpr uchar kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// The end chunk, given to libpng where a file lost its own after the image data.
constexpr uchar kEndChunk[12] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};

// Deflate's largest ratio of decompressed to compressed bytes: image data declaring more raw
// bytes than this many times its compressed bytes cannot be whole.
constexpr qint64 kDeflateMaxRatio = 1032;

quint32 U32(const uchar* p) {
  return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

// The CRC-32 of the PNG chunks (ISO 3309), as zlib computes it.
quint32 Crc(const uchar* p, qsizetype n) { return quint32(crc32(0, p, uInt(n))); }

PictureRead Fail(const QString& message) {
  PictureRead result;
  result.error = message;
  return result;
}

QString Damaged(const QString& why) { return QStringLiteral("PNG 图像已损坏：") + why; }

bool IsType(const uchar* type, const char* name) { return std::memcmp(type, name, 4) == 0; }
bool Letters(const uchar* type) {
  for (int i = 0; i < 4; ++i)
    if (!((type[i] >= 'A' && type[i] <= 'Z') || (type[i] >= 'a' && type[i] <= 'z'))) return false;
  return true;
}
// PNG's naming rule: a lower-case first letter makes a chunk ancillary, not needed for the picture.
bool Ancillary(const uchar* type) { return (type[0] & 0x20) != 0; }

// What the chunks say about the picture.
struct Layout {
  qint64 width = 0;
  qint64 height = 0;
  int bitDepth = 0;
  int colorType = 0;
  bool interlaced = false;
  qint64 imageBytes = 0;  // compressed bytes of all IDAT chunks
};

// Samples per pixel of each colour type, 0 for a colour type PNG does not have.
int Channels(int colorType) {
  switch (colorType) {
    case 0: return 1;  // grey
    case 2: return 3;  // RGB
    case 3: return 1;  // palette
    case 4: return 2;  // grey and alpha
    case 6: return 4;  // RGBA
    default: return 0;
  }
}

bool DepthAllowed(int colorType, int depth) {
  switch (colorType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6: return depth == 8 || depth == 16;
    default: return false;
  }
}

// Reads IHDR into `layout`; an empty string when it is sound, else why not.
QString ReadHeader(const uchar* body, qint64 maxPixels, Layout* layout) {
  const quint32 w = U32(body), h = U32(body + 4);
  layout->bitDepth = body[8];
  layout->colorType = body[9];
  layout->interlaced = body[12] == 1;
  if (w == 0 || h == 0 || w > 0x7FFFFFFFu || h > 0x7FFFFFFFu) return Damaged(QStringLiteral("图像宽度或高度无效"));
  if (w > quint32(kMaxPictureSide) || h > quint32(kMaxPictureSide))
    return QStringLiteral("图像尺寸过大（超过 %1 像素）").arg(kMaxPictureSide);
  if (qint64(w) * h > maxPixels) return QStringLiteral("图像过大（%1 × %2 像素），无法打开").arg(w).arg(h);
  if (!DepthAllowed(layout->colorType, layout->bitDepth) || body[10] != 0 || body[11] != 0 || body[12] > 1)
    return Damaged(QStringLiteral("图像头无效"));
  layout->width = w;
  layout->height = h;
  return {};
}

// A stretch of the file that libpng reads.
struct Segment {
  const uchar* data;
  qsizetype size;
};

// What the walk through the chunks found, and what libpng is given to read: the signature, the
// chunks that are kept, and an end chunk when the file lost its own.
struct Walk {
  Layout layout;
  std::vector<Segment> stream;
  int ours = 0;                   // chunks of ours, damaged ones included
  const uchar* ourChunk = nullptr;  // the last sound one (its length field)
  CompanionVerdict ourVerdict = CompanionVerdict::Absent;
  bool cut = false;  // the file ended, or was damaged, after its image data and before its end chunk

  void Keep(const uchar* p, qsizetype n) {
    if (!stream.empty() && stream.back().data + stream.back().size == p)
      stream.back().size += n;
    else
      stream.push_back({p, n});
  }
};

// Walks the chunks from the signature to IEND, checking every checksum but those of the image
// data (libpng checks them as it decodes) and choosing what libpng reads. An empty string when the
// picture can be decoded, else why not.
QString WalkChunks(const uchar* data, qsizetype size, qint64 maxPixels, Walk* walk) {
  const QString truncated = Damaged(QStringLiteral("文件不完整"));
  struct Chunk {
    qsizetype at, bytes;
    bool ours;
  };
  std::vector<Chunk> chunks;
  bool imageData = false;  // an IDAT chunk was seen
  qsizetype p = sizeof kSignature;
  // After the image data, a chunk that is not sound ends the file there: what was to follow (text,
  // times, the end chunk) is not needed for the picture. A damaged chunk of ours is noted.
  auto endHere = [&](const uchar* type) {
    if (type && Letters(type) && IsType(type, kCompanionChunkType)) {
      ++walk->ours;
      walk->ourVerdict = CompanionVerdict::Damaged;
    }
    walk->cut = true;
  };
  for (bool first = true;; first = false) {
    if (size - p < 8) {
      if (!imageData) return truncated;
      endHere(nullptr);
      break;
    }
    const quint32 length = U32(data + p);
    const uchar* type = data + p + 4;
    if (length > 0x7FFFFFFFu || !Letters(type)) {
      if (!imageData)
        return Damaged(length > 0x7FFFFFFFu ? QStringLiteral("数据块长度无效") : QStringLiteral("数据块无效"));
      endHere(type);
      break;
    }
    const bool idat = IsType(type, "IDAT"), end = IsType(type, "IEND"), ours = IsType(type, kCompanionChunkType);
    const qint64 next = qint64(p) + 12 + length;
    if (next > size) {
      // Cut inside the image data, the picture is not whole.
      if (idat || !imageData) return truncated;
      endHere(type);
      break;
    }
    if (first && (!IsType(type, "IHDR") || length != 13)) return Damaged(QStringLiteral("缺少图像头"));
    if (!idat && Crc(type, qsizetype(length) + 4) != U32(data + p + 8 + length)) {
      if (Ancillary(type)) {
        // An ancillary chunk with a wrong checksum is dropped, as reference decoders do.
        if (ours) {
          ++walk->ours;
          walk->ourVerdict = CompanionVerdict::Damaged;
        }
        p = qsizetype(next);
        continue;
      }
      if (!imageData)
        return Damaged(QStringLiteral("校验和错误（%1 数据块）").arg(QString::fromLatin1(reinterpret_cast<const char*>(type), 4)));
      endHere(type);
      break;
    }
    if (first) {
      const QString problem = ReadHeader(data + p + 8, maxPixels, &walk->layout);
      if (!problem.isEmpty()) return problem;
    }
    if (idat) {
      imageData = true;
      walk->layout.imageBytes += length;
    }
    if (ours) {
      ++walk->ours;
      walk->ourVerdict = CheckCompanionChunk(data + p + 8, qsizetype(length), int(walk->layout.width),
                                             int(walk->layout.height));
      walk->ourChunk = data + p;
    }
    chunks.push_back({p, qsizetype(next - p), ours});
    p = qsizetype(next);
    if (end) break;
  }
  if (walk->ours > 1) walk->ourVerdict = CompanionVerdict::Duplicated;
  // libpng reads the signature and the kept chunks; ours only when it may be the companion.
  const bool keepOurs = walk->ourVerdict == CompanionVerdict::Restored;
  walk->Keep(data, sizeof kSignature);
  for (const Chunk& c : chunks)
    if (!c.ours || keepOurs) walk->Keep(data + c.at, c.bytes);
  if (walk->cut) walk->Keep(kEndChunk, sizeof kEndChunk);
  if (walk->ourVerdict != CompanionVerdict::Restored) walk->ourChunk = nullptr;
  return {};
}

// The bytes of the decompressed image data the header declares: each row of each pass of the
// picture with its filter byte.
qint64 RawBytes(const Layout& l) {
  const qint64 bits = qint64(Channels(l.colorType)) * l.bitDepth;
  auto rows = [&](qint64 w, qint64 h) { return w > 0 && h > 0 ? h * (1 + (w * bits + 7) / 8) : 0; };
  if (!l.interlaced) return rows(l.width, l.height);
  // Adam7: the seven passes start at (x0, y0) and step by (dx, dy).
  static constexpr int kPass[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                      {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  qint64 total = 0;
  for (const auto& s : kPass)
    total += rows((l.width - s[0] + s[2] - 1) / s[2], (l.height - s[1] + s[3] - 1) / s[3]);
  return total;
}

// After libpng refused the image data: whether one of its chunks has a wrong checksum.
bool ImageDataChecksumWrong(const uchar* data, qsizetype size) {
  for (qsizetype p = sizeof kSignature; size - p >= 12;) {
    const quint32 length = U32(data + p);
    if (length > 0x7FFFFFFFu || qint64(p) + 12 + length > size) break;
    if (IsType(data + p + 4, "IDAT") && Crc(data + p + 4, qsizetype(length) + 4) != U32(data + p + 8 + length))
      return true;
    p += qsizetype(length) + 12;
  }
  return false;
}

// ---- libpng, with the program's own error and warning functions ----
//
// libpng reports an error by a long jump back to the setjmp of its png_struct. Each setjmp below
// sits in a function of its own that holds no object with a destructor and calls one other
// function for the work, so that the jump skips nothing that needs cleaning up.

struct Messages {
  char error[160] = {};  // libpng's last error, kept for a maintainer's debugger; never shown
};

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  if (auto* m = static_cast<Messages*>(png_get_error_ptr(png))) std::snprintf(m->error, sizeof m->error, "%s", message);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}  // warnings change nothing the program shows

// The stretches of the file libpng reads, one after the other.
struct Source {
  const std::vector<Segment>* segments = nullptr;
  size_t index = 0;
  qsizetype offset = 0;
};

void ReadData(png_structp png, png_bytep out, size_t n) {
  auto* s = static_cast<Source*>(png_get_io_ptr(png));
  while (n > 0) {
    if (s->index >= s->segments->size()) png_error(png, "read beyond the data");
    const Segment& seg = (*s->segments)[s->index];
    const size_t take = std::min(n, size_t(seg.size - s->offset));
    std::memcpy(out, seg.data + s->offset, take);
    out += take;
    n -= take;
    s->offset += qsizetype(take);
    if (s->offset == seg.size) ++s->index, s->offset = 0;
  }
}

struct PngReader {
  Messages messages;
  Source source;
  png_structp png = nullptr;
  png_infop info = nullptr, end = nullptr;
  PngReader() {
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &messages, OnError, OnWarning);
    if (png) info = png_create_info_struct(png), end = png_create_info_struct(png);
  }
  ~PngReader() {
    if (png) png_destroy_read_struct(&png, info ? &info : nullptr, end ? &end : nullptr);
  }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;
  bool ok() const { return png && info && end; }
};

// What the header says, after the transformations: rows of 8-bit blue, green, red and alpha (or
// 0xFF), that is Format_ARGB32 or Format_RGB32.
struct Rows {
  int width = 0, height = 0, passes = 1;
  size_t rowBytes = 0;
  bool alpha = false;
};

void ReadInfoSteps(png_structp png, png_infop info, Rows& rows) {
  png_read_info(png, info);
  const int type = png_get_color_type(png, info);
  rows.alpha = (type & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  png_set_expand(png);  // palette to RGB, grey below 8 bits to 8, the tRNS colour to alpha
  // 16-bit samples become round(v / 257) as each row is decoded: no 16-bit picture is ever held.
  if (png_get_bit_depth(png, info) == 16) png_set_scale_16(png);
  if ((type & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
  png_set_bgr(png);
  if (!rows.alpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
#else
  if (rows.alpha) png_set_swap_alpha(png);
  else png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
#endif
  rows.passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  rows.width = int(png_get_image_width(png, info));
  rows.height = int(png_get_image_height(png, info));
  rows.rowBytes = png_get_rowbytes(png, info);
}

bool ReadInfo(PngReader& r, Rows& rows) {
  if (setjmp(png_jmpbuf(r.png))) return false;
  ReadInfoSteps(r.png, r.info, rows);
  return true;
}

// Interlaced pictures come in seven passes over the same rows; every pixel is written by its pass.
void ReadRowsSteps(png_structp png, uchar* bits, qsizetype bytesPerLine, int height, int passes) {
  for (int pass = 0; pass < passes; ++pass)
    for (int y = 0; y < height; ++y) png_read_row(png, bits + qsizetype(y) * bytesPerLine, nullptr);
}

bool ReadRows(PngReader& r, uchar* bits, qsizetype bytesPerLine, const Rows& rows) {
  if (setjmp(png_jmpbuf(r.png))) return false;
  ReadRowsSteps(r.png, bits, bytesPerLine, rows.height, rows.passes);
  return true;
}

bool ReadEnd(PngReader& r) {
  if (setjmp(png_jmpbuf(r.png))) return false;
  png_read_end(r.png, r.end);
  return true;
}

// The body of our chunk as libpng kept it (its unknown-chunk store), or null.
const png_unknown_chunk* OurChunk(const PngReader& r) {
  for (png_infop info : {r.info, r.end}) {
    png_unknown_chunkp chunks = nullptr;
    const int n = png_get_unknown_chunks(r.png, info, &chunks);
    for (int i = 0; i < n; ++i)
      if (std::memcmp(chunks[i].name, kCompanionChunkType, 4) == 0) return &chunks[i];
  }
  return nullptr;
}

PictureRead Decode(const uchar* data, qsizetype size, const Walk& walk) {
  PngReader r;
  if (!r.ok()) return Fail(QStringLiteral("内存不足，无法打开图像"));
  r.source.segments = &walk.stream;
  png_set_read_fn(r.png, &r.source, ReadData);
  png_set_user_limits(r.png, kMaxPictureSide, kMaxPictureSide);
  // Image data whose zlib header names too small a window is read as other decoders read it.
  png_set_option(r.png, PNG_MAXIMUM_INFLATE_WINDOW, PNG_OPTION_ON);
  // Only the chunks the picture needs are read (the palette and tRNS with the image data); of the
  // rest, our own chunk is kept for the companion when its fixed part is sound.
  png_set_keep_unknown_chunks(r.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  if (walk.ourChunk) {
    png_set_keep_unknown_chunks(r.png, PNG_HANDLE_CHUNK_ALWAYS, reinterpret_cast<png_const_bytep>(kCompanionChunkType), 1);
    png_set_chunk_malloc_max(r.png, std::max<png_alloc_size_t>(PNG_USER_CHUNK_MALLOC_MAX, U32(walk.ourChunk) + 1));
  }

  auto refused = [&] {
    if (ImageDataChecksumWrong(data, size)) return Fail(Damaged(QStringLiteral("校验和错误（IDAT 数据块）")));
    return Fail(Damaged(walk.cut ? QStringLiteral("文件不完整") : QStringLiteral("图像数据无法解码")));
  };
  Rows rows;
  if (!ReadInfo(r, rows) || rows.width != walk.layout.width || rows.height != walk.layout.height ||
      rows.rowBytes != size_t(rows.width) * 4)
    return refused();
  QImage image = AllocatePicture(rows.width, rows.height, rows.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  if (image.isNull()) return Fail(QStringLiteral("内存不足，无法打开图像"));
  if (!ReadRows(r, image.bits(), image.bytesPerLine(), rows) || !ReadEnd(r)) return refused();
  if (rows.alpha) {
    // In place: the buffer becomes the opaque picture.
    for (int y = 0; y < rows.height; ++y) {
      auto* row = reinterpret_cast<quint32*>(image.scanLine(y));
      for (int x = 0; x < rows.width; ++x)
        if (row[x] < 0xFF000000u) row[x] = ArgbOverWhite(row[x]);
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
  }

  PictureRead result;
  result.image = std::move(image);
  result.detail = walk.ourVerdict;
  if (walk.ourChunk) {
    const png_unknown_chunk* chunk = OurChunk(r);
    if (!chunk) {
      result.detail = CompanionVerdict::NoMemory;
    } else {
      CompanionRead companion = DecodeCompanionChunk(chunk->data, qsizetype(chunk->size), result.image);
      result.detail = companion.verdict;
      result.companion = std::move(companion.companion);
      result.companionScale = companion.k;
      result.enlargedParts = companion.enlargedParts;
    }
  }
  return result;
}

// ---- Writing ----

struct Sink {
  QByteArray bytes;
};

void WriteData(png_structp png, png_bytep data, size_t n) {
  auto* s = static_cast<Sink*>(png_get_io_ptr(png));
  bool failed = false;
  try {
    s->bytes.append(reinterpret_cast<const char*>(data), qsizetype(n));
  } catch (...) {
    failed = true;
  }
  if (failed) png_error(png, "out of memory");
}

void FlushData(png_structp) {}

struct PngWriter {
  Messages messages;
  Sink sink;
  png_structp png = nullptr;
  png_infop info = nullptr;
  PngWriter() {
    png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &messages, OnError, OnWarning);
    if (png) info = png_create_info_struct(png);
  }
  ~PngWriter() {
    if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
  }
  PngWriter(const PngWriter&) = delete;
  PngWriter& operator=(const PngWriter&) = delete;
  bool ok() const { return png && info; }
};

struct Picture {
  const uchar* bits;
  qsizetype bytesPerLine;
  int width, height, dotsPerMetre;
  const QByteArray* chunk;  // our chunk's body, or null
};

void WriteSteps(png_structp png, png_infop info, Sink* sink, const Picture& p) {
  png_set_write_fn(png, sink, WriteData, FlushData);
  png_set_compression_buffer_size(png, 1 << 16);
  png_set_IHDR(png, info, png_uint_32(p.width), png_uint_32(p.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_pHYs(png, info, png_uint_32(p.dotsPerMetre), png_uint_32(p.dotsPerMetre), PNG_RESOLUTION_METER);
  png_write_info(png, info);
  // The rows are written from the picture's own 32-bit pixels, the fourth byte left out.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
  png_set_bgr(png);
  png_set_filler(png, 0, PNG_FILLER_AFTER);
#else
  png_set_filler(png, 0, PNG_FILLER_BEFORE);
#endif
  for (int y = 0; y < p.height; ++y) png_write_row(png, p.bits + qsizetype(y) * p.bytesPerLine);
  // The companion follows the image data it describes, before the end chunk.
  if (p.chunk)
    png_write_chunk(png, reinterpret_cast<png_const_bytep>(kCompanionChunkType),
                    reinterpret_cast<png_const_bytep>(p.chunk->constData()), size_t(p.chunk->size()));
  png_write_end(png, nullptr);
}

bool Write(PngWriter& w, const Picture& p) {
  if (setjmp(png_jmpbuf(w.png))) return false;
  WriteSteps(w.png, w.info, &w.sink, p);
  return true;
}

QByteArray Encode(const QImage& image, int dotsPerMetre, const QByteArray* chunk) {
  if (image.isNull() || dotsPerMetre <= 0) return {};
  QImage converted;
  const QImage* source = &image;
  if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32) {
    converted = image.convertToFormat(QImage::Format_RGB32);
    if (converted.isNull()) return {};
    source = &converted;
  }
  PngWriter w;
  if (!w.ok()) return {};
  const Picture p{source->constBits(), source->bytesPerLine(), source->width(), source->height(), dotsPerMetre, chunk};
  if (!Write(w, p)) return {};
  return std::move(w.sink.bytes);
}

}  // namespace

bool IsPngData(const uchar* data, qsizetype size) {
  return size >= qsizetype(sizeof kSignature) && std::memcmp(data, kSignature, sizeof kSignature) == 0;
}

PictureRead ReadPng(const uchar* data, qsizetype size, qint64 maxPixels) {
  if (!IsPngData(data, size)) return Fail(QStringLiteral("不是 PNG 图像"));
  Walk walk;
  const QString problem = WalkChunks(data, size, maxPixels, &walk);
  if (!problem.isEmpty()) return Fail(problem);
  if (walk.layout.imageBytes == 0) return Fail(Damaged(QStringLiteral("没有图像数据")));
  if (RawBytes(walk.layout) > kDeflateMaxRatio * walk.layout.imageBytes)
    return Fail(Damaged(QStringLiteral("图像数据比图像尺寸所需的少得多")));
  return Decode(data, size, walk);
}

QByteArray WritePng(const QImage& image, int dotsPerMetre) { return Encode(image, dotsPerMetre, nullptr); }

QByteArray WritePngWithCompanion(const PicturePair& picture, int dotsPerMetre, bool enlargedParts) {
  // A companion the pair does not hold is the picture enlarged (a white picture's white one).
  const int k = picture.Scale();
  if (k < 2 || (!picture.companion.isNull() && picture.companion.size() != picture.image.size() * k))
    return WritePng(picture.image, dotsPerMetre);
  const QByteArray chunk = EncodeCompanionChunk(picture.image, picture.companion, k, enlargedParts);
  if (chunk.isEmpty()) return {};
  return Encode(picture.image, dotsPerMetre, &chunk);
}
