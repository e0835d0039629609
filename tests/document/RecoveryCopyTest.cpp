// Recovery copies on disk: the file (a PNG of ours with a guarded note), the folder, and the
// writer's thread.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <functional>

#include "document/PictureFiles.h"
#include "document/PictureFormats.h"
#include "document/RecoveryCopy.h"
#include "document/RecoveryFolder.h"
#include "document/RecoveryWriter.h"
#include "figures/Canvas.h"

namespace {

// A picture with detail only its companion holds: a slanted line, committed as a release does.
PicturePair Drawn(int k, int shift = 0) {
  Canvas canvas(120, 80);
  canvas.SetCompanion(k);
  canvas.Line(10 + shift, 10, 100, 67);
  canvas.Ellipse(30, 20, 90, 60);
  canvas.CommitCompanion();
  PicturePair pair = canvas.Pair();
  if (k == 1) pair.companion = QImage();
  return pair;
}

RecoveryNote Note(const QString& file) {
  RecoveryNote note;
  note.fileName = file;
  note.caption = file.isEmpty() ? QStringLiteral("※Quillmere※～～新建图像") : QStringLiteral("※Quillmere※～～") + file;
  note.formatName = file.isEmpty() ? QString() : QStringLiteral("PNG");
  if (!file.isEmpty()) note.stamp = FileStamp{1234, 1700000000123456789, QByteArray(20, '\x5a')};
  note.enlargedParts = !file.isEmpty();
  note.taken = QDateTime::fromMSecsSinceEpoch(1700000000123, Qt::UTC);
  return note;
}

quint32 Crc(const QByteArray& b) { return quint32(crc32(0, reinterpret_cast<const Bytef*>(b.constData()), uInt(b.size()))); }

QByteArray U32(quint32 v) {
  const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  return QByteArray(b, 4);
}

// `copy` with the body of its note replaced by `body`, its own checksum right: what a later
// version, or a forger, would write.
QByteArray WithNoteBody(const QByteArray& copy, const QByteArray& body) {
  const qsizetype at = 33, length = qsizetype(quint32(uchar(copy[at])) << 24 | quint32(uchar(copy[at + 1])) << 16 |
                                              quint32(uchar(copy[at + 2])) << 8 | quint32(uchar(copy[at + 3])));
  const QByteArray typed = QByteArray("qmRC") + body;
  return copy.left(at) + U32(quint32(body.size())) + typed + U32(Crc(typed)) + copy.mid(at + 12 + length);
}

QByteArray NoteBody(const QByteArray& copy) {
  const qsizetype length = qsizetype(quint32(uchar(copy[33])) << 24 | quint32(uchar(copy[34])) << 16 |
                                     quint32(uchar(copy[35])) << 8 | quint32(uchar(copy[36])));
  return copy.mid(41, length);
}

struct Env {
  explicit Env(const char* name) : name(name), had(qEnvironmentVariableIsSet(name)), old(qgetenv(name)) {}
  ~Env() { had ? qputenv(name, old) : qunsetenv(name); }
  const char* name;
  bool had;
  QByteArray old;
};

mode_t Mode(const QString& path) {
  struct stat st;
  return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 0777 : 0;
}

}  // namespace

// The copy gives back exactly what was kept, with or without a companion, and is a PNG file that
// the program's own reader (and so 打开) takes as a picture with its detail.
TEST(RecoveryCopy, GivesBackPictureCompanionAndNote) {
  const struct {
    int k;
    QString file;
  } cases[] = {{4, QString()}, {2, QStringLiteral("/home/老师/斜面 2.png")}, {1, QStringLiteral("/tmp/a.bmp")}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.k);
    const PicturePair pair = Drawn(c.k);
    const RecoveryNote note = Note(c.file);
    const QByteArray bytes = EncodeRecoveryCopy(pair, note);
    const RecoveryRead read = ReadRecoveryCopy(bytes);
    ASSERT_EQ(read.verdict, RecoveryVerdict::Whole) << read.problem.toStdString();
    EXPECT_EQ(read.picture.image, pair.image);
    EXPECT_EQ(read.picture.companion, pair.companion);
    EXPECT_EQ(read.note.fileName, note.fileName);
    EXPECT_EQ(read.note.caption, note.caption);
    EXPECT_EQ(read.note.formatName, note.formatName);
    EXPECT_EQ(read.note.stamp, note.stamp);
    EXPECT_EQ(read.note.enlargedParts, note.enlargedParts);
    EXPECT_EQ(read.note.taken, note.taken);
    EXPECT_EQ(ReadRecoveryNote(bytes).note.caption, note.caption);
    const PictureRead opened = ReadPicture(bytes);
    EXPECT_EQ(opened.image, pair.image);
    EXPECT_EQ(opened.detail, c.k > 1 ? CompanionVerdict::Restored : CompanionVerdict::Absent);
  }
}

