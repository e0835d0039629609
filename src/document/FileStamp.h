#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

// What a file was like when this window last opened or saved it, so that a save over it can tell
// whether another program changed it since. Two stamps are equal when size, modification time
// and content are.
struct FileStamp {
  qint64 size = 0;
  qint64 modifiedNs = 0;  // modification time, nanoseconds since 1970
  QByteArray hash;        // SHA-1 of the content
  bool operator==(const FileStamp&) const = default;
};

// The stamp of the regular file at `path` (read through ReadRegularFile's limits), or nothing when
// it cannot be read (gone, not a regular file, too large).
std::optional<FileStamp> StampOfFile(const QString& path);
