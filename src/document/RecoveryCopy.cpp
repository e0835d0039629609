#include "document/RecoveryCopy.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <zlib.h>

#include <cstring>

#include "document/PictureFiles.h"
#include "document/PngFormat.h"

namespace {

// The signature and the header chunk (13 bytes of data) with which every PNG file of ours starts:
// the note goes right after them.
constexpr qsizetype kHeaderEnd = 8 + 12 + 13;
constexpr qsizetype kFixedNote = 12;
// A note is a few file names and numbers: anything longer is not one of ours.
constexpr quint32 kMaxNoteBytes = 1 << 20;

quint32 U32(const uchar* p) {
  return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

void PutU32(QByteArray& bytes, quint32 v) {
  const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  bytes.append(b, 4);
}

quint32 Crc(const uchar* p, qsizetype n, quint32 from = 0) {
  uLong crc = from;
  // In pieces: zlib counts in unsigned int.
  while (n > 0) {
    const uInt piece = uInt(std::min<qsizetype>(n, qsizetype(1) << 30));
    crc = crc32(crc, p, piece);
    p += piece;
    n -= piece;
  }
  return quint32(crc);
}

// The guard: CRC-32 of the whole file but the note, the header and what follows the note.
quint32 Guard(const uchar* file, const uchar* tail, qsizetype tailBytes) {
  return Crc(tail, tailBytes, Crc(file, kHeaderEnd));
}

RecoveryRead Damaged(const QString& problem) {
  RecoveryRead read;
  read.problem = problem;
  return read;
}

QJsonValue StampJson(const std::optional<FileStamp>& stamp) {
  if (!stamp) return QJsonValue::Null;
  return QJsonObject{{"size", double(stamp->size)},
                     {"modified", QString::number(stamp->modifiedNs)},
                     {"sha1", QString::fromLatin1(stamp->hash.toHex())}};
}

// The stamp a note holds; false when it holds something that is not one.
bool StampOf(const QJsonValue& value, std::optional<FileStamp>* stamp) {
  if (value.isNull()) return true;
  if (!value.isObject()) return false;
  const QJsonObject o = value.toObject();
  bool ok = false;
  FileStamp s;
  s.size = qint64(o.value("size").toDouble(-1));
  s.modifiedNs = o.value("modified").toString().toLongLong(&ok);
  s.hash = QByteArray::fromHex(o.value("sha1").toString().toLatin1());
  if (!ok || s.size < 0 || s.hash.size() != 20) return false;
  *stamp = s;
  return true;
}

}  // namespace

QByteArray EncodeRecoveryCopy(const PicturePair& picture, const RecoveryNote& note) {
  // The note's scale is that of the companion the file really keeps.
  // A companion the pair does not hold (a white picture's) is the picture enlarged.
  int k = picture.Scale();
  if (k < 2 || k > 4 || (!picture.companion.isNull() && picture.companion.size() != picture.image.size() * k)) k = 1;
  const QByteArray png = k > 1 ? WritePngWithCompanion(picture, kScreenDotsPerMetre, note.enlargedParts)
                               : WritePng(picture.image, kScreenDotsPerMetre);
  if (png.size() < kHeaderEnd) return {};
  const QJsonObject json{{"file", note.fileName},
                         {"caption", note.caption},
                         {"format", note.formatName},
                         {"stamp", StampJson(note.stamp)},
                         {"enlarged", note.enlargedParts},
                         {"scale", k},
                         {"taken", double(note.taken.toMSecsSinceEpoch())}};
  const auto* tail = reinterpret_cast<const uchar*>(png.constData()) + kHeaderEnd;
  const qsizetype tailBytes = png.size() - kHeaderEnd;
  QByteArray chunk;
  PutU32(chunk, 0);  // the length, filled in below
  chunk.append(kRecoveryChunkType, 4);
  chunk.append(char(kRecoveryCopyVersion)).append(3, '\0');
  PutU32(chunk, quint32(tailBytes));
  PutU32(chunk, Guard(reinterpret_cast<const uchar*>(png.constData()), tail, tailBytes));
  chunk.append(QJsonDocument(json).toJson(QJsonDocument::Compact));
  const quint32 length = quint32(chunk.size() - 8);
  for (int i = 0; i < 4; ++i) chunk[i] = char(length >> (24 - 8 * i));
  PutU32(chunk, Crc(reinterpret_cast<const uchar*>(chunk.constData()) + 4, qsizetype(length) + 4));

  QByteArray copy;
  copy.reserve(png.size() + chunk.size());
  copy.append(png.constData(), kHeaderEnd).append(chunk).append(png.constData() + kHeaderEnd, tailBytes);
  return copy;
}

namespace {

// ReadRecoveryNote, with the scale of the companion the copy kept.
RecoveryRead ReadNote(const QByteArray& bytes, int* scale) {
  const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
  const qsizetype size = bytes.size();
  if (size < kHeaderEnd + 12 || !IsPngData(data, size) || U32(data + 8) != 13 || std::memcmp(data + 12, "IHDR", 4) != 0)
    return Damaged(QStringLiteral("不是恢复副本"));
  const uchar* chunk = data + kHeaderEnd;
  const quint32 length = U32(chunk);
  if (std::memcmp(chunk + 4, kRecoveryChunkType, 4) != 0) return Damaged(QStringLiteral("没有恢复副本的说明"));
  if (length < kFixedNote || length > kMaxNoteBytes || kHeaderEnd + 12 + qsizetype(length) > size ||
      Crc(chunk + 4, qsizetype(length) + 4) != U32(chunk + 8 + length))
    return Damaged(QStringLiteral("恢复副本的说明已损坏"));
  const uchar* body = chunk + 8;
  RecoveryRead read;
  if (body[0] > kRecoveryCopyVersion) {
    read.verdict = RecoveryVerdict::Newer;
    read.problem = QStringLiteral("由更新版本的程序写入");
    return read;
  }
  const qsizetype tailAt = kHeaderEnd + 12 + qsizetype(length);
  if (body[0] != kRecoveryCopyVersion || U32(body + 4) != quint64(size - tailAt) ||
      Guard(data, data + tailAt, size - tailAt) != U32(body + 8))
    return Damaged(QStringLiteral("文件不完整或已被改动"));
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(
      QByteArray::fromRawData(reinterpret_cast<const char*>(body + kFixedNote), qsizetype(length) - kFixedNote), &error);
  const QJsonObject o = doc.object();
  const QJsonValue taken = o.value("taken");
  if (error.error != QJsonParseError::NoError || !doc.isObject() || !o.value("file").isString() ||
      !o.value("caption").isString() || !o.value("format").isString() || !o.value("enlarged").isBool() ||
      !taken.isDouble() || !StampOf(o.value("stamp"), &read.note.stamp) || o.value("scale").toInt(0) < 1 ||
      o.value("scale").toInt(0) > 4)
    return Damaged(QStringLiteral("恢复副本的说明无法读出"));
  *scale = o.value("scale").toInt();
  read.note.fileName = o.value("file").toString();
  read.note.caption = o.value("caption").toString();
  read.note.formatName = o.value("format").toString();
  read.note.enlargedParts = o.value("enlarged").toBool();
  read.note.taken = QDateTime::fromMSecsSinceEpoch(qint64(taken.toDouble()), Qt::UTC);
  read.verdict = RecoveryVerdict::Whole;
  return read;
}

}  // namespace

RecoveryRead ReadRecoveryNote(const QByteArray& bytes) {
  int scale = 1;
  return ReadNote(bytes, &scale);
}

RecoveryRead ReadRecoveryCopy(const QByteArray& bytes) {
  int k = 1;
  RecoveryRead read = ReadNote(bytes, &k);
  if (read.verdict != RecoveryVerdict::Whole) return read;
  const PictureRead png = ReadPng(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
  // The guard holds: the bytes are those written. A picture that does not decode now lacks memory,
  // or is beyond the limits and so never came from this program.
  const bool noMemory = png.error.contains(QStringLiteral("内存不足")) || png.detail == CompanionVerdict::NoMemory;
  if (noMemory) {
    read.verdict = RecoveryVerdict::NoMemory;
    read.problem = QStringLiteral("内存不足");
    return read;
  }
  const bool whole = png.ok() && !png.partial &&
                     (k == 1 ? png.detail == CompanionVerdict::Absent
                             : k >= 2 && png.detail == CompanionVerdict::Restored && png.companionScale == k);
  if (!whole) {
    read.verdict = RecoveryVerdict::Damaged;
    read.problem = png.ok() ? QStringLiteral("图像的高清细节无法读出") : png.error;
    return read;
  }
  read.picture = png.Pair();
  return read;
}