// Whatever happened to a copy, it is never taken for the work: a copy damaged anywhere, cut off,
// forged or not a copy at all is Damaged; one of a later version is Newer (kept for it).
TEST(RecoveryCopy, DamageAnywhereIsFoundAndANewerVersionIsKnown) {
  const QByteArray copy = EncodeRecoveryCopy(Drawn(4), Note(QStringLiteral("/tmp/x.png")));
  const QByteArray body = NoteBody(copy);
  QByteArray later = body;
  later[0] = char(kRecoveryCopyVersion + 1);
  QByteArray badJson = body.left(12) + "{\"file\": 3}";
  // A picture beyond the limits, its header's and the guard's checksums made right.
  QByteArray huge = copy;
  const QByteArray ihdr = QByteArray("IHDR") + U32(100000) + U32(100000) + copy.mid(24, 5);
  huge.replace(12, 17, ihdr);
  huge.replace(29, 4, U32(Crc(ihdr)));
  QByteArray guard = body;
  const QByteArray rest = huge.left(33) + huge.mid(33 + 12 + body.size());
  guard.replace(8, 4, U32(Crc(rest)));
  huge = WithNoteBody(huge, guard);
  auto flipped = [&](qsizetype at) {
    QByteArray b = copy;
    b[at] = char(b[at] ^ 0x10);
    return b;
  };
  const struct {
    const char* what;
    QByteArray bytes;
    RecoveryVerdict verdict;
  } cases[] = {
      {"empty", {}, RecoveryVerdict::Damaged},
      {"not a PNG", QByteArray(200, 'x'), RecoveryVerdict::Damaged},
      {"a PNG without a note", EncodePicture(Drawn(1).image, FormatNamed(QStringLiteral("PNG"))), RecoveryVerdict::Damaged},
      {"a byte of the header changed", flipped(20), RecoveryVerdict::Damaged},
      {"a byte of the note changed", flipped(60), RecoveryVerdict::Damaged},
      {"a byte of the picture changed", flipped(copy.size() / 3), RecoveryVerdict::Damaged},
      {"a byte of the companion changed", flipped(copy.size() - 40), RecoveryVerdict::Damaged},
      {"cut inside the note", copy.left(50), RecoveryVerdict::Damaged},
      {"cut before its end chunk", copy.chopped(12), RecoveryVerdict::Damaged},
      {"bytes added", copy + "more", RecoveryVerdict::Damaged},
      {"a forged note", WithNoteBody(copy, badJson), RecoveryVerdict::Damaged},
      {"a picture beyond the limits", huge, RecoveryVerdict::Damaged},
      {"written by a later version", WithNoteBody(copy, later), RecoveryVerdict::Newer},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadRecoveryCopy(c.bytes).verdict, c.verdict) << c.what;
    EXPECT_TRUE(ReadRecoveryCopy(c.bytes).picture.isNull()) << c.what;
  }
  EXPECT_EQ(ReadRecoveryNote(huge).verdict, RecoveryVerdict::Whole) << "the guard holds; the picture is refused";
}

