#include "document/PictureFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "document/BitmapReader.h"
#include "document/BitmapWriter.h"
#include "document/JpegReader.h"

namespace {

// No bitmap or JPEG file of a picture the program can open comes near this size.
constexpr qint64 kMaxFileBytes = qint64(1) << 30;

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

PictureRead Fail(const QString& message) {
  PictureRead result;
  result.error = message;
  return result;
}

}  // namespace

PictureRead ReadPicture(const QByteArray& bytes) {
  const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
  const qsizetype size = bytes.size();
  if (size == 0) return Fail(QStringLiteral("文件是空的，不是位图文件或 JPEG 图像"));
  if (IsBitmapData(data, size)) return ReadBitmap(data, size);
  if (IsJpegData(data, size)) return ReadJpeg(data, size);
  return Fail(QStringLiteral("不是位图文件或 JPEG 图像"));
}

PictureRead ReadPictureFile(const QString& path) {
  const QFileInfo info(path);
  if (path.isEmpty() || !info.exists())
    return Fail(QStringLiteral("找不到文件“%1”").arg(Shown(path)));
  if (info.isDir()) return Fail(QStringLiteral("“%1”是文件夹，不是图像文件").arg(Shown(path)));
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return Fail(QStringLiteral("无法读取文件“%1”：没有读取权限或文件正被占用").arg(Shown(path)));
  if (file.size() > kMaxFileBytes)
    return Fail(QStringLiteral("文件“%1”过大，不是可以打开的图像").arg(Shown(path)));
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    return Fail(QStringLiteral("读取文件“%1”时出错").arg(Shown(path)));
  if (bytes.isEmpty()) return Fail(QStringLiteral("文件“%1”是空的").arg(Shown(path)));
  PictureRead result = ReadPicture(bytes);
  if (!result.ok() && result.error.isEmpty())
    result.error = QStringLiteral("无法读取“%1”中的图像").arg(Shown(path));
  return result;
}

QByteArray EncodeBitmap(const QImage& image) { return WriteBitmap(image); }

bool WriteBitmapFile(const QString& path, const QImage& image, QString* error) {
  auto fail = [&](const QString& message) {
    if (error) *error = message;
    return false;
  };
  if (image.isNull()) return fail(QStringLiteral("没有可以保存的图像"));
  if (path.isEmpty()) return fail(QStringLiteral("没有给出文件名"));
  const QFileInfo info(path);
  if (info.isDir())
    return fail(QStringLiteral("“%1”是文件夹，不能保存为图像文件").arg(Shown(path)));
  const QFileInfo folder(info.absolutePath());
  if (!folder.exists())
    return fail(QStringLiteral("文件夹“%1”不存在，图像没有保存").arg(Shown(folder.filePath())));
  if (!folder.isDir())
    return fail(QStringLiteral("“%1”不是文件夹，图像没有保存").arg(Shown(folder.filePath())));
  // Replacing goes through a new file and a rename, which the folder would allow even for a
  // read-only file: a file the user protected is left alone.
  if (info.exists() && !info.isWritable())
    return fail(QStringLiteral("文件“%1”是只读的，图像没有保存").arg(Shown(path)));
  const QByteArray bytes = WriteBitmap(image);
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
