#include "document/PictureFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "document/BitmapWriter.h"
#include "document/PictureFormats.h"

namespace {

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

// What a file that is not a regular file is, in the user's words; empty for a regular file.
QString KindOf(mode_t mode) {
  if (S_ISREG(mode)) return {};
  if (S_ISDIR(mode)) return QStringLiteral("文件夹");
  if (S_ISCHR(mode) || S_ISBLK(mode)) return QStringLiteral("设备");
  if (S_ISFIFO(mode)) return QStringLiteral("管道");
  if (S_ISSOCK(mode)) return QStringLiteral("套接字");
  return QStringLiteral("特殊文件");
}

// Closes a file descriptor when it goes out of scope.
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

PictureRead Fail(const QString& message) {
  PictureRead result;
  result.error = message;
  return result;
}

}  // namespace

PictureRead ReadPicture(const QByteArray& bytes) {
  const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
  const qsizetype size = bytes.size();
  if (size == 0) return Fail(QStringLiteral("文件是空的"));
  for (const PictureFormat& format : PictureFormats())
    if (format.recognises(data, size)) {
      PictureRead read = format.Read(data, size, kMaxPicturePixels);
      read.format = &format;
      return read;
    }
  return Fail(QStringLiteral("不是可以打开的图像文件（能打开的是 %1 图像）")
                  .arg(JoinedNames(ReadableFormatNames(), QStringLiteral("和"))));
}

bool ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray* bytes, QString* error) {
  auto fail = [&](const QString& message) {
    if (error) *error = message;
    return false;
  };
  // Opening without blocking: a pipe with no writer would otherwise hold the program here.
  Descriptor file{-1};
  do {
    file.fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  } while (file.fd < 0 && errno == EINTR);
  if (file.fd < 0) {
    const int err = errno;
    if (err == ENOENT || err == ENOTDIR) return fail(QStringLiteral("找不到文件“%1”").arg(Shown(path)));
    if (err == EACCES || err == EPERM)
      return fail(QStringLiteral("无法读取文件“%1”：没有读取权限").arg(Shown(path)));
    return fail(QStringLiteral("无法读取文件“%1”（系统错误 %2）").arg(Shown(path)).arg(err));
  }
  // The descriptor, not the name, is examined: what was opened is what is read.
  struct stat st;
  if (::fstat(file.fd, &st) != 0) return fail(QStringLiteral("读取文件“%1”时出错").arg(Shown(path)));
  const QString kind = KindOf(st.st_mode);
  if (!kind.isEmpty()) return fail(QStringLiteral("“%1”是%2，不是图像文件").arg(Shown(path), kind));
  const auto tooLarge = [&] {
    return fail(QStringLiteral("文件“%1”过大（超过 %2 MB），不是可以打开的图像").arg(Shown(path)).arg(maxBytes >> 20));
  };
  if (st.st_size > maxBytes) return tooLarge();
  // Read to the end of the file but never past maxBytes + 1 bytes: a file that grows meanwhile is
  // still bounded.
  QByteArray data;
  data.resize(qsizetype(std::min<qint64>(st.st_size, maxBytes) + 1));
  qint64 total = 0;
  for (;;) {
    if (total == data.size()) {
      if (total > maxBytes) return tooLarge();
      data.resize(qsizetype(std::min<qint64>(total * 2, maxBytes + 1)));
    }
    const ssize_t n = ::read(file.fd, data.data() + total, size_t(data.size() - total));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail(QStringLiteral("读取文件“%1”时出错").arg(Shown(path)));
    if (n == 0) break;
    total += n;
  }
  if (total > maxBytes) return tooLarge();
  data.resize(qsizetype(total));
  *bytes = std::move(data);
  return true;
}

PictureRead ReadPictureFile(const QString& path) {
  QByteArray bytes;
  QString error;
  if (!ReadRegularFile(path, kMaxPictureFileBytes, &bytes, &error)) return Fail(error);
  if (bytes.isEmpty()) return Fail(QStringLiteral("文件“%1”是空的").arg(Shown(path)));
  PictureRead result = ReadPicture(bytes);
  if (!result.ok() && result.error.isEmpty())
    result.error = QStringLiteral("无法读取“%1”中的图像").arg(Shown(path));
  return result;
}

