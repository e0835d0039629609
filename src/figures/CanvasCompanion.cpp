// The canvas's high-resolution companion: recording the drawing calls, and the picture pairs.
#include <algorithm>
#include <cstring>
#include <vector>

#include "figures/Canvas.h"
#include "figures/Raster.h"

using namespace raster;


namespace {

// Every smaller scale fits where a larger one does.
bool FitsAt(int k, int width, int height) { return k >= 2 && CompanionScaleFor(width, height) >= k; }

// Copies the rectangle `r` of `from` into `to` (both of one size).
void CopyRect(const QImage& from, QImage& to, const QRect& r) {
  const QRect c = r & to.rect();
  if (c.isEmpty()) return;
  for (int y = c.top(); y <= c.bottom(); ++y)
    std::memcpy(reinterpret_cast<uint32_t*>(to.scanLine(y)) + c.left(),
                reinterpret_cast<const uint32_t*>(from.constScanLine(y)) + c.left(),
                static_cast<size_t>(c.width()) * 4);
}

}  // namespace

bool raster::AllWhite(const QImage& image, const QRect& r) {
  const QRect c = r & image.rect();
  for (int y = c.top(); y <= c.bottom(); ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
    uint32_t ink = 0;
    for (int x = c.left(); x <= c.right(); ++x) ink |= ~row[x];
    if (ink & 0x00FFFFFFu) return false;
  }
  return true;
}

// ---- Recording ----

CanvasCall* Canvas::Record(CanvasCall::Kind kind) {
  if (k_ <= 1 || depth_ > 0) return nullptr;
  CanvasCall& c = calls_.emplace_back();
  c.kind = kind;
  c.fore = ForeColor;
  c.fill = FillColor;
  c.color = ForeColor;
  c.fillStyle = FillStyle;
  c.drawStyle = DrawStyle;
  c.drawWidth = DrawWidth;
  return &c;
}

void Canvas::RecordPoints(CanvasCall& call, const QPointF* points, int count) {
  call.first = static_cast<int>(callPoints_.size());
  call.count = points && count > 0 ? count : 0;
  callPoints_.insert(callPoints_.end(), points, points + call.count);
}

void Canvas::RecordPicture(const QImage& image, const QImage& companion, int64_t dx, int64_t dy, int64_t dw,
                           int64_t dh, int64_t sx, int64_t sy, int64_t sw, int64_t sh, bool mirrorX, bool mirrorY,
                           RasterOp op) {
  CanvasCall* c = Record(CanvasCall::Kind::Picture);
  if (!c) return;
  const double v[10] = {double(dx), double(dy), double(dw), double(dh), double(sx), double(sy),
                        double(sw), double(sh), mirrorX ? 1.0 : 0.0, mirrorY ? 1.0 : 0.0};
  std::copy(v, v + 10, c->v);
  c->flag = op == RasterOp::And;
  c->data = static_cast<int>(callData_.size());
  callData_.push_back(CanvasCallData{image, companion, QString(), QFont()});
}

// ---- The companion ----

void Canvas::DropCalls() const {
  calls_.clear(), callPoints_.clear(), callData_.clear(), before_ = QImage();
}

bool Canvas::SetCompanion(int k) {
  DropCalls();
  companionDamage_ = QRect();
  if (k <= 1 || !FitsAt(k, Width(), Height())) {
    k_ = 1;
    companion_ = QImage();
    scratch_ = QImage();
    return k <= 1;
  }
  k_ = k;
  // A white picture's companion is white: it stays implicit until something reaches it.
  if (AllWhite(raster_, raster_.rect())) {
    companion_ = QImage();
    return true;
  }
  QImage big = Enlarged(raster_, k);
  if (big.isNull()) {
    k_ = 1;
    companion_ = QImage();
    return false;
  }
  companion_ = std::move(big);
  companionDamage_ = companion_.rect();
  return true;
}

void Canvas::ChooseCompanion() { SetCompanion(CompanionScaleFor(Width(), Height())); }

bool Canvas::AllocateCompanion() {
  if (k_ <= 1 || !companion_.isNull()) return k_ > 1;
  QImage big(raster_.size() * k_, QImage::Format_RGB32);
  if (big.isNull()) {
    SetCompanion(1);
    return false;
  }
  big.fill(kWhite);
  companion_ = std::move(big);
  return true;
}

QImage Canvas::Companion() const {
  const_cast<Canvas*>(this)->CommitCompanion();
  if (k_ <= 1 || !companion_.isNull()) return companion_;
  QImage white(raster_.size() * k_, QImage::Format_RGB32);
  if (!white.isNull()) white.fill(kWhite);
  return white;
}

PicturePair Canvas::Pair() const {
  const_cast<Canvas*>(this)->CommitCompanion();
  PicturePair out{raster_, companion_};
  if (k_ > 1 && companion_.isNull()) out.implicitScale = k_;
  return out;
}

