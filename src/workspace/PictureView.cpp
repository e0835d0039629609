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

  // The device columns as runs of one picture column each.
  runs_.clear();
  int previous = view.PixelAtDevice(left - 1);
  for (int i = 0; i < width; ++i) {
    const int pixel = view.PixelAtDevice(left + i);
    const int column = std::clamp(pixel, 0, lastColumn);
    if (runs_.empty() || runs_.back().column != column || pixel != previous)
      runs_.push_back({column, i, 0, pixel != previous});
    ++runs_.back().count;
    previous = pixel;
  }
  plainRow_.resize(width);
  gridRow_.resize(width);

  // Each picture row is expanded once; the device rows that show it copy the expansion.
  const size_t rowBytes = static_cast<size_t>(width) * sizeof(QRgb);
  int expanded = -1;
  previous = view.PixelAtDevice(top - 1);
  for (int y = 0; y < height; ++y) {
    const int pixel = view.PixelAtDevice(top + y);
    const int sourceRow = std::clamp(pixel, 0, lastRow);
    if (sourceRow != expanded) {
      const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(sourceRow));
      QRgb* plain = plainRow_.data();
      QRgb* shaded = gridRow_.data();
      for (const Run& run : runs_) {
        const QRgb c = in[run.column] | 0xFF000000u;
        std::fill_n(plain + run.first, run.count, c);
        if (grid) {
          const QRgb g = GridShade(c);
          std::fill_n(shaded + run.first, run.count, g);
          if (run.begins) plain[run.first] = g;
        }
      }
      expanded = sourceRow;
    }
    const bool firstRow = grid && pixel != previous;
    previous = pixel;
    std::memcpy(scaled_.scanLine(y), firstRow ? gridRow_.data() : plainRow_.data(), rowBytes);
  }

  // Drawn one device pixel to one device pixel.
  scaled_.setDevicePixelRatio(ratio);
  painter.drawImage(QPointF(left / ratio, top / ratio), scaled_, QRect(0, 0, width, height));
}
