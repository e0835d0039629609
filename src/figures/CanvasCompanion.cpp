// The canvas's high-resolution companion following the picture (started, restored, resized, set),
// and the canvas's picture pairs.
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

// ---- The companion ----

CanvasCompanion::CanvasCompanion() = default;
CanvasCompanion::~CanvasCompanion() = default;

int CanvasCompanion::RecordLabel(const QString& text, const QFont& font) {
  record_.labels.push_back(CallRecord::Label{text, font});
  return static_cast<int>(record_.labels.size()) - 1;
}

void CanvasCompanion::End() {
  k_ = 1;
  raster_ = QImage();
  scratch_.reset();
}

bool CanvasCompanion::Start(int k, const QImage& picture) {
  Drop();
  damage_ = QRect();
  if (k <= 1 || !FitsAt(k, picture.width(), picture.height())) {
    End();
    return k <= 1;
  }
  k_ = k;
  // A white picture's companion is white: it stays implicit until something reaches it.
  if (AllWhite(picture, picture.rect())) {
    raster_ = QImage();
    return true;
  }
  QImage big = Enlarged(picture, k);
  if (big.isNull()) {
    k_ = 1;
    raster_ = QImage();
    return false;
  }
  raster_ = std::move(big);
  damage_ = raster_.rect();
  return true;
}

bool CanvasCompanion::Allocate(QSize pictureSize) {
  if (k_ <= 1 || !raster_.isNull()) return k_ > 1;
  QImage big(pictureSize * k_, QImage::Format_RGB32);
  if (big.isNull()) {
    Drop();
    damage_ = QRect();
    End();
    return false;
  }
  big.fill(kWhite);
  raster_ = std::move(big);
  return true;
}

void CanvasCompanion::Rebuild(const QImage& picture) {
  Drop();
  damage_ = QRect();
  if (k_ <= 1) return;
  if (AllWhite(picture, picture.rect())) {
    raster_ = QImage();  // implicit again: white
    return;
  }
  if (raster_.size() == picture.size() * k_ && raster::OwnPixels(raster_))
    EnlargeInto(picture, picture.rect(), k_, raster_);
  else if (!Start(k_, picture))
    Start(1, picture);
  damage_ = raster_.rect();
}

void CanvasCompanion::MakeWhite() {
  Drop();
  // A white picture's companion is white: implicit again, its pixels given back.
  raster_ = QImage();
  damage_ = QRect();
}

void CanvasCompanion::Resized(const QImage& picture, int keptWidth, int keptHeight) {
  if (k_ <= 1) return;
  const int width = picture.width(), height = picture.height();
  // The companion keeps its scale while that still fits, its pixels at the top left; otherwise
  // it is made again at the largest scale that fits, from the picture. An implicit one stays
  // implicit: the picture is still all white.
  const int fits = CompanionScaleFor(width, height);
  if (raster_.isNull()) {
    if (fits < k_) Start(fits, picture);
    return;
  }
  QImage big = fits >= k_ ? QImage(width * k_, height * k_, QImage::Format_RGB32) : QImage();
  if (big.isNull()) {
    Start(fits < k_ ? fits : 1, picture);
    return;
  }
  big.fill(kWhite);
  const QRect shared = QRect(0, 0, keptWidth * k_, keptHeight * k_);
  for (int y = 0; y < shared.height(); ++y)
    std::memcpy(big.scanLine(y), raster_.constScanLine(y), static_cast<size_t>(shared.width()) * 4);
  raster_ = std::move(big);
  damage_ = raster_.rect();
  // A cut through a curve can leave its companion reaching into the new edge's blocks while
  // the picture's pixels of it fell beyond: the edges are reconciled.
  if (width < keptWidth + 1 || height < keptHeight + 1) {
    Reconcile(picture, raster_, k_, QRect(0, height - 2, width, 2) & picture.rect());
    Reconcile(picture, raster_, k_, QRect(width - 2, 0, 2, height) & picture.rect());
  }
}

void CanvasCompanion::EnlargeOverDamage(const QImage& backing) {
  if (!raster::OwnPixels(raster_)) return;
  const QRect& c = damage_;
  const QRect r(QPoint(c.left() / k_, c.top() / k_), QPoint(c.right() / k_, c.bottom() / k_));
  EnlargeInto(backing, r, k_, raster_);
}

void CanvasCompanion::PutBackFrom(const QImage& backingCompanion, const QRect& changed) {
  if (!changed.isEmpty() && backingCompanion.constBits() != raster_.constBits() && raster::OwnPixels(raster_))
    CopyRect(backingCompanion, raster_, changed);
}

