#include "workspace/PictureView.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

namespace {

// The size of one band of device rows (bytes).
constexpr size_t kBandBytes = 128 * 1024;

// The pixel grid: a light line along each picture pixel's first device row and column, a quarter
// of the way from the pixel's colour to a light grey. Each channel c becomes c - c / 4 + 50.
inline QRgb GridShade(QRgb c) { return c - ((c >> 2) & 0x3F3F3Fu) + 0x323232u; }

// `count` pixels of colour `c` from `out` on, four at a time where it can (a run is as wide as a
// picture pixel on screen, 1 to 16 device pixels and more).
inline void Fill(QRgb* out, int count, QRgb c) {
  const QRgb four[4] = {c, c, c, c};
  for (; count >= 4; count -= 4, out += 4) std::memcpy(out, four, sizeof four);
  for (; count > 0; --count) *out++ = c;
}

}  // namespace

void PictureView::Paint(QPainter& painter, const QImage& picture, const ViewTransform& view, QRect area) {
  area &= QRect(QPoint(0, 0), view.WidgetSize(picture.size()));
  if (area.isEmpty()) return;
  if (view.OneToOne()) {
    painter.drawImage(area, picture, area);
    return;
  }
  // The device pixels that cover the area, counted from the picture's first.
  const QRect device = view.DeviceRect(area);
  const int left = device.left(), top = device.top(), width = device.width(), height = device.height();
  if (width <= 0 || height <= 0) return;
  // The device rows are made and drawn a band at a time, a band small enough to stay in the
  // processor's cache between being made and being drawn.
  const size_t rowBytes = static_cast<size_t>(width) * sizeof(QRgb);
  const int band = static_cast<int>(std::clamp<size_t>(kBandBytes / rowBytes, 1, static_cast<size_t>(height)));
  if (scaled_.width() < width || scaled_.height() < band || scaled_.format() != QImage::Format_RGB32) {
    scaled_ = QImage(std::max(width, scaled_.width()), std::max(band, scaled_.height()), QImage::Format_RGB32);
    if (scaled_.isNull()) return;
  }
  scaled_.setDevicePixelRatio(view.Ratio());
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
  int expanded = -1;
  int bandTop = 0;  // the device row (of the area) the band starts at
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
        Fill(plain + run.first, run.count, c);
        if (grid) {
          const QRgb g = GridShade(c);
          Fill(shaded + run.first, run.count, g);
          if (run.begins) plain[run.first] = g;
        }
      }
      expanded = sourceRow;
    }
    const bool firstRow = grid && pixel != previous;
    previous = pixel;
    std::memcpy(scaled_.scanLine(y - bandTop), firstRow ? gridRow_.data() : plainRow_.data(), rowBytes);
    if (y + 1 - bandTop == band || y + 1 == height) {
      // Drawn one device pixel to one device pixel.
      painter.drawImage(view.WidgetPointOfDevice(QPoint(left, top + bandTop)), scaled_,
                        QRect(0, 0, width, y + 1 - bandTop));
      bandTop = y + 1;
    }
  }
}
