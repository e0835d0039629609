#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QProcess>
#include <QTest>
#include <QTemporaryDir>
#include <functional>
#include <utime.h>

#include "document/FileStamp.h"
#include "document/PictureFiles.h"
#include "document/PictureFormats.h"
#include "document/PictureTestFiles.h"
#include "document/PngTestFiles.h"
#include "document/TiffTestFiles.h"
#include "support/JpegWriter.h"

using namespace picture_test;

namespace {

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A w × h file of each format, white but for a dark last pixel.
struct Maker {
  const char* format;
  std::function<QByteArray(int, int)> make;
  bool exact;  // whether the last pixel comes back exactly
};

std::vector<Maker> Makers() {
  auto value = [](int w, int h) { return [w, h](int x, int y) { return x == w - 1 && y == h - 1 ? 0x203040u : 0xFFFFFFu; }; };
  return {
      {"BMP",
       [=](int w, int h) {
         BmpLayout s;
         s.width = w;
         s.height = h;
         s.pixels = PackRows(w, h, 24, value(w, h));
         return BuildBmp(s);
       },
       true},
      {"JPEG",
       [=](int w, int h) {
         JpegRecipe r;
         r.width = w;
         r.height = h;
         r.pixel = [=](int x, int y, uchar* p) {
           const quint32 v = value(w, h)(x, y);
           p[0] = uchar(v >> 16), p[1] = uchar(v >> 8), p[2] = uchar(v);
         };
         return MakeJpeg(r);
       },
       false},
      {"PNG",
       [=](int w, int h) {
         PngLayout s;
         s.width = w;
         s.height = h;
         s.sample = [=](int x, int y, int c) { return (value(w, h)(x, y) >> (16 - 8 * c)) & 255; };
         return MakePng(s);
       },
       true},
      {"TIFF",
       [=](int w, int h) {
         TiffPage p;
         p.width = w;
         p.height = h;
         p.sample = [=](int x, int y, int c) { return (value(w, h)(x, y) >> (16 - 8 * c)) & 255; };
         return MakeTiff({p});
       },
       true},
  };
}

// Every reader takes a picture exactly 16384 pixels wide or high and refuses one pixel more.
TEST(PictureFormats, EveryReaderTakesSixteenThousandThreeHundredEightyFourPixelsAndNoMore) {
  for (const Maker& m : Makers()) {
    for (const QSize size : {QSize(16384, 1), QSize(1, 16384), QSize(16385, 1), QSize(1, 16385)}) {
      const QByteArray file = m.make(size.width(), size.height());
      const PictureRead r = ReadPicture(file);
      const bool fits = size.width() <= 16384 && size.height() <= 16384;
      const std::string what = std::string(m.format) + " " + std::to_string(size.width()) + "x" + std::to_string(size.height());
      if (!fits) {
        EXPECT_FALSE(r.ok()) << what;
        EXPECT_EQ(r.error, QStringLiteral("图像尺寸过大（超过 16384 像素）")) << what;
        continue;
      }
      ASSERT_TRUE(r.ok()) << what << ": " << r.error.toStdString();
      EXPECT_EQ(r.image.size(), size) << what;
      const QRgb last = r.image.pixel(size.width() - 1, size.height() - 1);
      if (m.exact) EXPECT_EQ(last, 0xFF203040u) << what;
      else EXPECT_LT(qGray(last), 128) << what;
    }
  }
}

// The name rule of saving, checked on the files written: their first bytes say the format.
TEST(PictureFormats, SavedNameAndFormatFollowTheTypedNameThenTheChosenFilter) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.v1"));
  const QString bmp = QStringLiteral("位图文件 (*.bmp)");
  const QString png = QStringLiteral("PNG 图像 (*.png)");
  const struct {
    const char* typed;
    QString filter;
    const char* saved;
    const char* format;
  } cases[] = {
      {"incline", bmp, "incline.bmp", "BMP"},
      {"incline", png, "incline.png", "PNG"},
      {"a.v2", png, "a.v2.png", "PNG"},
      {"figure.png", bmp, "figure.png", "PNG"},
      {"figure2.PNG", bmp, "figure2.PNG", "PNG"},
      {"photo.BMP", png, "photo.BMP", "BMP"},
      {"dot.", png, "dot.png", "PNG"},
      {"folder.v1/pic", png, "folder.v1/pic.png", "PNG"},
      {"unknown", QString(), "unknown.bmp", "BMP"},
      {"all", OpenDialogFilter().split(";;").first(), "all.bmp", "BMP"},
  };
  const QImage picture = PatternPicture(7, 3);
  for (const auto& c : cases) {
    const SaveTarget target = ResolveSaveName(dir.filePath(c.typed), c.filter);
    ASSERT_TRUE(target.ok()) << c.typed << ": " << target.refusal.toStdString();
    EXPECT_EQ(target.path, dir.filePath(c.saved)) << c.typed;
    EXPECT_EQ(target.format->name, QString::fromLatin1(c.format)) << c.typed;
    QString error;
    ASSERT_TRUE(WritePictureFile(target.path, picture, *target.format, &error)) << error.toStdString();
    const QByteArray bytes = ReadAll(dir.filePath(c.saved));
    EXPECT_TRUE(QString::fromLatin1(c.format) == "BMP" ? bytes.startsWith("BM") : bytes.startsWith(PngSignature()))
        << c.typed;
    EXPECT_EQ(ReadPictureFile(target.path).image, picture) << c.typed;
  }
  // A name with the suffix of a format that is only read is refused, whatever the case.
  for (const PictureFormat& f : PictureFormats()) {
    if (f.CanWrite()) continue;
    EXPECT_FALSE(f.readOnlyRefusal.isEmpty()) << f.name.toStdString();
    for (const QString& suffix : f.suffixes)
      for (const QString& typed : {"photo." + suffix, "photo." + suffix.toUpper()}) {
        const SaveTarget target = ResolveSaveName(dir.filePath(typed), png);
        EXPECT_FALSE(target.ok()) << typed.toStdString();
        EXPECT_EQ(target.refusal, f.readOnlyRefusal) << typed.toStdString();
      }
  }
  const QString jpegRefusal = FormatNamed("JPEG").readOnlyRefusal;
  EXPECT_EQ(jpegRefusal, QStringLiteral("JPEG 图像只能打开，不能保存。请改用 .png 或 .bmp。"));
  for (const QString& typed : {QString(), dir.path() + "/"}) {
    const SaveTarget target = ResolveSaveName(typed, png);
    EXPECT_FALSE(target.ok()) << typed.toStdString();
    EXPECT_FALSE(target.refusal.isEmpty());
  }
  // Writing JPEG is refused, not attempted.
  QString error;
  EXPECT_FALSE(WritePictureFile(dir.filePath("x.jpg"), picture, *FormatOfFileName("x.jpg"), &error));
  EXPECT_EQ(error, jpegRefusal);
  EXPECT_FALSE(QFile::exists(dir.filePath("x.jpg")));
}

