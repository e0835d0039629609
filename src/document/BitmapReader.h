#pragma once
#include <QImage>
#include <QtGlobal>

#include "document/PictureFiles.h"

// The program's own reader of Windows bitmap files. A file is a bitmap when it starts with the
// "BM" signature, whatever its name.

// True when `data` starts with the bitmap signature "BM".
bool IsBitmapData(const uchar* data, qsizetype size);

// Decodes a bitmap held in memory into an opaque Format_RGB32 picture. Every header in use is
// read (core 12 bytes, OS/2 2.x 16 to 64 bytes, info 40, 52, 56, 108 and 124 bytes); 1, 2, 4, 8,
// 16, 24 and 32 bits per pixel, RLE4 and RLE8, bit-field masks (an alpha mask of 16- and 32-bit
// pixels shown over white), bottom-up and top-down rows.
// Pictures wider or taller than kMaxPictureSide or larger than `maxPixels` are refused.
// A header is never trusted beyond the bytes the file holds: an uncompressed pixel array that is
// shorter than the header says is refused as a damaged file (showing a partly white picture that
// the user may then save over the original would lose the missing part without a word). A
// compressed stream that ends early keeps what it has drawn, as its end marker is often left out.
PictureRead ReadBitmap(const uchar* data, qsizetype size, qint64 maxPixels = kMaxPicturePixels);

// A new picture for a reader to fill (contents undefined), or a null image when the memory cannot
// be had; `format` is one of 4 bytes a pixel. Large pictures are placed in huge pages where the
// system offers them, which makes the first write to a fresh picture several times cheaper.
QImage AllocatePicture(int width, int height, QImage::Format format = QImage::Format_RGB32);

// For tests of the readers: every picture AllocatePicture makes from now on is first filled with
// the 32-bit `pattern` (negative: left as it comes), so that a pixel a reader never writes shows.
void SetNewPictureFill(qint64 pattern);