QByteArray EncodeBitmap(const QImage& image) { return WriteBitmap(image); }

QByteArray EncodePicture(const QImage& image, const PictureFormat& format, int dotsPerMetre) {
  if (!format.CanWrite() || image.isNull() || dotsPerMetre <= 0) return {};
  return format.write(image, dotsPerMetre);
}

QByteArray EncodePicture(const PicturePair& picture, const PictureFormat& format, int dotsPerMetre,
                         bool enlargedParts) {
  if (!format.KeepsDetail() || picture.Scale() < 2) return EncodePicture(picture.image, format, dotsPerMetre);
  if (picture.image.isNull() || dotsPerMetre <= 0) return {};
  return format.writeWithCompanion(picture, dotsPerMetre, enlargedParts);
}

namespace {

// Writes what `encode` makes of the picture to `path` atomically (WritePictureFile).
template <class Encode>
bool WriteEncoded(const QString& path, bool hasPicture, const PictureFormat& format, QString* error,
                  int dotsPerMetre, Encode&& encode) {
  auto fail = [&](const QString& message) {
    if (error) *error = message;
    return false;
  };
  if (!format.CanWrite()) return fail(format.readOnlyRefusal);
  if (!hasPicture) return fail(QStringLiteral("没有可以保存的图像"));
  if (dotsPerMetre <= 0) return fail(QStringLiteral("图像分辨率无效，图像没有保存"));
  if (path.isEmpty()) return fail(QStringLiteral("没有给出文件名"));
  const QFileInfo info(path);
  if (info.isDir())
    return fail(QStringLiteral("“%1”是文件夹，不能保存为图像文件").arg(Shown(path)));
  const QFileInfo folder(info.absolutePath());
  if (!folder.exists())
    return fail(QStringLiteral("文件夹“%1”不存在，图像没有保存").arg(Shown(folder.filePath())));
  if (!folder.isDir())
    return fail(QStringLiteral("“%1”不是文件夹，图像没有保存").arg(Shown(folder.filePath())));
  // A device or a pipe of that name would be written directly, and a pipe would wait for a reader.
  struct stat st;
  if (::stat(QFile::encodeName(path).constData(), &st) == 0 && !KindOf(st.st_mode).isEmpty())
    return fail(QStringLiteral("“%1”是%2，不能保存为图像文件").arg(Shown(path), KindOf(st.st_mode)));
  // Replacing goes through a new file and a rename, which the folder would allow even for a
  // read-only file: a file the user protected is left alone.
  if (info.exists() && !info.isWritable())
    return fail(QStringLiteral("文件“%1”是只读的，图像没有保存").arg(Shown(path)));
  const QByteArray bytes = encode();
  if (bytes.isEmpty())
    return fail(QStringLiteral("无法把图像转换为 %1 格式（内存可能不足），图像没有保存").arg(format.name));
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return fail(QStringLiteral("无法在“%1”中保存图像：没有写入权限").arg(Shown(folder.filePath())));
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    file.commit();
    return fail(QStringLiteral("写入“%1”时出错（磁盘可能已满），原来的文件没有改变").arg(Shown(path)));
  }
  if (!file.commit())
    return fail(QStringLiteral("无法保存“%1”：写入或替换文件时出错，原来的文件没有改变").arg(Shown(path)));
  return true;
}

}  // namespace

bool WritePictureFile(const QString& path, const QImage& image, const PictureFormat& format,
                      QString* error, int dotsPerMetre) {
  return WriteEncoded(path, !image.isNull(), format, error, dotsPerMetre,
                      [&] { return format.write(image, dotsPerMetre); });
}

bool WritePictureFile(const QString& path, const PicturePair& picture, const PictureFormat& format,
                      QString* error, int dotsPerMetre, bool enlargedParts) {
  return WriteEncoded(path, !picture.image.isNull(), format, error, dotsPerMetre,
                      [&] { return EncodePicture(picture, format, dotsPerMetre, enlargedParts); });
}

bool WriteBitmapFile(const QString& path, const QImage& image, QString* error) {
  return WritePictureFile(path, image, PictureFormats().front(), error);  // the bitmap row
}
