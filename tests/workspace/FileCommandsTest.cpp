// New, open, save, exit and closing the window, with the questions answered by a scripted seam.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>

#include "document/PictureFiles.h"
#include "document/PictureFormats.h"
#include "support/WindowDriver.h"

namespace {
const QString kQuestion = QStringLiteral("是否保存改变|图像已经改变，是否保存图像？");

void DrawSomething(WindowDriver& d) {
  d.ClickTool(7);
  d.Drag({40, 30}, {120, 90});
}
}  // namespace

TEST(FileCommands, NewOnAnUnchangedPictureDoesNothing) {
  WindowDriver d;
  d.Trigger("Menu_File_New");
  EXPECT_TRUE(d.dialogs.asked.isEmpty());
  EXPECT_EQ(d.w().windowTitle(), QStringLiteral("※Quillmere※"));
}

TEST(FileCommands, NewAnsweredNoClearsThePicture) {
  WindowDriver d;
  DrawSomething(d);
  d.dialogs.answers = {QMessageBox::No};
  d.Trigger("Menu_File_New");
  EXPECT_EQ(d.dialogs.asked, QStringList{kQuestion});
  EXPECT_EQ(d.Pixel(40, 30), kWhite);
  EXPECT_FALSE(d.State().ImageChanged);
  EXPECT_EQ(d.w().windowTitle(), QStringLiteral("※Quillmere※～～新建图像"));
  EXPECT_EQ(d.Picture().Size(), QSize(600, 220));
}

TEST(FileCommands, NewAnsweredYesSavesAndKeepsThePicture) {
  WindowDriver d;
  QTemporaryDir dir;
  DrawSomething(d);
  const QString name = dir.filePath("图1.bmp");
  d.dialogs.answers = {QMessageBox::Yes};
  d.dialogs.saveNames = {name};
  d.Trigger("Menu_File_New");
  EXPECT_EQ(d.Pixel(40, 30), kBlack);
  PictureRead back = ReadPictureFile(name);
  ASSERT_TRUE(back.ok()) << back.error.toStdString();
  EXPECT_EQ(back.image, d.Image().convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(d.w().windowTitle(), QStringLiteral("※Quillmere※～～") + name);
  // The save dialog offers the formats written, the one that keeps the picture's detail first.
  EXPECT_EQ(d.dialogs.dialogs[0], QStringLiteral("“Quillmere”图像保存为：||") + SaveDialogFilter(&FormatNamed("PNG")));
}

TEST(FileCommands, SavingWritesWhatTheNameSays) {
  QTemporaryDir dir;
  const QString bmp = QStringLiteral("位图文件 (*.bmp)"), png = QStringLiteral("PNG 图像 (*.png)");
  struct Case {
    const char* typed;
    QString filter;
    const char* written;  // the file written, in the folder
    QByteArray magic;     // its first bytes
  };
  const Case cases[] = {
      {"figure.png", bmp, "figure.png", "\x89PNG"}, {"figure.BMP", png, "figure.BMP", "BM"},
      {"incline", bmp, "incline.bmp", "BM"},        {"incline", png, "incline.png", "\x89PNG"},
      {"lens.v2", png, "lens.v2.png", "\x89PNG"},
  };
  for (const Case& c : cases) {
    WindowDriver d;
    DrawSomething(d);
    d.dialogs.saveNames = {dir.filePath(c.typed)};
    d.dialogs.saveFilters = {c.filter};
    d.Trigger("Menu_File_Save");
    QFile f(dir.filePath(c.written));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << c.written;
    EXPECT_EQ(f.read(c.magic.size()), c.magic) << c.written;
    EXPECT_FALSE(d.State().ImageChanged) << c.written;
    EXPECT_EQ(d.w().windowTitle(), QStringLiteral("※Quillmere※～～") + dir.filePath(c.written));
    PictureRead back = ReadPictureFile(dir.filePath(c.written));
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.image, d.Image()) << c.written;
  }
  // A JPEG name is refused and the dialog shows again; a cancelled dialog then saves nothing.
  WindowDriver d;
  DrawSomething(d);
  d.dialogs.saveNames = {dir.filePath("photo.JPG")};
  d.Trigger("Menu_File_Save");
  EXPECT_EQ(d.dialogs.told, QStringList{"保存图像|JPEG 图像只能打开，不能保存。请改用 .png 或 .bmp。"});
  EXPECT_EQ(d.dialogs.dialogs.size(), 2);
  EXPECT_FALSE(QFile::exists(dir.filePath("photo.JPG")));
  EXPECT_TRUE(d.State().ImageChanged) << "a cancelled save leaves the work unsaved";
}

