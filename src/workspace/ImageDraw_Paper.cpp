// 导出高清图像…, 打印…, 打印预览 and 复制高清图: the picture leaves the program for paper through its
// high-resolution companion, with the resolution that gives it its true size (96 picture pixels to
// the inch). Without a companion the picture itself goes, at 96 dpi, and the user is told so.
// None of them changes the picture, its file or ImageChanged.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPaintEngine>
#include <QPrinter>

#include "dialogs/DialogSeam.h"
#include "dialogs/ExportWindow.h"
#include "dialogs/PreviewScale.h"
#include "document/PictureFiles.h"
#include "document/PrintPicture.h"
#include "editing/ClipboardPicture.h"
#include "workspace/ImageDraw.h"

namespace {

const QString kReducedNote = QStringLiteral("图像较大，按原分辨率输出");
const QString kEnlargedNote = QStringLiteral("图像中有来自其他程序或位图文件的部分，这些部分按放大的图像输出。");

// The rectangle `r` of the picture as it goes to paper: its companion's part, or the picture's.
PrintPicture OnPaper(const Canvas& picture, const QRect& r) {
  return PrintPictureOf(picture.Raster(), picture.Companion(), picture.k(), r);
}

// Companion pixels per picture pixel of what goes to paper: 1 when there is no companion.
int PaperScale(const Canvas& picture) {
  const int k = picture.Pair().Scale();
  return k >= 2 ? k : 1;
}

}  // namespace

void ImageDraw::ExportHighResolution() {
  const QString title = QStringLiteral("导出高清图像");
  const int k = PaperScale(Picture);
  const QRect whole = Picture.Raster().rect(), ink = InkRect(Picture.Raster());
  ExportSizes sizes;
  sizes.whole = whole.size() * k;
  sizes.trimmed = ink.size() * k;
  sizes.dotsPerMetre = DotsPerMetreAt(k);
  sizes.reduced = k == 1;
  sizes.enlargedParts = k >= 2 && State.EnlargedParts;
  const std::optional<bool> trim = Dialogs().ExportOptions(this, sizes);
  if (!trim) return;
  const std::optional<SaveTarget> target = AskSaveTarget(true);
  if (!target) return;
  const PrintPicture out = OnPaper(Picture, *trim ? ink : whole);
  if (out.image.isNull()) {
    Dialogs().Tell(this, title, QStringLiteral("内存不足，高清图像没有导出。"), true);
    return;
  }
  QString error;
  if (!WritePictureFile(target->path, out.image, *target->format, &error, out.DotsPerMetre()))
    Dialogs().Tell(this, title, QStringLiteral("高清图像没有导出。\n%1").arg(error), true);
}

void ImageDraw::PrintOnPaper(bool preview) {
  const PrintPicture page = OnPaper(Picture, Picture.Raster().rect());
  bool painted = true;
  const bool printed = Dialogs().Print(
      this, preview,
      [&](QPrinter& printer) {
        // Into the preview, the page is drawn for the scale the preview shows it at.
        const QPaintEngine* engine = printer.paintEngine();
        const bool recorded = engine && engine->type() == QPaintEngine::Picture;
        painted = PaintOnPage(printer, page, recorded ? PreviewScaleOf(printer) : 0) && painted;
      },
      page.scale == 1 ? kReducedNote : State.EnlargedParts ? kEnlargedNote : QString());
  if (printed && !painted)
    Dialogs().Tell(this, preview ? QStringLiteral("打印预览") : QStringLiteral("打印"),
                   QStringLiteral("无法打印：打印机或输出文件不能写入，图像没有打印。"), true);
}

void ImageDraw::CopyHighResolution() {
  const QString title = QStringLiteral("复制高清图");
  // The floating selection as 复制 takes it, or the picture cut to its ink.
  QImage plain, hd;
  int k = PaperScale(Picture);
  if (Selection.Visible()) {
    const PicturePair pair = Selection.PixelPair();
    plain = pair.image;
    if (k >= 2) hd = pair.CompanionAt(k);
  } else {
    const QRect ink = InkRect(Picture.Raster());
    plain = Picture.Raster().copy(ink);
    if (k >= 2) hd = OnPaper(Picture, ink).image;
  }
  if (plain.isNull()) return;
  if (hd.isNull()) k = 1;
  QMimeData* data = clipboard::HighResolutionData(k >= 2 ? hd : plain, DotsPerMetreAt(k), plain);
  if (!data) {
    Dialogs().Tell(this, title, QStringLiteral("内存不足，图像没有复制。"), true);
    return;
  }
  QClipboard* board = QGuiApplication::clipboard();
  board->clear();
  board->setMimeData(data);
  RefreshPasteCommand();
  if (k == 1) Dialogs().Tell(this, title, kReducedNote, false);
}
