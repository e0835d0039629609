// Copy, cut, paste and delete, and keeping Paste in step with the clipboard.
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
#include <algorithm>

#include "dialogs/DialogSeam.h"
#include "figures/Rounding.h"
#include "workspace/ImageDraw.h"

namespace {

constexpr QRgb kClearWhite = 0xFFFFFFFFu;

// The largest picture paste accepts: no side over the canvas's largest side, and no more pixels
// than 256 MiB of 32-bit pixels (the bound Qt's own image readers keep to).
constexpr qint64 kMaxPastePixelBytes = qint64{256} * 1024 * 1024;

bool PastableSize(QSize s) {
  if (s.width() <= 0 || s.height() <= 0) return true;  // empty: nothing to refuse
  return s.width() <= Canvas::kMaxSide && s.height() <= Canvas::kMaxSide &&
         qint64{s.width()} * s.height() * 4 <= kMaxPastePixelBytes;
}

// The clipboard's picture. Pictures offered by other programs come as encoded files (PNG, BMP,
// ...): their size is read from the header first, so that an enormous picture is refused before it
// is decoded; `size` receives the size found (invalid when there is no picture).
QImage ReadClipboardPicture(const QClipboard& clipboard, const QMimeData& data, QSize* size) {
  *size = QSize();
  auto fromImageData = [&]() -> QImage {
    if (!data.hasImage()) return {};
    const QImage img = qvariant_cast<QImage>(data.imageData());
    if (!img.isNull()) *size = img.size();
    return img;
  };
  // Our own copy (or a picture set in this process) is at hand as it is.
  if (clipboard.ownsClipboard()) {
    const QImage own = fromImageData();
    if (!own.isNull()) return own;
  }
  for (const QString& format : data.formats()) {
    if (!format.startsWith(QLatin1String("image/"))) continue;
    QByteArray bytes = data.data(format);
    if (bytes.isEmpty()) continue;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize s = reader.size();
    if (!s.isValid()) continue;
    *size = s;
    if (!PastableSize(s)) return {};
    // Room for the largest picture paste accepts (the reader's default bound is lower).
    reader.setAllocationLimit(static_cast<int>(kMaxPastePixelBytes / (1024 * 1024)) + 16);
    const QImage img = reader.read();
    if (!img.isNull()) return img;
  }
  return fromImageData();
}

// Pasted pixels are opaque: transparent parts become white, so that AND leaves the picture
// beneath them.
QImage OpaqueRgb(const QImage& image) {
  if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB32);
  QImage out(image.size(), QImage::Format_RGB32);
  out.fill(kClearWhite);
  QPainter p(&out);
  p.drawImage(0, 0, image);
  p.end();
  return out;
}

}  // namespace

void ImageDraw::CopySelection() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  if (Sel.visible) {
    // The buffer at the frame's size: what is copied is the selection's own pixels as taken (or as
    // last flipped or rotated), not the picture beneath a moved selection.
    const int w = static_cast<int>(RoundHalfEven(std::max(0.0, Sel.width)));
    const int h = static_cast<int>(RoundHalfEven(std::max(0.0, Sel.height)));
    if (w > 0 && h > 0 && !Sel.IMG_Select.isNull()) {
      if (Sel.IMG_Select.width() != w || Sel.IMG_Select.height() != h) {
        QImage sized(w, h, QImage::Format_RGB32);
        sized.fill(kClearWhite);
        QPainter p(&sized);
        p.drawImage(0, 0, Sel.IMG_Select);
        p.end();
        Sel.IMG_Select = sized;
      }
      const QImage image = Sel.IMG_Select.convertToFormat(QImage::Format_RGB32);
      auto* data = new QMimeData;
      data->setImageData(image);
      // Other programs read the picture in a common file format.
      for (const char* fmt : {"PNG", "BMP"}) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (image.save(&buffer, fmt))
          data->setData(QStringLiteral("image/") + QString::fromLatin1(fmt).toLower(), bytes);
      }
      clipboard->setMimeData(data);
    }
  }
  Menu_Edit_Paster->setEnabled(true);
}

void ImageDraw::CutSelection() {
  CopySelection();
  DeleteSelection();
}

void ImageDraw::DeleteSelection() {
  if (Sel.visible) {
    if (State.SelectionMoved || State.SelectionLifted) {
      // The floating pixels vanish; the old area stays as the lift left it.
      Picture.Restore(History.Img_Copy);
    } else {
      // The selected pixels are cleared, exactly the frame's box.
      const double w = RoundHalfEvenReal(std::max(0.0, Sel.width));
      const double h = RoundHalfEvenReal(std::max(0.0, Sel.height));
      if (w >= 1 && h >= 1) Picture.FilledBoxRel(Sel.left, Sel.top, w - 1, h - 1, kClearWhite);
    }
    ShowSelectionFrame(false, false);
    State.ImageChanged = true;
  }
  EnableUndo();
  SetEditCommands(false);
  SetRotateMenus(false);  // also Tbar 平翻, 竖翻, 顺转, 逆转 (the same actions)
  Refresh();
}

void ImageDraw::PasteClipboard() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  const QMimeData* data = clipboard->mimeData();
  if (!data || !data->hasImage()) return;
  QSize size;
  QImage image = ReadClipboardPicture(*clipboard, *data, &size);
  if (size.isValid() && !PastableSize(size)) {
    Dialogs().Tell(this, QStringLiteral("粘贴"),
                   QStringLiteral("剪贴板中的图像太大（%1 × %2 像素），无法粘贴。\n"
                                  "能粘贴的图像每边不超过 %3 像素，总像素数不超过 %4 万。")
                       .arg(size.width())
                       .arg(size.height())
                       .arg(Canvas::kMaxSide)
                       .arg(kMaxPastePixelBytes / 4 / 10000),
                   true);
    return;
  }
  if (image.isNull()) return;
  image = OpaqueRgb(image);
  if (image.isNull()) return;

  ShowSelectionFrame(true, true);
  Sel.IMG_Select = image;
  Sel.left = 0;
  Sel.top = 0;
  Sel.width = image.width();
  Sel.height = image.height();
  SyncSelectionFrame();
  State.SelectionLifted = true;
  History.Snapshot(Picture);
  Picture.Restore(History.Img_Copy);
  if (Picture.Width() < image.width() || Picture.Height() < image.height())
    SetCanvasSize(std::max(Picture.Width(), image.width()), std::max(Picture.Height(), image.height()));
  Picture.PaintPicture(image, 0, 0, image.width(), image.height(), 0, 0, image.width(), image.height(),
                       Canvas::RasterOp::And);
  // The rotation base still belongs to the selection made before: turning or flipping it now would
  // bring back that old picture, so flips and rotations wait for the next selection.
  SetRotateMenus(false);
  State.ImageChanged = true;
  EnableUndo();
  SetEditCommands(true);
  Refresh();
}

void ImageDraw::RefreshPasteCommand() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  // Besides the timer, follow the clipboard's change notice for an instant answer.
  if (!property("quillmerePasteWatch").toBool()) {
    setProperty("quillmerePasteWatch", true);
    connect(clipboard, &QClipboard::dataChanged, this, [this] { RefreshPasteCommand(); });
  }
  const QMimeData* data = clipboard->mimeData();
  const bool hasImage = data && data->hasImage();
  if (hasImage != Menu_Edit_Paster->isEnabled()) Menu_Edit_Paster->setEnabled(hasImage);
}
