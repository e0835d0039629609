#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "document/PictureFiles.h"
#include "document/PictureTestFiles.h"

using namespace picture_test;

namespace {

quint32 U32At(const QByteArray& b, int at) {
  return quint32(uchar(b[at])) | quint32(uchar(b[at + 1])) << 8 | quint32(uchar(b[at + 2])) << 16 |
         quint32(uchar(b[at + 3])) << 24;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(PictureFiles, BitmapRoundTripIsExactAtOddSizes) {
  for (int w : {1, 2, 3, 4, 5, 7, 64}) {
    for (int h : {1, 2, 7}) {
      const QImage picture = PatternPicture(w, h);
      const QByteArray bytes = EncodeBitmap(picture);
      const PictureRead r = ReadPicture(bytes);
      ASSERT_TRUE(r.ok()) << w << "x" << h << r.error.toStdString();
      EXPECT_EQ(r.image, picture) << w << "x" << h;
      // Qt's reader agrees with what we wrote.
      QImage qt;
      ASSERT_TRUE(qt.loadFromData(bytes, "BMP"));
      EXPECT_EQ(qt.convertToFormat(QImage::Format_RGB32), picture) << w << "x" << h;
    }
  }
}

TEST(PictureFiles, WrittenHeaderFollowsTheFormat) {
  const QByteArray b = EncodeBitmap(PatternPicture(5, 3));
  const int stride = 16;  // 15 bytes padded to 4
  ASSERT_EQ(b.size(), 54 + stride * 3);
  EXPECT_EQ(b.left(2), QByteArray("BM"));
  EXPECT_EQ(U32At(b, 2), quint32(b.size()));
  EXPECT_EQ(U32At(b, 10), 54u);
  EXPECT_EQ(U32At(b, 14), 40u);
  EXPECT_EQ(U32At(b, 18), 5u);
  EXPECT_EQ(U32At(b, 22), 3u);  // positive: bottom-up
  EXPECT_EQ(U32At(b, 26), 1u | 24u << 16);
  EXPECT_EQ(U32At(b, 30), 0u);
  EXPECT_EQ(U32At(b, 34), quint32(stride * 3));
  EXPECT_EQ(U32At(b, 38), 3780u);
  EXPECT_EQ(U32At(b, 42), 3780u);
  // The first stored row is the bottom row; padding bytes are zero.
  const QRgb bottomLeft = PatternPicture(5, 3).pixel(0, 2);
  EXPECT_EQ(uchar(b[54]), qBlue(bottomLeft));
  EXPECT_EQ(uchar(b[55]), qGreen(bottomLeft));
  EXPECT_EQ(uchar(b[56]), qRed(bottomLeft));
  EXPECT_EQ(b[54 + 15], '\0');
}

TEST(PictureFiles, WritesOtherFormatsAsOpaqueRgb) {
  QImage mono(3, 2, QImage::Format_Mono);
  mono.fill(1);
  mono.setPixel(1, 1, 0);
  QImage expected = mono.convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(ReadPicture(EncodeBitmap(mono)).image, expected);
  EXPECT_TRUE(EncodeBitmap(QImage()).isEmpty());
}

TEST(PictureFiles, FileRoundTripAndFileProblemsAreNamed) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("图.bmp");
  QString error;
  const QImage picture = PatternPicture(9, 4);
  ASSERT_TRUE(WriteBitmapFile(path, picture, &error)) << error.toStdString();
  const PictureRead r = ReadPictureFile(path);
  ASSERT_TRUE(r.ok()) << r.error.toStdString();
  EXPECT_EQ(r.image, picture);

  // A name ending in .jpg still holds a bitmap; the kind is decided by content.
  const QString jpgName = dir.filePath("a.jpg");
  ASSERT_TRUE(WriteBitmapFile(jpgName, picture, &error));
  EXPECT_EQ(ReadPictureFile(jpgName).image, picture);

  WriteFile(dir.filePath("empty.bmp"), {});
  WriteFile(dir.filePath("text.bmp"), "hello, this is not a picture");
  QDir(dir.path()).mkdir("folder.bmp");
  const struct {
    QString path;
    const char* message;
  } cases[] = {
      {dir.filePath("missing.bmp"), "找不到文件"},
      {dir.filePath("empty.bmp"), "是空的"},
      {dir.filePath("folder.bmp"), "是文件夹"},
      {dir.filePath("text.bmp"), "不是可以打开的图像文件"},
      {QString(), "找不到文件"},
  };
  for (const auto& c : cases) {
    const PictureRead bad = ReadPictureFile(c.path);
    EXPECT_FALSE(bad.ok());
    EXPECT_TRUE(bad.error.contains(QString::fromUtf8(c.message))) << bad.error.toStdString();
  }
}

TEST(PictureFiles, SaveIntoAPlaceThatCannotHoldAFileFailsClearly) {
  QTemporaryDir dir;
  const QString plainFile = dir.filePath("plain");
  ASSERT_TRUE(WriteFile(plainFile, "x"));
  const QImage picture = PatternPicture(3, 3);
  QString error;
  // The parent "folder" is a regular file: fails for root too.
  EXPECT_FALSE(WriteBitmapFile(plainFile + "/a.bmp", picture, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("不是文件夹"))) << error.toStdString();
  error.clear();
  EXPECT_FALSE(WriteBitmapFile(dir.filePath("no/such/folder/a.bmp"), picture, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("不存在"))) << error.toStdString();
  error.clear();
  EXPECT_FALSE(WriteBitmapFile(dir.path(), picture, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("是文件夹"))) << error.toStdString();
  EXPECT_FALSE(WriteBitmapFile(dir.filePath("n.bmp"), QImage(), &error));
  EXPECT_EQ(ReadAll(plainFile), QByteArray("x"));
  EXPECT_FALSE(QFile::exists(dir.filePath("n.bmp")));
}

TEST(PictureFiles, SaveIntoAReadOnlyFolderFailsClearly) {
  QTemporaryDir dir;
  const QImage picture = PatternPicture(3, 3);
  QString error;
  // A read-only folder, where the user running the tests is not allowed to bypass it.
  QDir(dir.path()).mkdir("locked");
  const QString locked = dir.filePath("locked");
  QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
  error.clear();
  if (WriteBitmapFile(locked + "/a.bmp", picture, &error)) {
    QFile::remove(locked + "/a.bmp");
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    GTEST_SKIP() << "running as a user who ignores folder permissions (root)";
  }
  EXPECT_TRUE(error.contains(QStringLiteral("没有写入权限"))) << error.toStdString();
  QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(PictureFiles, FailedSaveLeavesTheOldFileIntact) {
  QTemporaryDir dir;
  const QString path = dir.filePath("old.bmp");
  const QByteArray old = EncodeBitmap(PatternPicture(4, 4));
  ASSERT_TRUE(WriteFile(path, old));
  // The system refuses to let this process write files beyond 4 KB, so writing a large picture
  // fails part-way, for root as well.
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  QString error;
  const bool saved_ok = WriteBitmapFile(path, PatternPicture(200, 200), &error);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(saved_ok);
  EXPECT_TRUE(error.contains(QStringLiteral("原来的文件没有改变"))) << error.toStdString();
  EXPECT_EQ(ReadAll(path), old);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.bmp"});  // no leftovers
}

// Only regular files are read or written. A device, a pipe, a folder or a file too large to hold a
// picture the program can open is refused at once with a message, through the file layer and
// through the picture tool; nothing waits for a pipe's other end, nothing reads a device for ever.
TEST(PictureFiles, OnlyRegularFilesAreReadOrWrittenAndNothingWaits) {
  QTemporaryDir dir;
  const QString fifo = dir.filePath("pipe.bmp");
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.bmp"));
  const QString huge = dir.filePath("huge.bmp");  // sparse: takes no disk space
  {
    QFile f(huge);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(EncodeBitmap(PatternPicture(4, 4)));
    ASSERT_TRUE(f.resize(kMaxPictureFileBytes + 1));
  }
  // Should the code under test wait at the pipe after all, opening its other end releases it, so
  // that this test fails instead of hanging; a write into the released pipe then fails quietly.
  const auto releasePipe = [&] {
    const int fd = ::open(QFile::encodeName(fifo).constData(), O_RDWR | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
  };
  auto oldPipeHandler = signal(SIGPIPE, SIG_IGN);
  const auto within5s = [&](auto work) {
    auto result = std::async(std::launch::async, work);
    const bool quick = result.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!quick) releasePipe();
    return std::make_pair(quick, result.get());
  };
  const QString ppm = dir.filePath("out.ppm");
  const struct {
    QString path;
    const char* message;
  } reads[] = {
      {"/dev/zero", "是设备"},
      {fifo, "是管道"},
      {dir.filePath("folder.bmp"), "是文件夹"},
      {huge, "过大"},
  };
  for (const auto& c : reads) {
    const auto [quick, read] = within5s([&] { return ReadPictureFile(c.path); });
    EXPECT_TRUE(quick) << c.path.toStdString() << " is read for more than 5 s";
    EXPECT_FALSE(read.ok()) << c.path.toStdString();
    EXPECT_TRUE(read.error.contains(QString::fromUtf8(c.message))) << read.error.toStdString();
    for (const char* command : {"decode", "encode"}) {
      QProcess tool;
      tool.start(QStringLiteral(QM_TOOL_PICTURE), {command, c.path, ppm});
      const bool finished = tool.waitForFinished(10000);
      if (!finished) {
        releasePipe();
        tool.kill();
        tool.waitForFinished();
      }
      EXPECT_TRUE(finished) << command << " " << c.path.toStdString() << " runs for more than 10 s";
      EXPECT_EQ(tool.exitCode(), 1) << command << " " << c.path.toStdString();
      const QString said = QString::fromLocal8Bit(tool.readAllStandardError());
      EXPECT_TRUE(said.contains(QString::fromUtf8(c.message))) << command << ": " << said.toStdString();
    }
    EXPECT_FALSE(QFile::exists(ppm));
  }
  for (const QString& target : {fifo, QStringLiteral("/dev/null")}) {
    const auto [quick, written] = within5s([&] {
      QString error;
      const bool ok = WriteBitmapFile(target, PatternPicture(3, 3), &error);
      return std::make_pair(ok, error);
    });
    EXPECT_TRUE(quick) << "saving onto " << target.toStdString() << " waits";
    EXPECT_FALSE(written.first) << target.toStdString();
    EXPECT_TRUE(written.second.contains(QStringLiteral("不能保存为图像文件"))) << written.second.toStdString();
  }
  signal(SIGPIPE, oldPipeHandler);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
            (QStringList{"folder.bmp", "huge.bmp", "pipe.bmp"}));  // no leftovers
}

// The picture tool's exit codes: 0 done, 1 the reader's message, 2 usage.
TEST(PictureTool, DecodesEncodesAndReportsFailures) {
  QTemporaryDir dir;
  const QString bmp = dir.filePath("in.bmp");
  const QImage picture = PatternPicture(5, 2);
  ASSERT_TRUE(WriteFile(bmp, EncodeBitmap(picture)));
  ASSERT_TRUE(WriteFile(dir.filePath("bad.bmp"), "BM garbage"));
  auto run = [](const QStringList& args, QByteArray* err = nullptr) {
    QProcess p;
    p.start(QStringLiteral(QM_TOOL_PICTURE), args);
    p.waitForFinished(60000);
    if (err) *err = p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  };
  const QString ppm = dir.filePath("out.ppm");
  ASSERT_EQ(run({"decode", bmp, ppm}), 0);
  const QByteArray ppmBytes = ReadAll(ppm);
  ASSERT_TRUE(ppmBytes.startsWith("P6\n5 2\n255\n"));
  ASSERT_EQ(ppmBytes.size(), 11 + 5 * 2 * 3);
  EXPECT_EQ(uchar(ppmBytes[11]), qRed(picture.pixel(0, 0)));
  EXPECT_EQ(uchar(ppmBytes[13]), qBlue(picture.pixel(0, 0)));

  const QString back = dir.filePath("back.bmp");
  ASSERT_EQ(run({"encode", ppm, back}), 0);
  EXPECT_EQ(ReadPictureFile(back).image, picture);

  QByteArray err;
  EXPECT_EQ(run({"decode", dir.filePath("bad.bmp"), ppm}, &err), 1);
  EXPECT_TRUE(QString::fromLocal8Bit(err).contains(QStringLiteral("位图文件已损坏"))) << err.toStdString();
  EXPECT_EQ(run({"decode", dir.filePath("missing.bmp"), ppm}), 1);
  EXPECT_EQ(run({"encode", bmp, back}), 1);  // not a PPM
  EXPECT_EQ(run({}), 2);
  EXPECT_EQ(run({"decode", bmp}), 2);
  EXPECT_EQ(run({"resize", bmp, ppm}), 2);
}

}  // namespace
