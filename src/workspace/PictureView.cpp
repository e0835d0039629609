#include "workspace/PictureView.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The pixel grid: a light line along each picture pixel's first device row and column, a quarter
// of the way from the pixel's colour to a light grey. Each channel c becomes c - c / 4 + 50.
inline QRgb GridShade(QRgb c) { return c - ((c >> 2) & 0x3F3F3Fu) + 0x323232u; }

}  // namespace

void PictureView::Paint(QPainter& painter, const QImage& picture, const ViewTransform& view, QRect area) {
  area &= QRect(QPoint(0, 0), view.WidgetSize(picture.size()));
  if (area.isEmpty()) return;
  if (view.OneToOne()) {
    painter.drawImage(area, picture, area);
    return;
  }
  // The device pixels that cover the area, counted from the picture's first.
  const double ratio = view.Ratio();
  const int left = static_cast<int>(std::floor(area.left() * ratio));
  const int top = static_cast<int>(std::floor(area.top() * ratio));
  const int width = static_cast<int>(std::ceil((area.right() + 1) * ratio)) - left;
  const int height = static_cast<int>(std::ceil((area.bottom() + 1) * ratio)) - top;
  if (width <= 0 || height <= 0) return;
  if (scaled_.width() < width || scaled_.height() < height || scaled_.format() != QImage::Format_RGB32) {
    scaled_ = QImage(std::max(width, scaled_.width()), std::max(height, scaled_.height()), QImage::Format_RGB32);
    if (scaled_.isNull()) return;
  }
  const QImage source = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
                            ? picture
                            : picture.convertToFormat(QImage::Format_RGB32);
  const int lastColumn = source.width() - 1, lastRow = source.height() - 1;
  const bool grid = view.PixelGrid();

  columns_.resize(width);
  gridColumn_.resize(width);
  for (int i = 0; i < width; ++i) {
    const int pixel = view.PixelAtDevice(left + i);
    columns_[i] = std::clamp(pixel, 0, lastColumn);
    gridColumn_[i] = grid && pixel != view.PixelAtDevice(left + i - 1);
  }
  row_.resize(width);

  // Each picture row is expanded once; the device rows that show it copy the expansion.
  const size_t rowBytes = static_cast<size_t>(width) * sizeof(QRgb);
  int expanded = -1;
  for (int y = 0; y < height; ++y) {
    const int pixel = view.PixelAtDevice(top + y);
    const int sourceRow = std::clamp(pixel, 0, lastRow);
    auto* out = reinterpret_cast<QRgb*>(scaled_.scanLine(y));
    if (sourceRow != expanded) {
      const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(sourceRow));
      for (int i = 0; i < width; ++i) {
        const QRgb c = in[columns_[i]] | 0xFF000000u;
        row_[i] = gridColumn_[i] ? GridShade(c) : c;
      }
      expanded = sourceRow;
    }
    std::memcpy(out, row_.data(), rowBytes);
    if (grid && pixel != view.PixelAtDevice(top + y - 1))
      for (int i = 0; i < width; ++i)
        if (!gridColumn_[i]) out[i] = GridShade(out[i]);
  }

  // Drawn one device pixel to one device pixel.
  scaled_.setDevicePixelRatio(ratio);
  painter.drawImage(QPointF(left / ratio, top / ratio), scaled_, QRect(0, 0, width, height));
}
