#pragma once
#include <QtGlobal>

#include "document/PictureFiles.h"

// The JPEG reader, over libjpeg. A file is a JPEG image when it starts with the start-of-image
// marker (FF D8 FF), whatever its name.

// True when `data` starts with the JPEG start-of-image marker.
bool IsJpegData(const uchar* data, qsizetype size);

// Decodes a JPEG image held in memory (baseline or progressive; greyscale, colour, CMYK or YCCK)
// into an opaque Format_RGB32 picture. A damaged file gets a clear message and no picture;
// libjpeg never ends the program and never prints. A file lacking only its end-of-image marker is
// read whole; one cut off inside its scans is read in part (PictureRead::partial), the missing
// blocks mid grey as libjpeg leaves them; one cut off before its first scan data is refused. A photo whose EXIF block records an
// orientation (a phone held upright stores its photos sideways) is turned and mirrored the right
// way up, without a second picture; a damaged EXIF block is ignored. Pictures wider or taller than
// kMaxPictureSide or larger than `maxPixels` are refused before any pixel is decoded.
PictureRead ReadJpeg(const uchar* data, qsizetype size, qint64 maxPixels = kMaxPicturePixels);
