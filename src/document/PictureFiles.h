#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

// Reading and writing picture files with the program's own bitmap reader and writer and the JPEG
// reader. The kind of a file is decided by its content, never by its name.

struct PictureRead {
  QImage image;   // Format_RGB32 on success, null on failure
  QString error;  // a clear message in Chinese on failure (why the picture cannot be read)
  bool ok() const { return !image.isNull(); }
};

// The largest side of a picture the program reads or makes.
inline constexpr int kMaxPictureSide = 16384;
// The largest area of a picture the program reads (512 MB as Format_RGB32), so that a small file
// claiming a huge picture cannot make the program take all the memory.
inline constexpr qint64 kMaxPicturePixels = qint64(kMaxPictureSide) * 8192;

// Decodes a bitmap or JPEG held in memory.
PictureRead ReadPicture(const QByteArray& bytes);
// Reads the file at `path` (an unreadable file gets a message too).
PictureRead ReadPictureFile(const QString& path);

// Encodes `image` as a 24-bit bottom-up Windows bitmap, rows padded to 4 bytes, 96 dpi.
QByteArray EncodeBitmap(const QImage& image);
// Writes `image` as a bitmap to `path` atomically: a failed write leaves any existing file as it
// was. On failure returns false and puts a clear message in Chinese into `error`.
bool WriteBitmapFile(const QString& path, const QImage& image, QString* error);