PicturePair Canvas::CapturePair(const QRect& r) const {
  const_cast<Canvas*>(this)->CommitCompanion();
  PicturePair out{Capture(r), QImage()};
  if (k_ > 1 && companion_.isNull()) {
    out.implicitScale = k_;
    return out;
  }
  const QImage& big = companion_;
  if (k_ > 1 && !big.isNull() && !out.image.isNull()) {
    const QRect kr(r.x() * k_, r.y() * k_, r.width() * k_, r.height() * k_);
    QImage part(kr.size(), QImage::Format_RGB32);
    if (!part.isNull()) {
      part.fill(kWhite);
      const QRect shared = kr & big.rect();
      for (int y = shared.top(); y <= shared.bottom(); ++y)
        std::memcpy(reinterpret_cast<uint32_t*>(part.scanLine(y - kr.top())) + (shared.left() - kr.left()),
                    reinterpret_cast<const uint32_t*>(big.constScanLine(y)) + shared.left(),
                    static_cast<size_t>(shared.width()) * 4);
      out.companion = std::move(part);
    }
  }
  return out;
}

void Canvas::CopyInto(PicturePair& target) const {
  CopyInto(target.image);
  const_cast<Canvas*>(this)->CommitCompanion();
  const QImage& big = companion_;
  target.implicitScale = k_ > 1 && big.isNull() ? k_ : 1;
  if (big.isNull()) {
    target.companion = QImage();
    return;
  }
  if (target.companion.size() == big.size() && target.companion.format() == big.format() &&
      target.companion.isDetached() && target.companion.constBits() != big.constBits()) {
    std::memcpy(target.companion.bits(), big.constBits(), static_cast<size_t>(big.sizeInBytes()));
    return;
  }
  QImage copy = big.copy();
  target.companion = copy.isNull() ? QImage() : std::move(copy);
}

void Canvas::SetPicture(const PicturePair& picture) {
  if (k_ <= 1 || picture.companion.isNull() || picture.companion.size() != picture.image.size() * k_ ||
      picture.companion.format() != QImage::Format_RGB32) {
    SetPicture(picture.image);  // the companion follows, enlarged from the picture
    return;
  }
  if (!SetPictureOnly(picture.image)) return;
  DropCalls();
  if (picture.image.size() == raster_.size()) {
    companion_ = picture.companion;
    companionDamage_ = companion_.rect();
    return;
  }
  // A picture of another size lands at the top left, white beyond it.
  if (!AllocateCompanion() || !raster::OwnPixels(companion_)) return;
  companion_.fill(kWhite);
  CopyRect(picture.companion, companion_, picture.companion.rect());
  companionDamage_ = companion_.rect();
}

void Canvas::Restore(const PicturePair& backing) {
  const bool fits = k_ > 1 && !backing.companion.isNull() && backing.image.size() == raster_.size() &&
                    backing.companion.size() == raster_.size() * k_ &&
                    backing.companion.format() == QImage::Format_RGB32;
  if (fits && companion_.isNull()) {
    // A backing that holds a companion while ours is implicit: it comes back whole.
    SetPicture(backing);
    damage_ = QRect();
    companionDamage_ = QRect();
    return;
  }
  if (!fits) {
    Restore(backing.image);
    return;
  }
  const QRect changed = companionDamage_;
  DropCalls();
  companionDamage_ = QRect();
  Nest nest(*this);
  Restore(backing.image);  // the 1x half, without touching the companion
  if (!changed.isEmpty() && backing.companion.constBits() != companion_.constBits() && raster::OwnPixels(companion_))
    CopyRect(backing.companion, companion_, changed);
}

void Canvas::PaintPicture(const PicturePair& picture, double x, double y, double width, double height, double srcX,
                          double srcY, double srcWidth, double srcHeight, RasterOp op) {
  if (k_ <= 1 || depth_ > 0 || picture.companion.isNull()) {
    PaintPicture(picture.image, x, y, width, height, srcX, srcY, srcWidth, srcHeight, op);
    return;
  }
  const size_t before = calls_.size();
  PaintPicture(picture.image, x, y, width, height, srcX, srcY, srcWidth, srcHeight, op);
  // The call just recorded takes the pair's own companion.
  if (calls_.size() == before + 1 && calls_.back().kind == CanvasCall::Kind::Picture)
    callData_[static_cast<size_t>(calls_.back().data)].companion = picture.companion;
}

void Canvas::RebuildCompanion() {
  DropCalls();
  companionDamage_ = QRect();
  if (k_ <= 1) return;
  if (AllWhite(raster_, raster_.rect())) {
    companion_ = QImage();  // implicit again: white
    return;
  }
  if (companion_.size() == raster_.size() * k_ && raster::OwnPixels(companion_))
    EnlargeInto(raster_, raster_.rect(), k_, companion_);
  else if (!SetCompanion(k_))
    SetCompanion(1);
  companionDamage_ = companion_.rect();
}
