// The picture's print detail in its file, through the real window: saved as PNG and opened again,
// 导出高清图像, 复制高清图 and 打印 give what they gave before; the export and print dialogs say when
// part of the picture came from outside without detail; a bitmap save asks before the detail is
// lost; the save dialog starts with the picture's own format.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <functional>

#include "document/CompanionChunk.h"
#include "document/PictureFiles.h"
#include "document/PictureFormats.h"
#include "document/PngFormat.h"
#include "figures/CompanionFaithfulness.h"
#include "support/WindowDriver.h"

namespace {

const QString kEnlarged = QStringLiteral("图像中有来自其他程序或位图文件的部分，这些部分按放大的图像输出。");
const QString kBitmapQuestion =
    QStringLiteral("保存图像|位图文件不能保存高清细节。要保留，请存为 PNG。|继续保存/改存 PNG/取消");

// A slanted line and a circle: figures the companion holds at k times the detail.
void DrawDetail(WindowDriver& d) {
  d.ClickTool(6);
  d.Drag({20, 15}, {260, 190});
  d.ClickTool(10);
  d.Drag({400, 110}, {460, 150});
}

QByteArray FileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What leaves the window for paper: the exported file's bytes, the HD copy's PNG and the printed
// page rendered from its PDF.
struct Paper {
  QByteArray exported, copied;
  QImage page;
};

Paper ToPaper(WindowDriver& d, const QTemporaryDir& dir, const QString& tag) {
  Paper out;
  const QString exported = dir.filePath(tag + "-hd.png"), pdf = dir.filePath(tag + ".pdf");
  d.dialogs.exports = {true};
  d.dialogs.saveNames = {exported};
  d.Trigger("Menu_File_Export");
  out.exported = FileBytes(exported);
  d.Trigger("Menu_Edit_CopyHd");
  out.copied = QGuiApplication::clipboard()->mimeData()->data("image/png");
  d.dialogs.printPdf = pdf;
  d.Trigger("Menu_File_Print");
  d.dialogs.printPdf.clear();
  QProcess render;
  render.start(QStandardPaths::findExecutable("pdftoppm"), {"-r", "150", "-png", "-singlefile", pdf, dir.filePath(tag)});
  if (render.waitForFinished(60000) && render.exitCode() == 0) out.page = QImage(dir.filePath(tag + ".png"));
  return out;
}

}  // namespace

TEST(DetailInFile, SavedAsPngAndOpenedAgainThePictureGoesToPaperAsBefore) {
  ASSERT_FALSE(QStandardPaths::findExecutable("pdftoppm").isEmpty()) << "needs pdftoppm (poppler-utils)";
  // A new picture at 4 x, and one resized through a size that allows only 2 x and back: it keeps 2.
  for (const bool resized : {false, true}) {
    QTemporaryDir dir;
    const QString file = dir.filePath("incline.png");
    Paper before;
    QImage companion;
    int k = 0;
    {
      WindowDriver d;
      if (resized) {
        d.ResizePicture(2000, 1000);
        d.ResizePicture(600, 220);
      }
      DrawDetail(d);
      k = d.Picture().k();
      ASSERT_EQ(k, resized ? 2 : 4);
      companion = d.Picture().Companion();
      before = ToPaper(d, dir, "before");
      d.dialogs.saveNames = {file};
      d.Trigger("Menu_File_Save");
      ASSERT_FALSE(d.State().ImageChanged);
    }
    WindowDriver d;
    d.dialogs.openNames = {file};
    d.Trigger("Menu_File_Open");
    ASSERT_EQ(d.w().windowTitle(), QStringLiteral("※Quillmere※～～") + file);
    EXPECT_EQ(d.Picture().k(), k);
    EXPECT_EQ(d.Picture().Companion(), companion) << "resized " << resized;
    EXPECT_FALSE(d.State().ImageChanged);
    const Paper after = ToPaper(d, dir, "after");
    ASSERT_FALSE(before.exported.isEmpty() || before.copied.isEmpty() || before.page.isNull());
    EXPECT_EQ(after.exported, before.exported) << "resized " << resized;
    EXPECT_EQ(after.copied, before.copied) << "resized " << resized;
    EXPECT_EQ(after.page, before.page) << "resized " << resized;
    EXPECT_EQ(d.dialogs.printNotes, QStringList{QString()});
    EXPECT_FALSE(d.dialogs.exportSizes.back().enlargedParts);
  }
}

