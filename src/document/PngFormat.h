#pragma once
#include <QByteArray>
#include <QImage>
#include <QtGlobal>

#include "document/PictureFiles.h"

// PNG pictures, through Qt's PNG reader and writer (libpng inside Qt), behind the program's own
// checks. A file is a PNG picture when it starts with the PNG signature, whatever its name.

// True when `data` starts with the eight bytes of the PNG signature.
bool IsPngData(const uchar* data, qsizetype size);

// Decodes a PNG picture held in memory into an opaque Format_RGB32 picture. Before Qt sees a
// byte, the chunks are walked: a file cut off before its end, a chunk whose checksum is wrong, a
// picture wider or taller than kMaxPictureSide or larger than `maxPixels`, and image data too
// short for the size the header declares (beyond deflate's largest ratio, 1032 : 1) are refused
// with a message, before any pixel is allocated. 16-bit and palette pictures become 8-bit RGB;
// transparency is shown over white (OverWhite.h).
PictureRead ReadPng(const uchar* data, qsizetype size, qint64 maxPixels = kMaxPicturePixels);

// Encodes `image` as an 8-bit RGB PNG picture (alpha dropped) that records `dotsPerMetre` in its
// pHYs chunk. Returns an empty array for a null image or when Qt cannot encode it.
QByteArray WritePng(const QImage& image, int dotsPerMetre);
