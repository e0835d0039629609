#include "document/PrintPicture.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace {
constexpr QRgb kWhite = 0xFFFFFFFFu;
}  // namespace

QRect InkRect(const QImage& picture, int margin) {
  if (picture.isNull()) return {};
  const QImage rgb = picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
  int left = rgb.width(), right = -1, top = rgb.height(), bottom = -1;
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    int x0 = 0;
    while (x0 < rgb.width() && (row[x0] | 0xFF000000u) == kWhite) ++x0;
    if (x0 == rgb.width()) continue;
    int x1 = rgb.width() - 1;
    while ((row[x1] | 0xFF000000u) == kWhite) --x1;
    left = std::min(left, x0);
    right = std::max(right, x1);
    top = std::min(top, y);
    bottom = y;
  }
  if (right < 0) return rgb.rect();
  return QRect(QPoint(left, top), QPoint(right, bottom)).adjusted(-margin, -margin, margin, margin) & rgb.rect();
}

int DotsPerMetreAt(int k) { return static_cast<int>(std::lround(std::max(k, 1) * 96 / 0.0254)); }

QSizeF PrintSizeCm(QSize pixels, int dotsPerMetre) {
  if (dotsPerMetre <= 0) return {};
  return QSizeF(pixels.width() * 100.0 / dotsPerMetre, pixels.height() * 100.0 / dotsPerMetre);
}

PrintPicture PrintPictureOf(const QImage& picture, const QImage& companion, int k, const QRect& r) {
  const QRect part = r & picture.rect();
  // The whole picture is shared, not copied: a companion may take 64 MB.
  const bool whole = part == picture.rect();
  if (k >= 2 && companion.size() == picture.size() * k)
    return {whole ? companion : companion.copy(QRect(part.topLeft() * k, part.size() * k)), k};
  return {whole ? picture : picture.copy(part), 1};
}

QImage ReducedForPreview(const QImage& image, QSizeF target, double scale) {
  if (image.isNull() || !(scale > 0) || !std::isfinite(scale)) return image;
  // One per cent under the preview's own size: a preview a little smaller than it was drawn for
  // (its scale is rounded, or it changed within the watch's tolerance) still enlarges it.
  constexpr double kUnder = 0.99;
  const double w = std::floor(target.width() * scale * kUnder), h = std::floor(target.height() * scale * kUnder);
  if (!(w >= 1 && h >= 1) || w >= image.width() || h >= image.height()) return image;
  return image.scaled(int(w), int(h), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

bool PaintOnPage(QPagedPaintDevice& device, const PrintPicture& picture, double previewScale) {
  if (picture.image.isNull() || picture.scale < 1) return false;
  const int dpi = std::max(device.logicalDpiX(), 1);
  const QPageLayout layout = device.pageLayout();
  // Device pixels; the painter's origin is the printable area's top left.
  const QRectF paper = layout.fullRectPixels(dpi), printable = layout.paintRectPixels(dpi);
  QSizeF size = QSizeF(picture.image.size()) * (double(dpi) / (96.0 * picture.scale));
  if (size.width() > printable.width() || size.height() > printable.height())
    size.scale(printable.size(), Qt::KeepAspectRatio);
  // Centred on the paper, and kept in the printable area where the margins differ.
  const QPointF centred = paper.center() - QPointF(size.width(), size.height()) / 2 - printable.topLeft();
  const QPointF at(std::clamp(centred.x(), 0.0, printable.width() - size.width()),
                   std::clamp(centred.y(), 0.0, printable.height() - size.height()));
  const QPaintEngine* engine = device.paintEngine();
  const bool preview = engine && engine->type() == QPaintEngine::Picture;
  if (preview && !(previewScale > 0)) {
    // Not known: the preview at 100 %, which shows the page at the screen's resolution.
    const QScreen* screen = QGuiApplication::primaryScreen();
    previewScale = screen ? screen->logicalDotsPerInchY() * screen->devicePixelRatio() / dpi : 96.0 / dpi;
  }
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.drawImage(QRectF(at, size), preview ? ReducedForPreview(picture.image, size, previewScale) : picture.image);
  return painter.end();
}
