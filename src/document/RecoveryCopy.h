#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

#include "document/FileStamp.h"
#include "figures/PicturePair.h"

// A recovery copy: the unsaved work of a running window, kept on disk so that a crash loses at
// most the last seconds of it. The copy is a PNG file of ours, the picture with its companion in
// our chunk as 保存 writes it (so any picture viewer opens it too), with one more private chunk
// "qmRC" right after the header: what the window knew of the picture, and a guard over the rest of
// the file. Its body, numbers big-endian:
//    0  version (1)
//    1  0, 0, 0
//    4  the number of bytes that follow the chunk, to the end of the file
//    8  CRC-32 of the rest of the file: the signature and header, then the bytes after the chunk
//   12  a JSON object in UTF-8: "file" (the picture's file, absolute; "" for a picture in no
//       file), "caption", "format" (the file's format, by name), "stamp" (null, or "size",
//       "modified" in nanoseconds since 1970 and "sha1" in hex), "enlarged", "scale" (k of the
//       companion written; 1 when none was) and "taken" (milliseconds since 1970, UTC).
// Nothing here keeps state: any thread may encode and read.

inline constexpr char kRecoveryChunkType[] = "qmRC";
inline constexpr int kRecoveryCopyVersion = 1;

// What a copy says beside its picture.
struct RecoveryNote {
  QString fileName;    // the picture's file, absolute; empty for a picture that is in no file
  QString caption;     // the window's caption
  QString formatName;  // the format that file was read or written in (PictureFormats.h), or empty
  std::optional<FileStamp> stamp;  // that file as the window last read or wrote it
  bool enlargedParts = false;      // part of the companion is a picture from outside, enlarged
  QDateTime taken;                 // when the copy was taken
};

enum class RecoveryVerdict {
  Whole,     // the note (and the picture, when asked for) read as written
  Damaged,   // anything else: cut off, changed, a picture beyond the limits, not a copy at all
  Newer,     // written by a later version of the program, which can read it
  NoMemory,  // whole, but its picture does not fit in memory now
};

struct RecoveryRead {
  RecoveryVerdict verdict = RecoveryVerdict::Damaged;
  RecoveryNote note;
  // The picture and its companion (null when the copy kept none); read by ReadRecoveryCopy only.
  PicturePair picture;
  QString problem;  // what is wrong, for a verdict other than Whole
};

// The copy's bytes: `picture` (its companion kept when it has one) with `note`. Empty when memory
// runs out.
QByteArray EncodeRecoveryCopy(const PicturePair& picture, const RecoveryNote& note);
// The note of a copy, with the whole file checked against the guard, without decoding the picture.
RecoveryRead ReadRecoveryNote(const QByteArray& bytes);
// The note and the picture. A copy that kept a companion is whole only when the companion is
// restored exactly as written.
RecoveryRead ReadRecoveryCopy(const QByteArray& bytes);
