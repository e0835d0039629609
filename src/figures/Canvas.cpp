#include "figures/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "figures/FloodFill.h"
#include "figures/Raster.h"
#include "figures/TextLayout.h"

using namespace raster;


Canvas::Canvas(int width, int height)
    : raster_(std::clamp(width, 1, kMaxSide), std::clamp(height, 1, kMaxSide), QImage::Format_RGB32),
      companion_(std::make_unique<CanvasCompanion>()) {
  raster_.fill(kWhite);
}

Canvas::~Canvas() = default;
Canvas::Canvas(Canvas&&) noexcept = default;
Canvas& Canvas::operator=(Canvas&&) noexcept = default;

bool Canvas::Resize(int width, int height) {
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return false;
  if (width == Width() && height == Height()) return true;
  QImage next(width, height, QImage::Format_RGB32);
  // A big picture may not fit in memory: refuse and keep the picture as it is.
  if (next.isNull()) return false;
  next.fill(kWhite);
  const int cw = std::min(width, Width()), ch = std::min(height, Height());
  for (int y = 0; y < ch; ++y)
    std::memcpy(next.scanLine(y), raster_.constScanLine(y), static_cast<size_t>(cw) * 4);
  CommitCompanion();
  raster_ = next;
  MarkAllDamaged();
  companion_->Resized(raster_, cw, ch);
  return true;
}

// ---- Points ----

void Canvas::PSet(double x, double y) {
  if (Recording()) companion_->Record(State(), call::PSet{x, y});
  Nest nest(*this);
  if (!OwnPixels(raster_)) return;
  if (!Finite({x, y})) return;
  const double fx = Px(x), fy = Px(y);
  const int w = PenWidthOf(DrawWidth);
  if (fx < -w || fy < -w || fx > Width() + w || fy > Height() + w) return;
  const int px = static_cast<int>(fx), py = static_cast<int>(fy);
  if (w == 1) {
    SetPixel(px, py, ForeColor);
    return;
  }
  // A round dot of diameter w: centred on the pixel corner (x, y) for even w, on the centre of
  // pixel (x, y) for odd w, covering the pixels whose centres lie within w / 2.
  const bool even = (w % 2) == 0;
  const int lo = even ? -w / 2 : -(w - 1) / 2, hi = even ? w / 2 - 1 : (w - 1) / 2;
  const double off = even ? 0.5 : 0.0, r2 = (w / 2.0) * (w / 2.0);
  const uint32_t c = ForeColor | kOpaque;
  for (int j = lo; j <= hi; ++j) {
    const int yy = py + j;
    if (yy < 0 || yy >= Height()) continue;
    auto* row = reinterpret_cast<uint32_t*>(raster_.scanLine(yy));
    for (int i = lo; i <= hi; ++i) {
      const int xx = px + i;
      if (xx < 0 || xx >= Width()) continue;
      const double dx = i + off, dy = j + off;
      if (dx * dx + dy * dy <= r2) row[xx] = c;
    }
  }
  Touch(QRect(QPoint(px + lo, py + lo), QPoint(px + hi, py + hi)));
}

QRgb Canvas::Point(double x, double y) const {
  if (!Finite({x, y})) return kNoPixel;
  const double fx = Px(x), fy = Px(y);
  if (fx < 0 || fy < 0 || fx >= Width() || fy >= Height()) return kNoPixel;
  return GetPixel(static_cast<int>(fx), static_cast<int>(fy));
}

void Canvas::SetPixel(int x, int y, QRgb color) {
  if (Recording()) companion_->Record(State(), call::SetPixel{x, y, color});
  Nest nest(*this);
  if (!OwnPixels(raster_)) return;
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  reinterpret_cast<uint32_t*>(raster_.scanLine(y))[x] = color | kOpaque;
  Touch(QRect(x, y, 1, 1));
}

QRgb Canvas::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return kNoPixel;
  return reinterpret_cast<const uint32_t*>(raster_.constScanLine(y))[x] | kOpaque;
}