// The dialogs' filters follow the table: the open dialog's first filter has every suffix of every
// format, then each format's own in table order; the save dialog's only the formats written. Qt's
// own file dialog (the one the program uses) shows with the open filter every picture whatever the
// case of its suffix, and nothing else.
TEST(PictureFormats, OpenFilterShowsEveryPictureWhateverTheCaseOfItsSuffix) {
  QStringList every, own, written;
  for (const PictureFormat& f : PictureFormats()) {
    QStringList patterns;
    for (const QString& suffix : f.suffixes) patterns << "*." + suffix;
    every << patterns;
    own << f.description + " (" + patterns.join(' ') + ")";
    if (f.CanWrite()) written << own.last();
    EXPECT_EQ(FormatOfFilter(own.last()), &f);
  }
  EXPECT_EQ(OpenDialogFilter(), (QStringList{QStringLiteral("所有图像 (") + every.join(' ') + ")"} + own).join(";;"));
  EXPECT_EQ(SaveDialogFilter(), written.join(";;"));
  EXPECT_EQ(SaveDialogFilter(&FormatNamed("PNG")).split(";;").first(), FormatNamed("PNG").Filter());
  EXPECT_EQ(JoinedNames({"BMP", "JPEG", "PNG"}, QStringLiteral("和")), QStringLiteral("BMP、JPEG 和 PNG"));
  EXPECT_EQ(JoinedNames({"BMP", "PNG"}, QStringLiteral("或")), QStringLiteral("BMP 或 PNG"));

  QTemporaryDir dir;
  QStringList pictures;
  for (const PictureFormat& f : PictureFormats())
    for (const QString& suffix : f.suffixes) pictures << "a." + suffix << "B." + suffix.toUpper();
  pictures << "camera.JPG" << "b.Jpeg";
  for (const QString& name : pictures + QStringList{"notes.txt", "jpg"}) ASSERT_TRUE(WriteFile(dir.filePath(name), "x"));
  QFileDialog dialog(nullptr, QStringLiteral("打开"), dir.path(), OpenDialogFilter());
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  auto* model = dialog.findChild<QFileSystemModel*>();
  ASSERT_NE(model, nullptr);
  dialog.show();
  QStringList expected = pictures;
  expected.sort();
  QStringList shown;
  // The dialog lists the folder in a thread of its own.
  const bool listed = QTest::qWaitFor([&] {
    const QModelIndex root = model->index(dir.path());
    shown.clear();
    for (int i = 0; i < model->rowCount(root); ++i) shown << model->fileName(model->index(i, 0, root));
    shown.sort();
    return shown == expected;
  }, 10000);
  EXPECT_TRUE(listed);
  EXPECT_EQ(shown.join(' ').toStdString(), expected.join(' ').toStdString());
}

