// Copy, cut, paste and delete, and keeping Paste in step with the clipboard.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>

#include "dialogs/DialogSeam.h"
#include "editing/ClipboardPicture.h"
#include "workspace/ImageDraw.h"

void ImageDraw::CopySelection() {
  QClipboard* board = QGuiApplication::clipboard();
  board->clear();
  if (Selection.Visible()) {
    // What is copied is the selection's own pixels as taken (or as last flipped or turned), not
    // the picture beneath a moved selection.
    const QImage picture = Selection.CopyOut();
    if (!picture.isNull()) board->setMimeData(clipboard::PictureData(picture));
  }
  RefreshPasteCommand();
}

void ImageDraw::CutSelection() {
  CopySelection();
  DeleteSelection();
}

void ImageDraw::DeleteSelection() {
  if (Selection.Delete(Picture, History)) State.ImageChanged = true;
  EnableUndo();
  SyncSelection();
  Refresh();
}

void ImageDraw::PasteClipboard() {
  QClipboard* board = QGuiApplication::clipboard();
  const QMimeData* data = board->mimeData();
  if (!data || !data->hasImage()) return;
  QSize size;
  const QImage image = clipboard::ReadPicture(*board, *data, &size);
  // Our own copy is this program's picture; anything else is another program's.
  const bool ours = board->ownsClipboard() || data->hasFormat(QString::fromLatin1(clipboard::kOwnPictureType));
  PastePicture(image, size, QPoint(0, 0), !ours);
}

void ImageDraw::PastePicture(const QImage& image, QSize size, QPoint at, bool fromOutside) {
  if (size.isValid() && !clipboard::PastableSize(size)) {
    Dialogs().Tell(this, QStringLiteral("粘贴"),
                   QStringLiteral("剪贴板中的图像太大（%1 × %2 像素），无法粘贴。\n"
                                  "能粘贴的图像每边不超过 %3 像素，总像素数不超过 %4 万。")
                       .arg(size.width())
                       .arg(size.height())
                       .arg(Canvas::kMaxSide)
                       .arg(clipboard::kMaxPastePixelBytes / 4 / 10000),
                   true);
    return;
  }
  if (image.isNull()) return;

  HideSelection();
  History.Snapshot(Picture);
  Picture.Restore(History.Img_Copy);
  if (Picture.Width() < image.width() || Picture.Height() < image.height())
    SetCanvasSize(std::max(Picture.Width(), image.width()), std::max(Picture.Height(), image.height()));
  // The picture lies wholly on the canvas: a place too far right or down moves it in.
  at = QPoint(std::clamp(at.x(), 0, Picture.Width() - image.width()),
              std::clamp(at.y(), 0, Picture.Height() - image.height()));
  Selection.Paste(image, at);
  Picture.PaintPicture(image, at.x(), at.y(), image.width(), image.height(), 0, 0, image.width(), image.height(),
                       Canvas::RasterOp::And);
  State.ImageChanged = true;
  if (fromOutside) State.EnlargedParts = true;
  EnableUndo();
  SyncSelection();
  Refresh();
}

void ImageDraw::RefreshPasteCommand() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  const bool hasImage = data && data->hasImage();
  if (hasImage == clipboardHasPicture_) return;
  clipboardHasPicture_ = hasImage;
  UpdateCommands();
}
