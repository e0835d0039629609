#pragma once
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

#include <memory>
#include <utility>

#include "figures/BlockMarks.h"
#include "figures/CanvasCall.h"
#include "figures/PenAndBrush.h"

class Canvas;

// The canvas's high-resolution companion: the picture at k x the size (picture pixel c is
// companion pixels k*c ... k*c + k - 1), never shown, and what it needs to follow the picture.
// The canvas owns one and calls it; it never reads the canvas, which hands it the picture's
// raster (and the picture's damage) wherever the companion follows the picture.
//
// Record: every outermost drawing call of the canvas is recorded (CanvasCall.h), only the
// picture being drawn. Replay: Commit() replays the record at k times the detail
// (CompanionReplay.cpp), then Reconcile: the companion is made to agree with the picture within
// one pixel both ways where the replay or the picture changed (CompanionReconcile.cpp). A
// restore drops the record with the pixels it drew.
//
// The companion of a picture that is all white is implicit: its raster is null, white at k, until
// the first change that reaches it (a replay, colour restored or set into the picture, a picture
// set with a companion of its own).
class CanvasCompanion {
 public:
  CanvasCompanion();
  ~CanvasCompanion();
  CanvasCompanion(const CanvasCompanion&) = delete;
  CanvasCompanion& operator=(const CanvasCompanion&) = delete;

  // k companion pixels per picture pixel along a side; 1 when there is none.
  int k() const { return k_; }
  // The companion's pixels; null while it is implicit, and when there is none.
  const QImage& Raster() const { return raster_; }
  // Calls recorded and not yet replayed.
  int PendingCalls() const { return static_cast<int>(record_.calls.size()); }

  // ---- Record ----
  // Notes a drawing call (only while a companion is kept; the canvas asks k() first).
  template <class Shape>
  void Record(const PenAndBrush& state, Shape&& shape) {
    record_.calls.push_back(CanvasCall{state, call::Shape(std::in_place_type<std::decay_t<Shape>>, std::forward<Shape>(shape))});
  }
  template <class P>
  call::Points RecordPoints(const P* points, int count) { return record_.AddPoints(points, count); }
  int RecordImage(const QImage& image) { return record_.AddImage(image); }
  int RecordLabel(const QString& text, const QFont& font);
  // Replays the record on the companion of `picture` (whose pixels changed within `damage` since
  // the last restore) and reconciles the two. Cheap when nothing is recorded.
  void Commit(const QImage& picture, const QRect& damage);

  // ---- Following the picture ----
  // Starts the companion of `picture` at scale k (2..4), the picture enlarged by k, or ends it
  // (k <= 1). False, keeping no companion, when k x the picture would be too large.
  bool Start(int k, const QImage& picture);
  // After a change of the whole picture: enlarged from it, or implicit when it is all white.
  void Rebuild(const QImage& picture);
  // The picture was cleared to white: implicit again, its pixels given back.
  void MakeWhite();
  // The picture was resized to `picture`, whose top-left keptWidth x keptHeight pixels are the
  // old picture's.
  void Resized(const QImage& picture, int keptWidth, int keptHeight);
  // Drops the record and what the replay knew of the picture before it.
  void Drop() {
    record_.clear();
    before_ = QImage();
  }
  // Forgets what changed since the last restore (the picture was put back whole).
  void ForgetDamage() { damage_ = QRect(); }
  // The companion pixels changed since the last restore; forgets them.
  QRect TakeDamage() { return std::exchange(damage_, QRect()); }
  // A restore of the picture from `backing` (of the picture's size) without a companion of its own:
  // the backing enlarged over what the companion changed.
  void PutBack(const QImage& backing) {
    if (k_ > 1 && !damage_.isEmpty()) EnlargeOverDamage(backing);
    damage_ = QRect();
  }
  // Puts back the companion pixels `changed` from the companion half of a backing pair (k x the
  // picture's size).
  void PutBackFrom(const QImage& backingCompanion, const QRect& changed);
  // After the picture was restored from `backing` (the rectangle `copied` of it copied back):
  // what later calls change is found against it, and colour it brought into a white picture
  // reaches an implicit companion.
  void Restored(const QImage& backing, const QImage& picture, const QRect& copied) {
    if (k_ > 1) FollowRestore(backing, picture, copied);
  }
  // The companion of a picture set from a pair: `companion` (k x pictureSize, the picture's new
  // size being canvasSize), landing at the top left, white beyond it.
  void Take(const QImage& companion, QSize pictureSize, QSize canvasSize);

 private:
  // An implicit companion becomes white pixels of its own (before the first change reaches it);
  // false, ending the companion, when they cannot be had.
  bool Allocate(QSize pictureSize);
  void End();
  void EnlargeOverDamage(const QImage& backing);
  void FollowRestore(const QImage& backing, const QImage& picture, const QRect& copied);

  int k_ = 1;
  QImage raster_;     // k x the picture; null while the companion is implicit (white)
  QRect damage_;      // companion pixels changed since the last restore
  CallRecord record_;
  BlockMarks marks_;  // per picture pixel: its block was drawn on by the replay
  // The picture's size, every pixel unpainted: where calls are drawn at 1x to learn their pixels.
  std::unique_ptr<Canvas> scratch_;
  // The picture as it was when the recorded calls began (the backing last restored), or null when
  // that is not known; it shares the backing's pixels.
  QImage before_;
  BlockMarks beforeGroups_;    // runs of sixteen pixels of before_ that hold a colour
  qint64 beforeGroupsKey_ = 0;  // the cache key of the picture beforeGroups_ describes
  bool beforeColoured_ = false;  // that picture holds a colour other than white
};
