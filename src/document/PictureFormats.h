#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <vector>

#include "document/PictureFiles.h"

// The picture formats the program knows, in one table. Reading by content, both file dialogs'
// filters, the name rule of saving, the help text, the desktop entry and the AppStream metainfo
// (made from the table when the program is built, packaging/FormatTexts.cpp) follow it: a new
// format is one more row.

// Rows name their fields; a field a row leaves out keeps its default.
struct PictureFormat {
  QString name = {};          // how texts name the format: "PNG"
  QStringList suffixes = {};  // lower case, without the dot; the first is the one added to a name
  QString mimeType = {};      // "image/png"
  QString description = {};   // the dialog filter's text before its patterns: "PNG 图像"
  // True when `data` starts the way a file of this format does.
  bool (*recognises)(const uchar* data, qsizetype size) = nullptr;
  // Decodes a file of this format into an opaque Format_RGB32 picture of at most `maxPixels`;
  // null for a format read through one of Qt's image plugins (qtPlugin).
  PictureRead (*read)(const uchar* data, qsizetype size, qint64 maxPixels) = nullptr;
  // The Qt image plugin that decodes a format the program has no reader of its own for ("webp"):
  // the program's generic reader over it (QtPluginReader.h) applies the program's limits. The
  // plugin is loaded when the first picture of its kind is read.
  const char* qtPlugin = nullptr;
  // The orientation (1..8, ExifOrientation.h) a file of this format records, for a format whose
  // plugin does not apply it; null: as the plugin says.
  int (*orientation)(const uchar* data, qsizetype size) = nullptr;
  // Encodes an opaque picture with its resolution; null for a format that is only read.
  QByteArray (*write)(const QImage& image, int dotsPerMetre) = nullptr;
  // Why a name with this format's suffix cannot be saved (formats that are only read).
  QString readOnlyRefusal = {};
  // Encodes an opaque picture with its high-resolution companion so that reading the file gives
  // the companion back (and the note that part of it is enlarged from outside); null for a format
  // that keeps the picture alone.
  QByteArray (*writeWithCompanion)(const PicturePair& picture, int dotsPerMetre, bool enlargedParts) = nullptr;

  // Decodes `data` (a file this format recognises) with the row's reader.
  PictureRead Read(const uchar* data, qsizetype size, qint64 maxPixels) const;
  bool CanWrite() const { return write != nullptr; }
  // The format keeps a companion's detail.
  bool KeepsDetail() const { return writeWithCompanion != nullptr; }
  // The dialog filter of this format alone: "PNG 图像 (*.png)".
  QString Filter() const;
};

// Every format, bitmap first.
const std::vector<PictureFormat>& PictureFormats();

// The open dialog's filters: every readable picture first ("所有图像 (*.bmp *.jpg *.jpeg *.png ...)"),
// then each format's own, separated by ";;". Qt's own file dialog matches the patterns without
// regard to case, so a camera's "IMG_0001.JPG" is shown too.
QString OpenDialogFilter();
// The save dialog's filters: the formats that are written, in table order ("位图文件 (*.bmp)"),
// except that `first` (when written) comes first: the dialog starts with it.
QString SaveDialogFilter(const PictureFormat* first = nullptr);
// The row of the format called `name` ("PNG").
const PictureFormat& FormatNamed(const QString& name);

// The format whose suffix ends `fileName` (without regard to case), or null.
const PictureFormat* FormatOfFileName(const QString& fileName);
// The format whose filter is `filter` (as the dialog gives it back), or null.
const PictureFormat* FormatOfFilter(const QString& filter);

// Where and how a picture is saved under the name typed in the save dialog.
struct SaveTarget {
  QString path;                          // the final name, with the suffix that was added
  const PictureFormat* format = nullptr; // null when refused
  QString refusal;                       // why the name cannot be saved, in Chinese
  bool ok() const { return format != nullptr; }
};

// The name rule of saving: a name ending in a known suffix is written in that format, whatever
// filter is chosen (a format that is only read refuses the name); any other name gets the chosen
// filter's first suffix ("incline" with "位图文件 (*.bmp)" becomes "incline.bmp", "a.v2" with
// "PNG 图像 (*.png)" becomes "a.v2.png"). An unknown filter counts as the first writable format.
SaveTarget ResolveSaveName(const QString& typedName, const QString& chosenFilter);

// The names of the formats that are read, or written, in table order: {"BMP", "JPEG", "PNG", ...}.
QStringList ReadableFormatNames();
QStringList WritableFormatNames();
// Names joined as a Chinese list: "BMP、JPEG 和 PNG" with conjunction "和".
QString JoinedNames(const QStringList& names, const QString& conjunction);
// The media types of the formats that are read, in table order ("image/bmp", ...): what the
// desktop offers the program to open.
QStringList ReadableMimeTypes();