// The folder: $XDG_STATE_HOME/quillmere, or the default when the variable is no absolute path;
// made for the user alone, parents included; refused with a reason where a file is in the way.
TEST(RecoveryFolder, FollowsTheEnvironmentAndIsTheUsersAlone) {
  const Env state("XDG_STATE_HOME"), home("HOME");
  QTemporaryDir dir;
  qputenv("HOME", dir.filePath("home").toLocal8Bit());
  const QString fallback = dir.filePath("home/.local/state/quillmere");
  const struct {
    const char* value;  // null: unset
    QString folder;
  } cases[] = {{nullptr, fallback}, {"", fallback}, {"relative/state", fallback},
               {"/var/tmp/s/", QStringLiteral("/var/tmp/s/quillmere")}};
  for (const auto& c : cases) {
    c.value ? qputenv("XDG_STATE_HOME", c.value) : qunsetenv("XDG_STATE_HOME");
    EXPECT_EQ(RecoveryFolderPath(), c.folder) << (c.value ? c.value : "unset");
  }
  QString reason;
  ASSERT_TRUE(MakeRecoveryFolder(fallback, &reason)) << reason.toStdString();
  for (const QString& made : {fallback, dir.filePath("home/.local/state"), dir.filePath("home/.local")})
    EXPECT_EQ(Mode(made), 0700u) << made.toStdString();
  ASSERT_TRUE(QDir().mkpath(dir.filePath("open")));
  ::chmod(QFile::encodeName(dir.filePath("open")).constData(), 0755);
  EXPECT_TRUE(MakeRecoveryFolder(dir.filePath("open"), &reason));
  EXPECT_EQ(Mode(dir.filePath("open")), 0700u) << "an existing folder of ours is closed to others";
  QFile file(dir.filePath("file"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  EXPECT_FALSE(MakeRecoveryFolder(dir.filePath("file"), &reason));
  EXPECT_TRUE(reason.contains(dir.filePath("file"))) << reason.toStdString();
  EXPECT_FALSE(MakeRecoveryFolder(dir.filePath("file/quillmere"), &reason));
}

// The writer's thread does what it was asked in order, from pictures the caller goes on changing:
// the copy written is the picture as handed over, the copy is 0600 and owned by a live lock while
// it exists, a deletion takes copy and lock, and a writer that ends without deleting leaves the
// copy with no owner (offered at the next start).
TEST(RecoveryWriter, WritesInOrderFromSharedPicturesAndDeletes) {
  QTemporaryDir dir;
  const QString folder = dir.filePath("state/quillmere");
  QStringList failures;
  auto writer = std::make_unique<RecoveryWriter>(folder, [&](const QString& why) { failures << why; });
  PicturePair picture = Drawn(4);
  const PicturePair handed{picture.image.copy(), picture.companion.copy()};
  writer->Write(picture, Note(QString()));
  // The caller draws on at once: its pixels part from the ones handed over.
  picture.image.fill(Qt::black);
  picture.companion.fill(Qt::black);
  writer->Wait();
  QStringList ids = RecoveryIds(folder);
  ASSERT_EQ(ids.size(), 1);
  const QString path = RecoveryCopyPath(folder, ids[0]);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const RecoveryRead read = ReadRecoveryCopy(file.readAll());
  EXPECT_EQ(read.picture.image, handed.image);
  EXPECT_EQ(read.picture.companion, handed.companion);
  EXPECT_EQ(Mode(path), 0600u);
  EXPECT_EQ(Mode(folder + '/' + ids[0] + ".lock"), 0600u);
  EXPECT_EQ(Mode(folder), 0700u);
  EXPECT_EQ(LockRecoveryId(folder, ids[0]), nullptr) << "the writer's lock is live";

  // Written, deleted, written, deleted: nothing is left, and nothing raced.
  for (int i = 0; i < 3; ++i) {
    writer->Write(Drawn(4, i), Note(QString()));
    writer->Delete();
  }
  writer->Wait();
  EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());

  writer->Write(Drawn(2), Note(QString()));
  writer.reset();
  ids = RecoveryIds(folder);
  ASSERT_EQ(ids.size(), 1);
  EXPECT_NE(LockRecoveryId(folder, ids[0]), nullptr) << "a copy left behind is no one's";
  EXPECT_TRUE(failures.isEmpty()) << failures.join('\n').toStdString();

  // A folder that cannot be made: every write says why, and the writer goes on.
  QFile blocker(dir.filePath("blocked"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  RecoveryWriter refused(dir.filePath("blocked/quillmere"), [&](const QString& why) { failures << why; });
  refused.Write(Drawn(2), Note(QString()));
  refused.Write(Drawn(2), Note(QString()));
  refused.Wait();
  ASSERT_FALSE(failures.isEmpty());
  EXPECT_TRUE(failures[0].contains(dir.filePath("blocked"))) << failures[0].toStdString();
}

// Writes the recovery fuzzer's seeds (whole copies, small to keep the fuzzer quick: without a
// companion, at k = 2 with a file and its stamp, at k = 4) into the corpus when QM_WRITE_FUZZ_CORPUS
// names it (fuzz/corpus).
TEST(FuzzCorpus, WritesTheRecoverySeedsWhenAsked) {
  const QString root = qEnvironmentVariable("QM_WRITE_FUZZ_CORPUS");
  if (root.isEmpty()) GTEST_SKIP() << "set QM_WRITE_FUZZ_CORPUS to write the seed copies";
  ASSERT_TRUE(QDir().mkpath(root + "/recovery"));
  const int scales[] = {1, 2, 4};
  for (int i = 0; i < 3; ++i) {
    Canvas canvas(40, 30);
    ASSERT_TRUE(canvas.SetCompanion(std::max(scales[i], 2)));
    canvas.Line(3, 2, 36, 27);
    canvas.CommitCompanion();
    PicturePair pair = canvas.Pair();
    if (scales[i] == 1) pair.companion = QImage();
    RecoveryNote note;
    note.caption = QStringLiteral("※Quillmere※");
    if (scales[i] == 2) {
      note.fileName = QStringLiteral("/home/t/斜面.png");
      note.formatName = QStringLiteral("PNG");
      note.stamp = FileStamp{10, 20, QByteArray(20, 'a')};
    }
    note.taken = QDateTime::fromMSecsSinceEpoch(1700000000000, Qt::UTC);
    const QByteArray copy = EncodeRecoveryCopy(pair, note);
    ASSERT_EQ(ReadRecoveryCopy(copy).verdict, RecoveryVerdict::Whole);
    QFile f(root + QStringLiteral("/recovery/seed%1.png").arg(i));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(copy) == copy.size());
  }
}
