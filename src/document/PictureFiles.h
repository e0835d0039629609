#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

#include "document/CompanionChunk.h"
#include "figures/PicturePair.h"

// Reading and writing picture files in the formats of the picture-format table (PictureFormats.h).
// The kind of a file that is read is decided by its content, never by its name.

struct PictureFormat;

struct PictureRead {
  QImage image;   // Format_RGB32 on success, null on failure
  QString error;  // a clear message in Chinese on failure (why the picture cannot be read)
  // The file was cut off: `image` holds what could be decoded (the rest grey) and differs from
  // what the file was meant to hold, so the picture counts as changed. ok() is still true.
  bool partial = false;
  const PictureFormat* format = nullptr;  // the format of the table that read it
  // The picture's high-resolution companion as the file keeps it (a PNG file of ours): k x the
  // picture, or null when the file holds none that can be trusted; `detail` says which and why.
  QImage companion;
  int companionScale = 1;
  bool enlargedParts = false;  // kept with the companion: part of it is a picture from outside, enlarged
  CompanionVerdict detail = CompanionVerdict::Absent;
  bool ok() const { return !image.isNull(); }
  PicturePair Pair() const { return PicturePair{image, companion}; }
};

// The resolution written into a picture file unless told otherwise: 96 dpi, so that a word
// processor places the picture at the size it has on screen.
inline constexpr int kScreenDotsPerMetre = 3780;

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

// Decodes a picture held in memory, in the first format of the table that recognises its bytes.
PictureRead ReadPicture(const QByteArray& bytes);
// Reads the picture file at `path` through ReadRegularFile (a file that cannot be read gets a
// message too).
PictureRead ReadPictureFile(const QString& path);

// Encodes `image` as a 24-bit bottom-up Windows bitmap, rows padded to 4 bytes, 96 dpi.
QByteArray EncodeBitmap(const QImage& image);
// Encodes `image` as an opaque picture in `format` at `dotsPerMetre`; empty when the format is
// only read or the image cannot be encoded.
QByteArray EncodePicture(const QImage& image, const PictureFormat& format,
                         int dotsPerMetre = kScreenDotsPerMetre);
// The same for a picture with its companion: a format that keeps detail (PictureFormat::
// KeepsDetail) writes the companion with it, with the note `enlargedParts`; any other writes the
// picture alone. Safe on any thread.
QByteArray EncodePicture(const PicturePair& picture, const PictureFormat& format, int dotsPerMetre,
                         bool enlargedParts);
// Writes `image` in `format` to `path` atomically: a failed write leaves any existing file as it
// was. Only a new file or an existing regular file is written: a folder, device or pipe of that
// name is refused (writing into a pipe would wait for a reader for ever), and so is a format that
// is only read. On failure returns false and puts a clear message in Chinese into `error`.
bool WritePictureFile(const QString& path, const QImage& image, const PictureFormat& format,
                      QString* error, int dotsPerMetre = kScreenDotsPerMetre);
// WritePictureFile of EncodePicture(picture, format, dotsPerMetre, enlargedParts).
bool WritePictureFile(const QString& path, const PicturePair& picture, const PictureFormat& format,
                      QString* error, int dotsPerMetre, bool enlargedParts);
// WritePictureFile as a Windows bitmap (the redo file, and pictures that must be bitmaps).
bool WriteBitmapFile(const QString& path, const QImage& image, QString* error);
