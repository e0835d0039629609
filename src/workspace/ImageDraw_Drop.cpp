// Files and pictures dragged onto the window from other programs: a file opens as 打开文件 would
// (after the same question), picture data becomes a floating selection at the drop point as 粘贴
// makes one.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <algorithm>
#include <cmath>

#include "dialogs/DialogSeam.h"
#include "editing/ClipboardPicture.h"
#include "figures/Rounding.h"
#include "workspace/DrawingArea.h"
#include "workspace/ImageDraw.h"

namespace {

bool HasPictureData(const QMimeData& data) {
  if (data.hasImage()) return true;
  for (const QString& format : data.formats())
    if (format.startsWith(QLatin1String("image/"))) return true;
  return false;
}

}  // namespace

void ImageDraw::dragEnterEvent(QDragEnterEvent* event) {
  const QMimeData* data = event->mimeData();
  if (data && (data->hasUrls() || HasPictureData(*data))) event->acceptProposedAction();
}

void ImageDraw::dragMoveEvent(QDragMoveEvent* event) { event->acceptProposedAction(); }

void ImageDraw::dropEvent(QDropEvent* event) {
  const QMimeData* data = event->mimeData();
  if (!data) return;
  event->acceptProposedAction();
  // The drop point on the picture, in picture pixels, by the same pointer rule as every mouse event.
  const QPointF at = area_->PicturePointAt(area_->mapFrom(this, event->position().toPoint()));
  DropData(*data, at);
}

void ImageDraw::DropData(const QMimeData& data, QPointF at) {
  QStringList files;
  for (const QUrl& url : data.urls())
    if (url.isLocalFile()) files << url.toLocalFile();
  if (files.size() > 1) {
    Dialogs().Tell(this, QStringLiteral("打开"), QStringLiteral("一次只能拖入一个图像文件。"), true);
    return;
  }
  // The same question as 打开's, a text on show counted as unsaved work.
  if (files.size() == 1) {
    if (AskToSaveChanges()) OpenFile(files.first());
    return;
  }
  if (HasPictureData(data)) {
    QSize size;
    const QImage image = clipboard::ReadPicture(data, &size);
    if (image.isNull() && !(size.isValid() && !clipboard::PastableSize(size))) {
      Dialogs().Tell(this, QStringLiteral("粘贴"), QStringLiteral("拖入的图像数据无法读出，图像没有改变。"), true);
      return;
    }
    StampTextPreview();
    const auto whole = [](double v) { return IsUsable(v) ? int(std::clamp(std::floor(v), -1e6, 1e6)) : 0; };
    PastePicture(image, size, QPoint(whole(at.x()), whole(at.y())), true);
    UpdateCommands();
    return;
  }
  // Only addresses of other machines (a picture dragged from a web page), or nothing usable.
  Dialogs().Tell(this, QStringLiteral("打开"), QStringLiteral("只能拖入本机的图像文件或图像数据。"), true);
}
