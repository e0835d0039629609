#pragma once
#include <QtGlobal>

#include "document/PictureFiles.h"

// The program's reader for the formats of the table that one of Qt's image plugins decodes
// (PictureFormat::qtPlugin), one for all of them, with the limits of the program's own readers:
// the picture's size is read from its header first and a picture wider or taller than
// kMaxPictureSide, larger than `maxPixels` or taking more than kMaxDecodedBytes as the plugin
// decodes it is refused before any pixel is allocated; what the plugin decodes becomes an opaque
// Format_RGB32 picture over white (QtDecoding.h), turned the right way up where the file records
// an orientation. A damaged file gets a clear message and no picture; so does a file of a format
// whose plugin is not installed. Safe on any thread.
PictureRead ReadThroughQtPlugin(const PictureFormat& format, const uchar* data, qsizetype size, qint64 maxPixels);
