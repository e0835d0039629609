#pragma once
#include <QByteArray>
#include <QImage>

// The program's own writer of Windows bitmap files: 24 bits per pixel, rows bottom-up and padded
// to 4 bytes, a 40-byte info header and 96 dpi (3780 pixels per metre). Alpha is dropped.
// Returns an empty array for a null image.
QByteArray WriteBitmap(const QImage& image);