// ---- Pictures ----

void Canvas::PaintPicture(const QImage& picture, double x, double y) {
  PaintPicture(picture, x, y, picture.width(), picture.height(), 0, 0, picture.width(),
               picture.height(), RasterOp::Copy);
}

void Canvas::PaintPicture(const QImage& picture, double x, double y, double width, double height,
                          double srcX, double srcY, double srcWidth, double srcHeight, RasterOp op) {
  PaintPictureOf(picture, QImage(), x, y, width, height, srcX, srcY, srcWidth, srcHeight, op);
}

void Canvas::PaintPictureOf(const QImage& picture, const QImage& companion, double x, double y, double width,
                            double height, double srcX, double srcY, double srcWidth, double srcHeight, RasterOp op) {
  if (!OwnPixels(raster_)) return;
  if (picture.isNull() || !Finite({x, y, width, height, srcX, srcY, srcWidth, srcHeight})) return;
  int64_t dx = RoundHalfEven(x), dy = RoundHalfEven(y);
  int64_t dw = RoundHalfEven(width), dh = RoundHalfEven(height);
  const bool mirrorX = dw < 0, mirrorY = dh < 0;
  // A negative size mirrors; the destination then extends to the left of (upwards from) x (y).
  if (mirrorX) {
    dw = -dw;
    dx -= dw;
  }
  if (mirrorY) {
    dh = -dh;
    dy -= dh;
  }
  const int64_t sx = RoundHalfEven(srcX), sy = RoundHalfEven(srcY);
  const int64_t sw = RoundHalfEven(srcWidth), sh = RoundHalfEven(srcHeight);
  RecordPicture(picture, companion, dx, dy, dw, dh, sx, sy, sw, sh, mirrorX, mirrorY, op);
  Nest nest(*this);
  Touch(Blit(raster_, picture, dx, dy, dw, dh, sx, sy, sw, sh, mirrorX, mirrorY, op));
}

void Canvas::BitBlt(int x, int y, int width, int height, const QImage& source, int srcX, int srcY,
                    RasterOp op) {
  if (!OwnPixels(raster_)) return;
  RecordPicture(source, QImage(), x, y, width, height, srcX, srcY, width, height, false, false, op);
  Nest nest(*this);
  Touch(Blit(raster_, source, x, y, width, height, srcX, srcY, width, height, false, false, op));
}

void Canvas::ExtFloodFill(int x, int y, QRgb color, int fillType) {
  if (!OwnPixels(raster_)) return;
  if (Recording()) companion_->Record(State(), call::FloodFill{x, y, color, fillType, companion_->RecordImage(raster_)});
  Nest nest(*this);
  Touch(FloodFillRegion(raster_, x, y, color, fillType, FillStyle, FillColor));
}

void Canvas::TextOutA(int x, int y, const QString& text) {
  if (text.isEmpty() || !OwnPixels(raster_)) return;
  if (Recording()) companion_->Record(State(), call::Text{x, y, companion_->RecordLabel(text, Font)});
  Nest nest(*this);
  // With a companion the label agrees with its glyphs at k by construction: the companion's half
  // is the same layout drawn at k when the call is replayed.
  Touch(DrawTextLayout(raster_, LayOutText(text, Font), QPointF(x, y), 1.0, ForeColor, k()));
}

// ---- Capture and restore ----

QImage Canvas::Image() const { return raster_; }

QImage Canvas::Capture(const QRect& r) const {
  if (r.isEmpty()) return QImage();
  QImage out(r.size(), QImage::Format_RGB32);
  if (out.isNull()) return out;
  out.fill(kWhite);
  const QRect shared = r & raster_.rect();
  for (int y = shared.top(); y <= shared.bottom(); ++y)
    std::memcpy(reinterpret_cast<uint32_t*>(out.scanLine(y - r.top())) + (shared.left() - r.left()),
                reinterpret_cast<const uint32_t*>(raster_.constScanLine(y)) + shared.left(),
                static_cast<size_t>(shared.width()) * 4);
  return out;
}

