#include "document/FileStamp.h"

#include <QCryptographicHash>
#include <QFile>
#include <sys/stat.h>

#include "document/PictureFiles.h"

std::optional<FileStamp> StampOfFile(const QString& path) {
  struct stat st;
  if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  QByteArray bytes;
  if (!ReadRegularFile(path, kMaxPictureFileBytes, &bytes, nullptr)) return std::nullopt;
  FileStamp stamp;
  stamp.size = bytes.size();
  stamp.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  stamp.hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
  return stamp;
}
