// New, open, save, exit and closing the window, with the questions answered by a scripted seam.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>

#include "document/PictureFiles.h"
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
  EXPECT_EQ(d.dialogs.dialogs[0], QStringLiteral("“Quillmere”图像保存为：||位图文件 (*.bmp)"));
}

TEST(FileCommands, SaveWritesABitmapWhateverTheNameAndCancelChangesNothing) {
  WindowDriver d;
  QTemporaryDir dir;
  for (const char* n : {"a.jpg", "noext"}) {
    const QString name = dir.filePath(n);
    d.dialogs.saveNames = {name};
    d.Trigger("Menu_File_Save");
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << n;
    EXPECT_EQ(f.read(2), QByteArray("BM")) << n;
  }
  EXPECT_FALSE(d.State().ImageChanged);
  d.Trigger("Menu_File_Save");  // cancelled
  EXPECT_FALSE(d.State().ImageChanged);
  // The dialog remembers the last name for the next one.
  EXPECT_TRUE(d.dialogs.dialogs[1].contains(dir.filePath("a.jpg")));
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
  EXPECT_EQ(d.dialogs.dialogs[0], QStringLiteral("打开||位图文件 (*.bmp);;Jpeg图像(*.jpg)"));
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