TEST(FileCommands, ReplacingAFileAsksAboutTheFinalName) {
  QTemporaryDir dir;
  const QString existing = dir.filePath("incline.png");
  QFile f(existing);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("old");
  f.close();
  const QString question = QStringLiteral("保存图像|文件“incline.png”已经存在。是否替换？");
  WindowDriver d;
  DrawSomething(d);
  // "incline" with the PNG filter names the existing file: 否 and a dismissal show the dialog
  // again, 是 replaces it.
  d.dialogs.saveNames = {dir.filePath("incline"), dir.filePath("incline"), dir.filePath("incline")};
  d.dialogs.saveFilters = {"PNG 图像 (*.png)", "PNG 图像 (*.png)", "PNG 图像 (*.png)"};
  d.dialogs.answers = {QMessageBox::No, QMessageBox::Cancel, QMessageBox::Yes};
  d.Trigger("Menu_File_Save");
  EXPECT_EQ(d.dialogs.asked, (QStringList{question, question, question}));
  EXPECT_EQ(d.dialogs.dialogs.size(), 3);
  EXPECT_TRUE(ReadPictureFile(existing).ok());
  EXPECT_FALSE(d.State().ImageChanged);
}

TEST(FileCommands, AFileChangedByAnotherProgramIsNotSilentlyOverwritten) {
  QTemporaryDir dir;
  const QString path = dir.filePath("shared.bmp");
  const QString changed = QStringLiteral("保存图像|文件“shared.bmp”已被其他程序修改。是否仍要覆盖？");
  WindowDriver d;
  DrawSomething(d);
  d.dialogs.saveNames = {path};
  d.Trigger("Menu_File_Save");
  ASSERT_TRUE(d.dialogs.asked.isEmpty());
  // Unchanged on disk: saving over it again asks the usual question.
  DrawSomething(d);
  d.dialogs.saveNames = {path};
  d.dialogs.answers = {QMessageBox::Yes};
  d.Trigger("Menu_File_Save");
  EXPECT_EQ(d.dialogs.asked.last(), QStringLiteral("保存图像|文件“shared.bmp”已经存在。是否替换？"));
  // Someone else writes it (same size, other bytes): 否 and a dismissal cancel the save.
  QImage other(600, 220, QImage::Format_RGB32);
  other.fill(qRgb(1, 2, 3));
  QString error;
  ASSERT_TRUE(WriteBitmapFile(path, other, &error));
  d.ClickTool(7);
  d.Drag({300, 30}, {320, 90});
  for (auto answer : {QMessageBox::No, QMessageBox::Cancel}) {
    d.dialogs.saveNames = {path};
    d.dialogs.answers = {answer};
    d.Trigger("Menu_File_Save");
    EXPECT_EQ(d.dialogs.asked.last(), changed);
    EXPECT_EQ(ReadPictureFile(path).image, other) << "the other program's picture stays";
    EXPECT_TRUE(d.State().ImageChanged);
  }
  d.dialogs.saveNames = {path};
  d.dialogs.answers = {QMessageBox::Yes};
  d.Trigger("Menu_File_Save");
  EXPECT_EQ(ReadPictureFile(path).image, d.Image());
  // A file this window never opened or saved gets only the overwrite question.
  WindowDriver fresh;
  DrawSomething(fresh);
  fresh.dialogs.saveNames = {path};
  fresh.dialogs.answers = {QMessageBox::No};
  fresh.Trigger("Menu_File_Save");
  EXPECT_EQ(fresh.dialogs.asked, QStringList{"保存图像|文件“shared.bmp”已经存在。是否替换？"});
}

TEST(FileCommands, APartlyReadJpegSaysSoAndCountsAsChanged) {
  QTemporaryDir dir;
  // A photo-like picture, so that most of the file is scan data.
  QImage photo(256, 192, QImage::Format_RGB32);
  for (int y = 0; y < photo.height(); ++y)
    for (int x = 0; x < photo.width(); ++x) photo.setPixel(x, y, qRgb((x * 7 + y * 13) % 256, (x * y) % 256, (x ^ y) & 255));
  const QString whole = dir.filePath("whole.jpg"), cut = dir.filePath("cut.jpg");
  ASSERT_TRUE(photo.save(whole, "JPG", 90));
  QFile in(whole);
  ASSERT_TRUE(in.open(QIODevice::ReadOnly));
  QByteArray bytes = in.readAll();
  QFile out(cut);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(bytes.left(bytes.size() * 2 / 3));
  out.close();
  WindowDriver d;
  d.dialogs.openNames = {cut};
  d.Trigger("Menu_File_Open");
  EXPECT_EQ(d.dialogs.told, QStringList{"打开|图像文件不完整，只显示了能读出的部分。"});
  EXPECT_TRUE(d.State().ImageChanged);
  EXPECT_EQ(d.Picture().Size(), QSize(256, 192));
}

