#pragma once
#include <QImage>
#include <QtGlobal>

#include "document/PictureFiles.h"

// What every picture decoded by Qt (an image plugin's reader, a picture pasted from another
// program) goes through to become the program's own: the same limits as the program's readers,
// opaque Format_RGB32 over white, the right way up.

// The most bytes a picture may take as Qt decodes it: the largest picture the readers open
// (kMaxPicturePixels) at 4 bytes a pixel, 512 MB. A picture Qt decodes at more bytes a pixel (16
// bits a sample: 8) may have that many fewer pixels.
inline constexpr qint64 kMaxDecodedBytes = kMaxPicturePixels * 4;

// Sets Qt's own allocation limit for decoded pictures (process-wide) to kMaxDecodedBytes, once,
// so that no Qt reader stops below the program's limits nor allocates beyond them.
void ShareQtAllocationLimit();

// The bytes Qt takes to hold a w × h picture in `format` (4 bytes a pixel for a format not yet
// known), or -1 when the size is not one.
qint64 DecodedBytes(QSize size, QImage::Format format);

// The picture Qt decoded as an opaque Format_RGB32 picture: transparency over white as the
// program's own readers show it (OverWhite.h, straight alpha; premultiplied alpha as c + 255 − a),
// 16-bit samples as round(v / 257), palettes and grey as RGB, the colour profile dropped. Formats
// of 4 and 8 bytes a pixel are converted in their own buffer; the others need a picture of their
// own (OwnBufferNeeded). Null when the memory cannot be had.
QImage OpaqueOverWhite(QImage image);
// Whether OpaqueOverWhite needs a second picture for `format`.
bool OwnBufferNeeded(QImage::Format format);

// The picture turned and mirrored as an EXIF orientation (1..8, ExifOrientation.h) says: 2 to 4
// in its own buffer, 5 to 8 (which exchange width and height) into a picture of their own. Null
// when the memory cannot be had; `image` unchanged for any other value.
QImage Oriented(QImage image, int orientation);