void Canvas::CopyInto(QImage& target) const {
  if (target.size() == raster_.size() && target.format() == raster_.format() && target.isDetached() &&
      target.constBits() != raster_.constBits()) {
    const size_t n = static_cast<size_t>(Width()) * 4;
    for (int y = 0; y < Height(); ++y) std::memcpy(target.scanLine(y), raster_.constScanLine(y), n);
    return;
  }
  // When the copy cannot be allocated the target keeps what it held.
  QImage copy = raster_.copy();
  if (!copy.isNull()) target = std::move(copy);
}

void Canvas::SetPicture(const QImage& picture) {
  if (SetPictureOnly(picture)) companion_->Rebuild(raster_);
}

bool Canvas::SetPictureOnly(const QImage& picture) {
  if (!picture.isNull() && picture.constBits() == raster_.constBits() && picture.size() == raster_.size()) {
    MarkAllDamaged();
    return true;
  }
  const QImage src = (picture.isNull() || picture.format() == QImage::Format_RGB32)
                         ? picture
                         : picture.convertToFormat(QImage::Format_RGB32);
  // A picture that could not be converted, or a raster that cannot be made our own, leaves the
  // picture as it was.
  if (src.isNull() != picture.isNull() || !OwnPixels(raster_)) return false;
  const int cw = std::min(src.width(), Width()), ch = std::min(src.height(), Height());
  const size_t rowBytes = static_cast<size_t>(Width()) * 4;
  for (int y = 0; y < Height(); ++y) {
    auto* row = reinterpret_cast<uint32_t*>(raster_.scanLine(y));
    int from = 0;
    if (y < ch) {
      std::memcpy(row, src.constScanLine(y), static_cast<size_t>(cw) * 4);
      from = cw;
    }
    if (from == 0)
      std::memset(row, 0xFF, rowBytes);
    else
      std::fill(row + from, row + Width(), kWhite);
  }
  MarkAllDamaged();
  return true;
}

void Canvas::Clear() {
  if (!OwnPixels(raster_)) return;
  raster_.fill(kWhite);
  MarkAllDamaged();
  companion_->MakeWhite();
}

void Canvas::Restore(const QImage& backing) {
  // The recorded calls go with the pixels they drew.
  companion_->Drop();
  if (backing.size() != raster_.size() || backing.format() != QImage::Format_RGB32) {
    SetPicture(backing);
    damage_ = QRect();
    companion_->ForgetDamage();
    return;
  }
  // Without the backing's own companion its picture is enlarged over what the companion changed.
  companion_->PutBack(backing);
  const bool restored = !damage_.isEmpty() && backing.constBits() != raster_.constBits();
  if (restored && OwnPixels(raster_)) {
    const int x = damage_.left(), n = damage_.width();
    for (int y = damage_.top(); y <= damage_.bottom(); ++y)
      std::memcpy(reinterpret_cast<uint32_t*>(raster_.scanLine(y)) + x,
                  reinterpret_cast<const uint32_t*>(backing.constScanLine(y)) + x,
                  static_cast<size_t>(n) * 4);
    screenDamage_ |= damage_;
  }
  const QRect copied = restored ? damage_ : QRect();
  damage_ = QRect();
  // The picture is the backing again: what the calls from here change is found against it when
  // they are replayed (never this picture's own pixels).
  if (backing.constBits() != raster_.constBits()) companion_->Restored(backing, raster_, copied);
}

void Canvas::MarkAllDamaged() {
  damage_ = raster_.rect();
  screenDamage_ = raster_.rect();
}

QRect Canvas::TakeScreenDamage() {
  const QRect r = screenDamage_;
  screenDamage_ = QRect();
  return r;
}

void Canvas::Touch(const QRect& r) {
  const QRect c = r & raster_.rect();
  if (c.isEmpty()) return;
  damage_ |= c;
  screenDamage_ |= c;
}
