#include "workspace/ViewTransform.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "figures/Rounding.h"

namespace {
// Window systems hand positions as device pixels divided by the ratio: multiplied back they may
// miss the whole device pixel by a rounding error. This much is taken as on it.
constexpr double kDeviceSlack = 1e-7;
}  // namespace

QPointF ViewTransform::PicturePoint(QPointF widget) const {
  if (OneToOne()) return widget / zoom;  // at 1:1 zoom is 1: the position itself
  const double ratio = Ratio(), scale = Scale();
  auto pixel = [ratio, scale](double v) {
    if (!IsUsable(v)) return v;  // the handlers refuse it
    // The device pixel under the pointer, then the picture pixel under that device pixel's centre.
    const double device = std::floor(std::clamp(v * ratio, -kCoordinateLimit, kCoordinateLimit) + kDeviceSlack);
    return std::ceil((device + 0.5) / scale) - 1;
  };
  return {pixel(widget.x()), pixel(widget.y())};
}

QPointF ViewTransform::PicturePointIn(QPointF local, QPoint origin) const {
  if (OneToOne()) return local;
  return PicturePoint(local + QPointF(origin)) - QPointF(origin) / zoom;
}

QPointF ViewTransform::WidgetPoint(QPointF picture) const {
  if (OneToOne()) return picture;
  return {(std::floor(picture.x()) + 0.5) * zoom, (std::floor(picture.y()) + 0.5) * zoom};
}

QRect ViewTransform::WidgetRect(QRect picture) const {
  return {picture.x() * zoom, picture.y() * zoom, picture.width() * zoom, picture.height() * zoom};
}

QPoint ViewTransform::ScrollFor(QPointF point, QPointF anchor) const {
  auto value = [this](double p, double a) {
    if (!IsUsable(p) || !IsUsable(a)) return 0;
    const double pixel = std::floor(p);
    const double wanted = RoundHalfEvenReal(p * zoom - a);
    const double first = std::ceil(pixel * zoom - a), last = std::ceil((pixel + 1) * zoom - a) - 1;
    const double v = std::clamp(wanted, first, std::max(first, last));
    return static_cast<int>(std::clamp(v, 0.0, double(INT32_MAX)));
  };
  return {value(point.x(), anchor.x()), value(point.y(), anchor.y())};
}

QRect ViewTransform::DeviceRect(QRect widget) const {
  if (widget.isEmpty()) return {};
  const double ratio = Ratio();
  const int left = static_cast<int>(std::floor(widget.left() * ratio));
  const int top = static_cast<int>(std::floor(widget.top() * ratio));
  const int right = static_cast<int>(std::ceil((widget.right() + 1) * ratio));
  const int bottom = static_cast<int>(std::ceil((widget.bottom() + 1) * ratio));
  return {left, top, right - left, bottom - top};
}

std::array<QRectF, 4> ViewTransform::OutlineOutside(QRect inner) const {
  const double d = 1 / Ratio();  // one device pixel
  const QRectF r(inner);
  return {QRectF(r.left() - d, r.top() - d, r.width() + 2 * d, d), QRectF(r.left() - d, r.bottom(), r.width() + 2 * d, d),
          QRectF(r.left() - d, r.top(), d, r.height()), QRectF(r.right(), r.top(), d, r.height())};
}

int ZoomStep(int zoom, int steps) {
  const int* const first = std::begin(kZoomLevels);
  const std::ptrdiff_t count = std::size(kZoomLevels);
  const std::ptrdiff_t at = std::lower_bound(first, first + count, zoom) - first;
  return first[std::clamp<std::ptrdiff_t>(at + steps, 0, count - 1)];
}
