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

// The largest file the program reads. The largest picture the readers accept (kMaxPicturePixels)
// takes 512 MB as a 32-bit bitmap; twice that leaves room for any header, palette or gap before the
// pixels, and for a JPEG of that picture at the highest quality. A larger file cannot hold a
// picture the program can open, and is refused before a byte of it is read.
inline constexpr qint64 kMaxPictureFileBytes = qint64(1) << 30;

// Reads the whole of the regular file at `path`, at most `maxBytes` bytes. Anything but a regular
// file (a folder, a device such as /dev/zero, a pipe, a socket) is refused without reading and
// without waiting for a writer, and so is a file larger than `maxBytes`. On failure returns false
// and puts a clear message in Chinese into `error`.
bool ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray* bytes, QString* error);

// Decodes a bitmap or JPEG held in memory.
PictureRead ReadPicture(const QByteArray& bytes);
// Reads the picture file at `path` through ReadRegularFile (a file that cannot be read gets a
// message too).
PictureRead ReadPictureFile(const QString& path);

// Encodes `image` as a 24-bit bottom-up Windows bitmap, rows padded to 4 bytes, 96 dpi.
QByteArray EncodeBitmap(const QImage& image);
// Writes `image` as a bitmap to `path` atomically: a failed write leaves any existing file as it
// was. Only a new file or an existing regular file is written: a folder, device or pipe of that
// name is refused (writing into a pipe would wait for a reader for ever). On failure returns false
// and puts a clear message in Chinese into `error`.
bool WriteBitmapFile(const QString& path, const QImage& image, QString* error);