TEST(FileCommands, OpenShowsThePictureAtItsSize) {
  WindowDriver d;
  QTemporaryDir dir;
  QImage big(800, 300, QImage::Format_RGB32);
  big.fill(qRgb(0, 0, 255));
  big.setPixel(799, 299, qRgb(255, 0, 0));
  const QString name = dir.filePath("big.bmp");
  QString error;
  ASSERT_TRUE(WriteBitmapFile(name, big, &error)) << error.toStdString();
  d.dialogs.openNames = {name};
  d.Trigger("Menu_File_Open");
  EXPECT_TRUE(d.dialogs.asked.isEmpty()) << "an unchanged picture is not asked about";
  EXPECT_EQ(d.dialogs.dialogs[0], QStringLiteral("打开||") + OpenDialogFilter());
  EXPECT_EQ(d.Picture().Size(), QSize(800, 300));
  EXPECT_EQ(d.Pixel(799, 299), 0xffff0000u);
  EXPECT_FALSE(d.State().ImageChanged) << "the picture equals its file";
  EXPECT_TRUE(d.w().windowTitle().endsWith("big.bmp"));
}

TEST(FileCommands, UnreadableFileChangesNothing) {
  // A picture nobody changed, so that opening asks nothing first.
  WindowDriver d;
  QTemporaryDir dir;
  const QImage before = d.Image();
  const QString title = d.w().windowTitle();
  QFile f(dir.filePath("broken.bmp"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("BM this is not a picture");
  f.close();
  // A device, a pipe and a folder are refused at once, without waiting for anything.
  const QString pipe = dir.filePath("pipe.bmp");
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  const QStringList names = {dir.filePath("broken.bmp"), dir.filePath("missing.jpg"), "/dev/zero", pipe,
                             dir.path()};
  for (const QString& name : names) {
    d.dialogs.openNames = {name};
    d.Trigger("Menu_File_Open");
    EXPECT_EQ(d.Image(), before);
    EXPECT_EQ(d.w().windowTitle(), title);
    EXPECT_FALSE(d.State().ImageChanged);
  }
  EXPECT_EQ(d.dialogs.told.size(), names.size());
}

TEST(FileCommands, FailedSaveSaysSoAndChangesNothing) {
  WindowDriver d;
  QTemporaryDir dir;
  QFile blocker(dir.filePath("file"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const QString title = d.w().windowTitle();
  d.dialogs.saveNames = {dir.filePath("file/inside.bmp")};
  d.Trigger("Menu_File_Save");
  EXPECT_EQ(d.dialogs.told.size(), 1);
  EXPECT_EQ(d.w().windowTitle(), title);
}

TEST(FileCommands, ClosingAsksAndOnlyClosesWhenTheWorkIsSafe) {
  QTemporaryDir dir;
  {  // Yes, then the save dialog is cancelled: the window stays open with the picture.
    WindowDriver d;
    DrawSomething(d);
    d.dialogs.answers = {QMessageBox::Yes};
    EXPECT_FALSE(d.w().close());
    EXPECT_TRUE(d.w().isVisible());
    EXPECT_EQ(d.Pixel(40, 30), kBlack);
  }
  {  // Cancel keeps it open; No closes without saving.
    WindowDriver d;
    DrawSomething(d);
    d.dialogs.answers = {QMessageBox::Cancel};
    EXPECT_FALSE(d.w().close());
    d.dialogs.answers = {QMessageBox::No};
    EXPECT_TRUE(d.w().close());
    EXPECT_EQ(d.dialogs.asked.size(), 2);
  }
  {  // Yes and a real save closes; Exit asks the same question.
    WindowDriver d;
    DrawSomething(d);
    d.dialogs.answers = {QMessageBox::Yes};
    d.dialogs.saveNames = {dir.filePath("closing.bmp")};
    d.Trigger("Menu_File_Exit");
    EXPECT_FALSE(d.w().isVisible());
    EXPECT_EQ(d.dialogs.asked, QStringList{kQuestion});
    EXPECT_TRUE(QFile::exists(dir.filePath("closing.bmp")));
  }
}
