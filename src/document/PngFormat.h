#pragma once
#include <QByteArray>
#include <QImage>
#include <QtGlobal>

#include "document/PictureFiles.h"
#include "figures/PicturePair.h"

// PNG pictures, read and written through libpng itself behind the program's own checks, with the
// picture's high-resolution companion in a chunk of ours (CompanionChunk.h). A file is a PNG
// picture when it starts with the PNG signature, whatever its name. libpng's messages never reach
// standard error: they become the program's own. Nothing here keeps state between calls: any
// thread may read or write.

// True when `data` starts with the eight bytes of the PNG signature.
bool IsPngData(const uchar* data, qsizetype size);

// Decodes a PNG picture held in memory into an opaque Format_RGB32 picture, with the companion its
// chunk of ours holds (PictureRead::companion, ::detail). Before libpng sees a byte, the chunks
// are walked: a picture wider or taller than kMaxPictureSide or larger than `maxPixels`, image data
// too short for the size the header declares (beyond deflate's largest ratio, 1032 : 1), a file
// cut off before its image data ends and a critical chunk with a wrong checksum are refused with a
// message, before any pixel is allocated. An ancillary chunk with a wrong checksum is dropped, and
// damage after the image data (a missing end chunk, an interrupted download) ends the file there:
// the picture opens whole. 16-bit samples become 8 bits (round(v / 257)) row by row as they are
// decoded, so a 16-bit picture needs no more memory than its 8-bit twin; palette and grey pictures
// become RGB; transparency is shown over white (OverWhite.h).
PictureRead ReadPng(const uchar* data, qsizetype size, qint64 maxPixels = kMaxPicturePixels);

// Encodes `image` as an 8-bit RGB PNG picture (alpha dropped) that records `dotsPerMetre` in its
// pHYs chunk. Returns an empty array for a null image or when it cannot be encoded.
QByteArray WritePng(const QImage& image, int dotsPerMetre);

// The same picture file with the pair's companion (at its scale, k = 2..4) in our chunk after the
// image data; `enlargedParts` is kept with it. Without a companion of k x the picture's size it is
// WritePng(picture.image).
QByteArray WritePngWithCompanion(const PicturePair& picture, int dotsPerMetre, bool enlargedParts);
