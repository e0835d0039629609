#pragma once
#include <QByteArray>
#include <QImage>

// The program's own writer of Windows bitmap files: 24 bits per pixel, rows bottom-up and padded
// to 4 bytes, a 40-byte info header recording `dotsPerMetre` (3780 pixels per metre is 96 dpi).
// Alpha is dropped. Returns an empty array for a null image.
QByteArray WriteBitmap(const QImage& image, int dotsPerMetre = 3780);
