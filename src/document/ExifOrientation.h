#pragma once
#include <QtGlobal>
#include <algorithm>

// The orientation a camera records in a JPEG's EXIF block (the APP1 segment that starts with
// "Exif\0\0"): a phone held upright stores its photo sideways and says so in the Orientation
// tag (0x0112) of the first image directory, so that the picture can be shown the right way up.
//
//   1 as stored            5 transposed (mirrored along the main diagonal)
//   2 mirrored left-right  6 turned 90° clockwise
//   3 turned 180°          7 transversed (mirrored along the other diagonal)
//   4 flipped upside down  8 turned 90° counter-clockwise
//
// The block comes from the file and is never trusted: every offset and count is checked against
// the bytes at hand before anything is read, and only the first image directory is looked at,
// so a chain of directories that loops back on itself is never followed.
//
// TIFF pictures carry the same tag in their own first directory, and WebP pictures an EXIF chunk
// holding such a structure.
//
// The parser is kept in this header, inline, so that every program that builds the JPEG reader
// from its source files (the fuzzers among them) gets it without a further source file.

namespace exif_detail {

// The TIFF structure inside the block, in either byte order.
struct Tiff {
  const uchar* data;
  qsizetype size;
  bool bigEndian;

  quint32 U16(qsizetype at) const {
    const uchar* p = data + at;
    return bigEndian ? quint32(p[0]) << 8 | p[1] : quint32(p[1]) << 8 | p[0];
  }
  quint32 U32(qsizetype at) const {
    const uchar* p = data + at;
    return bigEndian ? quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3]
                     : quint32(p[3]) << 24 | quint32(p[2]) << 16 | quint32(p[1]) << 8 | p[0];
  }
  // True when `length` bytes from `at` lie inside the structure.
  bool Holds(qint64 at, qint64 length) const { return at >= 0 && length >= 0 && at <= size - length; }
};

inline constexpr uchar kSignature[6] = {'E', 'x', 'i', 'f', 0, 0};
inline constexpr quint32 kOrientationTag = 0x0112;
inline constexpr quint32 kShort = 3;
inline constexpr quint32 kLong = 4;
inline constexpr qsizetype kEntrySize = 12;
// A first image directory holds a few dozen entries; one claiming more is damaged.
inline constexpr quint32 kMaxEntries = 512;

}  // namespace exif_detail

// True when an APP1 segment body (the bytes after the marker and its length) is an EXIF block.
inline bool IsExifSegment(const uchar* data, qsizetype size) {
  if (data == nullptr || size < qsizetype(sizeof exif_detail::kSignature)) return false;
  for (qsizetype i = 0; i < qsizetype(sizeof exif_detail::kSignature); ++i)
    if (data[i] != exif_detail::kSignature[i]) return false;
  return true;
}

// The orientation 1..8 recorded in a TIFF structure as EXIF blocks hold it (from its "II" or "MM"
// header on), or 1 when it carries no orientation or is damaged anywhere on the way to it
// (truncated, an offset or a count running past its end, an entry of the wrong type, a value
// outside 1..8).
inline int TiffOrientation(const uchar* data, qsizetype size) {
  using namespace exif_detail;
  if (data == nullptr) return 1;
  Tiff tiff{data, size, false};
  if (!tiff.Holds(0, 8)) return 1;
  if (tiff.data[0] == 'I' && tiff.data[1] == 'I') {
    tiff.bigEndian = false;
  } else if (tiff.data[0] == 'M' && tiff.data[1] == 'M') {
    tiff.bigEndian = true;
  } else {
    return 1;
  }
  if (tiff.U16(2) != 42) return 1;
  const qint64 directory = tiff.U32(4);
  if (!tiff.Holds(directory, 2)) return 1;
  const quint32 count = tiff.U16(directory);
  // The whole directory must be there: a count that runs past the block marks it damaged.
  if (count > kMaxEntries || !tiff.Holds(directory + 2, qint64(count) * kEntrySize)) return 1;
  for (quint32 i = 0; i < count; ++i) {
    const qsizetype entry = qsizetype(directory + 2 + qint64(i) * kEntrySize);
    if (tiff.U16(entry) != kOrientationTag) continue;
    // One value, held in the entry itself: a short in its first two bytes (some writers use a
    // long). Anything else is a damaged tag, and the first Orientation tag is the one that counts.
    const quint32 type = tiff.U16(entry + 2);
    if (tiff.U32(entry + 4) != 1) return 1;
    quint32 value;
    if (type == kShort) {
      value = tiff.U16(entry + 8);
    } else if (type == kLong) {
      value = tiff.U32(entry + 8);
    } else {
      return 1;
    }
    return value >= 1 && value <= 8 ? int(value) : 1;
  }
  return 1;
}

// The orientation 1..8 recorded in an APP1 segment body, or 1 when the segment is not an EXIF
// block, carries no orientation, or is damaged (TiffOrientation).
inline int ExifOrientation(const uchar* data, qsizetype size) {
  if (!IsExifSegment(data, size)) return 1;
  const qsizetype skip = sizeof exif_detail::kSignature;
  return TiffOrientation(data + skip, size - skip);
}

// The orientation 1..8 a WebP file records in its EXIF chunk (a picture from a phone), or 1 when
// it has none. The chunks are walked within the file's RIFF size and the bytes at hand; the chunk
// holds the TIFF structure itself, or (as some writers make it) an EXIF block with its
// "Exif\0\0" signature.
inline int WebpExifOrientation(const uchar* data, qsizetype size) {
  auto u32 = [data](qsizetype at) {
    return quint32(data[at]) | quint32(data[at + 1]) << 8 | quint32(data[at + 2]) << 16 | quint32(data[at + 3]) << 24;
  };
  if (data == nullptr || size < 12) return 1;
  const qint64 end = std::min<qint64>(size, qint64(u32(4)) + 8);
  for (qint64 at = 12; at + 8 <= end;) {
    const qint64 length = u32(qsizetype(at + 4));
    if (length > end - at - 8) return 1;
    const uchar* body = data + at + 8;
    if (body[-8] == 'E' && body[-7] == 'X' && body[-6] == 'I' && body[-5] == 'F')
      return IsExifSegment(body, qsizetype(length)) ? ExifOrientation(body, qsizetype(length))
                                                    : TiffOrientation(body, qsizetype(length));
    at += 8 + length + (length & 1);  // chunks are padded to an even length
  }
  return 1;
}