// A stamp changes with the size, the modification time or the content.
TEST(FileStamp, ChangesWithSizeTimeOrContent) {
  QTemporaryDir dir;
  const QString path = dir.filePath("a.png");
  ASSERT_TRUE(WriteFile(path, "first"));
  const auto setTime = [&](long seconds) {
    const struct utimbuf times{seconds, seconds};
    return ::utime(QFile::encodeName(path).constData(), &times) == 0;
  };
  ASSERT_TRUE(setTime(1000000000));
  const std::optional<FileStamp> original = StampOfFile(path);
  ASSERT_TRUE(original.has_value());
  EXPECT_EQ(original->size, 5);
  EXPECT_EQ(StampOfFile(path), original);
  ASSERT_TRUE(WriteFile(path, "other") && setTime(1000000000));  // same size and time
  EXPECT_NE(StampOfFile(path), original);
  ASSERT_TRUE(WriteFile(path, "first") && setTime(1000000001));
  EXPECT_NE(StampOfFile(path), original);
  ASSERT_TRUE(WriteFile(path, "first!") && setTime(1000000000));
  EXPECT_NE(StampOfFile(path), original);
  ASSERT_TRUE(WriteFile(path, "first") && setTime(1000000000));
  EXPECT_EQ(StampOfFile(path), original);
  EXPECT_FALSE(StampOfFile(dir.filePath("missing.png")).has_value());
  EXPECT_FALSE(StampOfFile(dir.path()).has_value());
}

// The picture tool reads any format and writes what its output name says.
TEST(PictureTool, WritesTheFormatItsOutputNameSays) {
  QTemporaryDir dir;
  const QImage picture = PatternPicture(6, 4);
  ASSERT_TRUE(WriteFile(dir.filePath("in.png"), EncodePicture(picture, *FormatOfFileName("in.png"))));
  auto run = [](const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(QM_TOOL_PICTURE), args);
    p.waitForFinished(60000);
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  };
  ASSERT_EQ(run({"decode", dir.filePath("in.png"), dir.filePath("out.bmp")}), 0);
  EXPECT_TRUE(ReadAll(dir.filePath("out.bmp")).startsWith("BM"));
  ASSERT_EQ(run({"decode", dir.filePath("out.bmp"), dir.filePath("again.PNG")}), 0);
  EXPECT_TRUE(ReadAll(dir.filePath("again.PNG")).startsWith(PngSignature()));
  EXPECT_EQ(ReadPictureFile(dir.filePath("again.PNG")).image, picture);
  EXPECT_EQ(run({"decode", dir.filePath("in.png"), dir.filePath("out.jpg")}), 1);
  EXPECT_EQ(run({"decode", dir.filePath("in.png"), dir.filePath("out.gif")}), 1);
  EXPECT_FALSE(QFile::exists(dir.filePath("out.jpg")));
  EXPECT_FALSE(QFile::exists(dir.filePath("out.gif")));
}

}  // namespace