TEST(DetailInFile, TheExportAndPrintSayWhenPartsCameFromOutsideWithoutDetail) {
  QTemporaryDir dir;
  const QImage photo = [] {
    QImage p(320, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 320; ++x) p.setPixel(x, y, qRgb(x * 3 / 4, y, 90));
    return p;
  }();
  // Our own file with its companion, and the same with its pixels edited by a program that kept
  // the chunk as it was (one pixel changed).
  const QString ours = dir.filePath("ours.png"), edited = dir.filePath("edited.png");
  {
    WindowDriver d;
    DrawDetail(d);
    d.dialogs.saveNames = {ours};
    d.Trigger("Menu_File_Save");
  }
  QByteArray bytes = FileBytes(ours);
  const qsizetype chunk = bytes.indexOf(kCompanionChunkType) - 4;
  QImage changed = ReadPicture(bytes).image;
  changed.setPixel(100, 80, qRgb(0, 0, 255));
  QByteArray editedBytes = WritePng(changed, kScreenDotsPerMetre);
  editedBytes.insert(editedBytes.size() - 12, bytes.mid(chunk, bytes.size() - 12 - chunk));
  {
    QFile f(edited);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(editedBytes);
  }
  auto openFile = [](WindowDriver& d, const QString& path) {
    d.dialogs.openNames = {path};
    d.Trigger("Menu_File_Open");
  };
  auto saved = [&](const QString& name, const char* format) {
    const QString path = dir.filePath(name);
    photo.save(path, format);
    return path;
  };
  const QString bmp = saved("photo.bmp", "BMP"), jpg = saved("photo.jpg", "JPG"), png = saved("photo.png", "PNG");
  struct Case {
    const char* name;
    std::function<void(WindowDriver&)> make;
    bool enlargedParts;
  };
  const Case cases[] = {
      {"Drawn", [](WindowDriver& d) { DrawDetail(d); }, false},
      {"OurPng", [&](WindowDriver& d) { openFile(d, ours); }, false},
      {"Bitmap", [&](WindowDriver& d) { openFile(d, bmp); }, true},
      {"Jpeg", [&](WindowDriver& d) { openFile(d, jpg); }, true},
      {"PngOfAnotherProgram", [&](WindowDriver& d) { openFile(d, png); }, true},
      {"OurPngEditedElsewhere", [&](WindowDriver& d) { openFile(d, edited); }, true},
      {"BitmapThenNew",
       [&](WindowDriver& d) {
         openFile(d, bmp);
         d.dialogs.answers = {QMessageBox::No};
         d.Trigger("Menu_File_New");
       },
       false},
      {"BitmapThenOurPng",
       [&](WindowDriver& d) {
         openFile(d, bmp);
         openFile(d, ours);
       },
       false},
      {"DroppedPicture",
       [&](WindowDriver& d) {
         QMimeData data;
         data.setImageData(photo.copy(0, 0, 40, 30));
         const QPoint pos = d.Surface()->mapTo(&d.w(), QPoint(10, 10));
         QDragEnterEvent enter(pos, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
         QApplication::sendEvent(&d.w(), &enter);
         QDropEvent drop(QPointF(pos), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
         QApplication::sendEvent(&d.w(), &drop);
       },
       true},
  };
  for (const Case& c : cases) {
    WindowDriver d;
    c.make(d);
    d.Trigger("Menu_File_Export");  // the export window cancelled
    d.Trigger("Menu_File_Print");   // the print dialog cancelled
    ASSERT_EQ(d.dialogs.exportSizes.size(), 1) << c.name;
    EXPECT_EQ(d.dialogs.exportSizes[0].enlargedParts, c.enlargedParts) << c.name;
    EXPECT_EQ(d.dialogs.printNotes, QStringList{c.enlargedParts ? kEnlarged : QString()}) << c.name;
    // Whatever the file's chunk said, the companion is faithful to the pixels on show.
    EXPECT_TRUE(CompanionFaithful(d.Picture().Raster(), d.Picture().Companion(), d.Picture().k())) << c.name;
  }
  // The edited file's companion is its new pixels enlarged, the changed one included.
  WindowDriver d;
  openFile(d, edited);
  EXPECT_EQ(d.Picture().Companion(), Enlarged(d.Picture().Raster(), d.Picture().k()));
}

TEST(DetailInFile, SavingDetailAsABitmapAsksFirst) {
  struct Case {
    const char* name;
    const char* typed;
    const char* filter;  // chosen in the dialog
    int answer;          // to the question: 0 继续保存, 1 改存 PNG, 2 取消, -1 dismissed
    const char* written;  // the file written, or nullptr
  };
  const Case cases[] = {
      {"KeepBitmap", "figure.bmp", "PNG 图像 (*.png)", 0, "figure.bmp"},
      {"AsPng", "figure.BMP", "PNG 图像 (*.png)", 1, "figure.png"},
      {"AsPngWithoutSuffix", "figure", "位图文件 (*.bmp)", 1, "figure.png"},
      {"Cancelled", "figure.bmp", "PNG 图像 (*.png)", 2, nullptr},
      {"Dismissed", "figure", "位图文件 (*.bmp)", -1, nullptr},
  };
  for (const Case& c : cases) {
    QTemporaryDir dir;
    WindowDriver d;
    DrawDetail(d);
    d.dialogs.saveNames = {dir.filePath(c.typed)};
    d.dialogs.saveFilters = {c.filter};
    d.dialogs.choices = {c.answer};
    d.Trigger("Menu_File_Save");
    EXPECT_EQ(d.dialogs.chosen, QStringList{kBitmapQuestion}) << c.name;
    const QStringList files = QDir(dir.path()).entryList(QDir::Files);
    EXPECT_EQ(files, c.written ? QStringList{c.written} : QStringList()) << c.name;
    EXPECT_EQ(d.State().ImageChanged, c.written == nullptr) << c.name;
    if (!c.written) continue;
    EXPECT_EQ(d.w().windowTitle(), QStringLiteral("※Quillmere※～～") + dir.filePath(c.written)) << c.name;
    const PictureRead back = ReadPictureFile(dir.filePath(c.written));
    EXPECT_EQ(back.format->name, c.answer == 1 ? "PNG" : "BMP") << c.name;
    EXPECT_EQ(back.detail, c.answer == 1 ? CompanionVerdict::Restored : CompanionVerdict::Absent) << c.name;
  }
  // A picture whose companion is only itself enlarged (boxes) saves as a bitmap without a word.
  QTemporaryDir dir;
  WindowDriver d;
  d.ClickTool(7);
  d.Drag({40, 30}, {120, 90});
  d.dialogs.saveNames = {dir.filePath("box.bmp")};
  d.Trigger("Menu_File_Save");
  EXPECT_TRUE(d.dialogs.chosen.isEmpty());
  EXPECT_TRUE(QFile::exists(dir.filePath("box.bmp")));
}

TEST(DetailInFile, TheSaveDialogStartsWithTheFormatOfThePicturesFile) {
  QTemporaryDir dir;
  QImage picture(200, 100, QImage::Format_RGB32);
  picture.fill(qRgb(10, 200, 30));
  for (const char* name : {"a.bmp", "a.jpg", "a.png"}) picture.save(dir.filePath(name));
  const QString pngFirst = SaveDialogFilter(&FormatNamed("PNG"));
  const QString bmpFirst = SaveDialogFilter(&FormatNamed("BMP"));
  struct Case {
    const char* name;
    std::function<void(WindowDriver&)> before;
    QString filter;
  };
  auto open = [&](const char* name) {
    return [&dir, name](WindowDriver& d) {
      d.dialogs.openNames = {dir.filePath(name)};
      d.Trigger("Menu_File_Open");
    };
  };
  const Case cases[] = {
      {"StartUp", [](WindowDriver&) {}, pngFirst},
      {"Bitmap", open("a.bmp"), bmpFirst},
      {"Jpeg", open("a.jpg"), pngFirst},  // JPEG is only read
      {"Png", open("a.png"), pngFirst},
      {"BitmapThenNew",
       [&](WindowDriver& d) {
         open("a.bmp")(d);
         d.dialogs.answers = {QMessageBox::No};
         d.Trigger("Menu_File_New");
       },
       pngFirst},
      {"SavedAsBitmap",
       [&](WindowDriver& d) {
         d.dialogs.saveNames = {dir.filePath("saved.bmp")};
         d.Trigger("Menu_File_Save");
       },
       bmpFirst},
  };
  for (const Case& c : cases) {
    WindowDriver d;
    c.before(d);
    d.dialogs.dialogs.clear();
    d.Trigger("Menu_File_Save");  // cancelled
    ASSERT_EQ(d.dialogs.dialogs.size(), 1) << c.name;
    EXPECT_EQ(d.dialogs.dialogs[0].section('|', 2), c.filter) << c.name;
  }
}
