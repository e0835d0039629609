#pragma once
#include <QByteArray>
#include <QImage>
#include <QtGlobal>

// The picture's high-resolution companion as a PNG file of ours keeps it: one private, ancillary,
// unsafe-to-copy chunk "qmHD" after the image data (PNG's naming rule: a program that changes the
// pixels and does not know the chunk must drop it). Nothing here keeps state: encoding and
// decoding may run on any thread.
//
// The chunk's body, numbers big-endian:
//    0  version (1)
//    1  k: companion pixels per picture pixel along a side (2, 3 or 4)
//    2  flags: bit 0 set when part of the companion is a picture from outside, enlarged
//    3  0
//    4  width and (8) height of the picture, in picture pixels
//   12  CRC-32 of the picture's pixels as written: red, green and blue of each pixel, row by row
//   16  n, the number of picture pixels whose k x k block is not the pixel's colour throughout
//   20  a zlib stream of one bit per picture pixel (rows one after the other, the first pixel in
//       the highest bit of a byte), set for those n pixels; then their blocks, in the pixels'
//       order, each block row by row, every companion pixel as red, green, blue.
// Where the companion is the picture enlarged (an opened photograph) the chunk is almost empty.

inline constexpr char kCompanionChunkType[] = "qmHD";
inline constexpr int kCompanionChunkVersion = 1;
inline constexpr qsizetype kCompanionChunkHeaderBytes = 20;

// What became of a companion chunk when a file was read.
enum class CompanionVerdict {
  Absent,          // the file holds no chunk of ours
  Restored,        // read and used
  Damaged,         // a bad checksum of the chunk, a length that lies, data that does not inflate
  Duplicated,      // more than one chunk of ours: neither is used
  UnknownVersion,  // written by a later version of the program
  BadScale,        // k is not 2, 3 or 4, or k x the picture passes the companion's limits
  OtherSize,       // the chunk describes a picture of another size
  PixelsChanged,   // the picture's pixels are no longer those the chunk was written with
  NotFaithful,     // the companion disagrees with the picture (CompanionFaithful)
  NoMemory,        // the companion could not be allocated
};

// CRC-32 of the picture's pixels as a PNG file holds them (red, green, blue, row by row).
quint32 PictureChecksum(const QImage& picture);

// True when some k x k block of `companion` is not its picture pixel's colour throughout: the
// companion holds detail that the picture enlarged does not (a bitmap file would lose it). A null
// companion stands for the picture enlarged, and holds none.
bool CompanionHoldsDetail(const QImage& picture, const QImage& companion, int k);

// The chunk's body for `picture` and its companion at k x its size (both Format_RGB32); empty
// when the companion is not k x the picture or memory runs out. A null companion stands for the
// picture enlarged by k (the implicit companion of a white picture), which holds no detail.
QByteArray EncodeCompanionChunk(const QImage& picture, const QImage& companion, int k, bool enlargedParts);

// Checks the chunk's fixed part against a picture of width x height without looking at the
// pixels: Restored when it may describe that picture's companion (the rest is checked by
// DecodeCompanionChunk). `size` is the body's whole length; a body longer than its data could
// ever deflate to is Damaged, so that a chunk is never held in memory beyond its companion's size.
CompanionVerdict CheckCompanionChunk(const uchar* body, qsizetype size, int width, int height);

struct CompanionRead {
  QImage companion;  // k x the picture, Format_RGB32; null unless verdict == Restored
  int k = 1;
  bool enlargedParts = false;
  CompanionVerdict verdict = CompanionVerdict::Absent;
};

// Reads the companion of `picture` (the picture decoded from the same file) from the chunk's body.
// Used only when the chunk is whole, its version known, its k allowed for the picture's size, its
// checksum the picture's and the companion faithful to the picture; memory beyond the companion
// it declares is a bit per picture pixel.
CompanionRead DecodeCompanionChunk(const uchar* body, qsizetype size, const QImage& picture);
