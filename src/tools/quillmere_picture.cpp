// quillmere_picture: a maintainers' tool beside the program. It reads a picture with the
// program's own readers and writes it with the program's writers, or as binary PPM, so that the
// readers and the writers can be checked against other tools. The output's kind follows its
// name's suffix: .ppm, or any format of the picture-format table that is written.
//
//   quillmere_picture decode IN OUT      IN in any format the program opens
//   quillmere_picture encode IN.ppm OUT
// Exit 0, or the reader's or writer's message and exit 1; usage and exit 2. A picture read only in
// part (a file cut off) is written all the same, with a note on stderr.
#include <QCoreApplication>
#include <QImage>
#include <QSaveFile>
#include <QString>
#include <cstdio>

#include "document/PictureFiles.h"
#include "document/PictureFormats.h"

namespace {

int Usage() {
  std::fputs(
      "用法：quillmere_picture decode 图像文件 输出文件\n"
      "      quillmere_picture encode 输入.ppm 输出文件\n"
      "输出文件的类型由扩展名决定：.ppm 或可以保存的图像格式。\n",
      stderr);
  return 2;
}

int Failure(const QString& message) {
  std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  return 1;
}

bool WritePpm(const QString& path, const QImage& image, QString* error) {
  QByteArray bytes = QStringLiteral("P6\n%1 %2\n255\n").arg(image.width()).arg(image.height()).toLatin1();
  const qsizetype header = bytes.size();
  bytes.resize(header + qsizetype(image.width()) * image.height() * 3);
  uchar* d = reinterpret_cast<uchar*>(bytes.data()) + header;
  for (int y = 0; y < image.height(); ++y) {
    const auto* s = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      *d++ = uchar(qRed(s[x]));
      *d++ = uchar(qGreen(s[x]));
      *d++ = uchar(qBlue(s[x]));
    }
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    *error = QStringLiteral("无法写入“%1”").arg(path);
    return false;
  }
  return true;
}

// Reads a binary PPM (P6, maximum value 255, comments allowed in the header).
QImage ReadPpm(const QByteArray& bytes, QString* error) {
  qsizetype p = 0;
  const qsizetype n = bytes.size();
  auto skipSpace = [&] {
    while (p < n) {
      if (bytes[p] == '#') {
        while (p < n && bytes[p] != '\n') ++p;
      } else if (bytes[p] == ' ' || bytes[p] == '\n' || bytes[p] == '\r' || bytes[p] == '\t') {
        ++p;
      } else {
        break;
      }
    }
  };
  auto number = [&]() -> qint64 {
    skipSpace();
    qint64 v = -1;
    while (p < n && bytes[p] >= '0' && bytes[p] <= '9' && v < (qint64(1) << 40))
      v = (v < 0 ? 0 : v * 10) + (bytes[p++] - '0');
    return v;
  };
  if (n < 2 || bytes[0] != 'P' || bytes[1] != '6') {
    *error = QStringLiteral("不是二进制 PPM 图像（P6）");
    return {};
  }
  p = 2;
  const qint64 w = number(), h = number(), max = number();
  if (w <= 0 || h <= 0 || max != 255 || p >= n) {
    *error = QStringLiteral("PPM 文件头无效（只支持最大值 255）");
    return {};
  }
  if (w > kMaxPictureSide || h > kMaxPictureSide) {
    *error = QStringLiteral("图像尺寸过大（超过 %1 像素）").arg(kMaxPictureSide);
    return {};
  }
  ++p;  // the single white space before the pixels
  if (n - p < w * h * 3) {
    *error = QStringLiteral("PPM 像素数据不完整");
    return {};
  }
  QImage image(int(w), int(h), QImage::Format_RGB32);
  if (image.isNull()) {
    *error = QStringLiteral("内存不足");
    return {};
  }
  const auto* s = reinterpret_cast<const uchar*>(bytes.constData()) + p;
  for (int y = 0; y < h; ++y) {
    auto* d = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < w; ++x, s += 3) d[x] = qRgb(s[0], s[1], s[2]);
  }
  return image;
}

// Writes `image` to `path` as its suffix says.
bool WriteOutput(const QString& path, const QImage& image, QString* error) {
  if (path.endsWith(QLatin1String(".ppm"), Qt::CaseInsensitive)) return WritePpm(path, image, error);
  const PictureFormat* format = FormatOfFileName(path);
  if (format == nullptr) {
    QStringList suffixes{QStringLiteral(".ppm")};
    for (const PictureFormat& f : PictureFormats())
      if (f.CanWrite()) suffixes << QStringLiteral(".") + f.suffixes.first();
    *error = QStringLiteral("不知道“%1”应该写成哪种图像：请用 %2 结尾")
                 .arg(path, JoinedNames(suffixes, QStringLiteral("或")));
    return false;
  }
  return WritePictureFile(path, image, *format, error);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 4) return Usage();
  const QString& command = args[1];
  QString error;
  QImage image;
  if (command == QLatin1String("decode")) {
    const PictureRead read = ReadPictureFile(args[2]);
    if (!read.ok()) return Failure(read.error);
    if (read.partial) std::fputs("注意：图像文件不完整，只读出了一部分。\n", stderr);
    image = read.image;
  } else if (command == QLatin1String("encode")) {
    QByteArray bytes;
    if (!ReadRegularFile(args[2], kMaxPictureFileBytes, &bytes, &error)) return Failure(error);
    image = ReadPpm(bytes, &error);
    if (image.isNull()) return Failure(error);
  } else {
    return Usage();
  }
  if (!WriteOutput(args[3], image, &error)) return Failure(error);
  return 0;
}
