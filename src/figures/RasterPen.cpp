// Pens and brushes of the canvas, and the picture's own pixels.
#include <algorithm>
#include <cmath>

#include "figures/Raster.h"

namespace raster {

namespace {

// Dash, dot and dash-dot apply at width 1 only; wider lines are solid.
Qt::PenStyle PenStyleOf(int drawStyle, int width) {
  if (width != 1) return Qt::SolidLine;
  switch (drawStyle) {
    case Canvas::kDash: return Qt::DashLine;
    case Canvas::kDot: return Qt::DotLine;
    case Canvas::kDashDot: return Qt::DashDotLine;
    default: return Qt::SolidLine;
  }
}

// Length of one repetition of the pattern, in pen widths.
double DashPeriod(Qt::PenStyle s) {
  switch (s) {
    case Qt::DashLine: return 6;
    case Qt::DotLine: return 3;
    case Qt::DashDotLine: return 9;
    default: return 0;
  }
}

}  // namespace

QPen MakePen(QRgb color, int drawWidth, int drawStyle, double dashOffset) {
  const int w = PenWidthOf(drawWidth);
  const Qt::PenStyle style = PenStyleOf(drawStyle, w);
  QPen pen(QColor::fromRgb(color), w, style, Qt::SquareCap, Qt::MiterJoin);
  const double period = DashPeriod(style);
  if (period > 0 && dashOffset > 0) pen.setDashOffset(std::fmod(dashOffset, period));
  return pen;
}

QBrush MakeBrush(int fillStyle, QRgb color) {
  const QColor c = QColor::fromRgb(color);
  switch (fillStyle) {
    case 0: return QBrush(c, Qt::SolidPattern);
    case 2: return QBrush(c, Qt::HorPattern);
    case 3: return QBrush(c, Qt::VerPattern);
    case 4: return QBrush(c, Qt::BDiagPattern);
    case 5: return QBrush(c, Qt::FDiagPattern);
    case 6: return QBrush(c, Qt::CrossPattern);
    case 7: return QBrush(c, Qt::DiagCrossPattern);
    default: return QBrush(Qt::NoBrush);
  }
}

void Prepare(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.setBackgroundMode(Qt::TransparentMode);
  p.setBrushOrigin(0, 0);
}

// Makes sure the pixels of `img` are its own before they are written (a snapshot taken with
// Image() shares them until then). When the copy cannot be allocated the image stays as it is
// and the caller draws nothing, instead of losing the picture.
bool OwnPixels(QImage& img) {
  if (img.isNull()) return false;
  if (img.isDetached()) return true;
  QImage copy = img.copy();
  if (copy.isNull()) return false;
  img = std::move(copy);
  return true;
}

}  // namespace raster