void CanvasCompanion::FollowRestore(const QImage& backing, const QImage& picture, const QRect& copied) {
  before_ = backing;
  // Where the backing is white it need not be read again at each replay: noted once for each
  // backing (its key changes whenever its pixels do).
  if (before_.cacheKey() != beforeGroupsKey_) {
    NoteColouredGroups(before_, beforeGroups_);
    beforeGroupsKey_ = before_.cacheKey();
    beforeColoured_ = beforeGroups_.Any();
  }
  // An implicit companion is white: colour brought back into the picture reaches it.
  if (raster_.isNull() && beforeColoured_ && !AllWhite(backing, copied)) {
    QImage big = Enlarged(picture, k_);
    if (big.isNull()) Start(1, picture);
    else raster_ = std::move(big);
  }
}

void CanvasCompanion::Take(const QImage& companion, QSize pictureSize, QSize canvasSize) {
  Drop();
  if (pictureSize == canvasSize) {
    raster_ = companion;
    damage_ = raster_.rect();
    return;
  }
  // A picture of another size lands at the top left, white beyond it.
  if (!Allocate(canvasSize) || !raster::OwnPixels(raster_)) return;
  raster_.fill(kWhite);
  CopyRect(companion, raster_, companion.rect());
  damage_ = raster_.rect();
}

// ---- The canvas's pairs ----

void Canvas::RecordPicture(const QImage& image, const QImage& companion, int64_t dx, int64_t dy, int64_t dw,
                           int64_t dh, int64_t sx, int64_t sy, int64_t sw, int64_t sh, bool mirrorX, bool mirrorY,
                           RasterOp op) {
  if (!Recording()) return;
  const int at = companion_->RecordImage(image);
  companion_->RecordImage(companion);
  companion_->Record(State(), call::Picture{dx, dy, dw, dh, sx, sy, sw, sh, mirrorX, mirrorY, op, at});
}

bool Canvas::SetCompanion(int k) { return companion_->Start(k, raster_); }

void Canvas::ChooseCompanion() { SetCompanion(CompanionScaleFor(Width(), Height())); }

void Canvas::CommitCompanion() { companion_->Commit(raster_, damage_); }

QImage Canvas::Companion() const {
  companion_->Commit(raster_, damage_);
  const int k = companion_->k();
  if (k <= 1 || !companion_->Raster().isNull()) return companion_->Raster();
  QImage white(raster_.size() * k, QImage::Format_RGB32);
  if (!white.isNull()) white.fill(kWhite);
  return white;
}

PicturePair Canvas::Pair() const {
  companion_->Commit(raster_, damage_);
  PicturePair out{raster_, companion_->Raster()};
  if (k() > 1 && out.companion.isNull()) out.implicitScale = k();
  return out;
}

PicturePair Canvas::CapturePair(const QRect& r) const {
  companion_->Commit(raster_, damage_);
  const int k = companion_->k();
  const QImage& big = companion_->Raster();
  PicturePair out{Capture(r), QImage()};
  if (k > 1 && big.isNull()) {
    out.implicitScale = k;
    return out;
  }
  if (k > 1 && !big.isNull() && !out.image.isNull()) {
    const QRect kr(r.x() * k, r.y() * k, r.width() * k, r.height() * k);
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
  companion_->Commit(raster_, damage_);
  const QImage& big = companion_->Raster();
  target.implicitScale = k() > 1 && big.isNull() ? k() : 1;
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
  const int k = companion_->k();
  if (k <= 1 || picture.companion.isNull() || picture.companion.size() != picture.image.size() * k ||
      picture.companion.format() != QImage::Format_RGB32) {
    SetPicture(picture.image);  // the companion follows, enlarged from the picture
    return;
  }
  if (!SetPictureOnly(picture.image)) return;
  companion_->Take(picture.companion, picture.image.size(), raster_.size());
}

void Canvas::Restore(const PicturePair& backing) {
  const int k = companion_->k();
  const bool fits = k > 1 && !backing.companion.isNull() && backing.image.size() == raster_.size() &&
                    backing.companion.size() == raster_.size() * k &&
                    backing.companion.format() == QImage::Format_RGB32;
  if (fits && companion_->Raster().isNull()) {
    // A backing that holds a companion while ours is implicit: it comes back whole.
    SetPicture(backing);
    damage_ = QRect();
    companion_->ForgetDamage();
    return;
  }
  if (!fits) {
    Restore(backing.image);
    return;
  }
  companion_->Drop();
  const QRect changed = companion_->TakeDamage();
  Restore(backing.image);  // the 1x half, without touching the companion
  companion_->PutBackFrom(backing.companion, changed);
}

void Canvas::PaintPicture(const PicturePair& picture, double x, double y, double width, double height, double srcX,
                          double srcY, double srcWidth, double srcHeight, RasterOp op) {
  PaintPictureOf(picture.image, picture.companion, x, y, width, height, srcX, srcY, srcWidth, srcHeight, op);
}
