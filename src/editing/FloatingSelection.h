#pragma once
#include <QImage>
#include <QPointF>
#include <QRect>

#include "figures/PicturePair.h"

class Canvas;
class UndoHistory;

// The floating selection: a rectangle of the picture lifted off it, shown by a frame, that can be
// dragged, nudged, flipped, turned, copied and deleted. It exists exactly while its frame is
// visible.
//
// While it floats the canvas is the backing copy (the picture without the floating pixels, kept by
// the undo history) with the selection's pixels combined over it by AND at the frame's place, so
// white pixels of the selection let the picture show through. Every step puts the backing copy back
// and draws the pixels again: the canvas always holds the picture as last drawn, and hiding the
// frame simply leaves it there.
//
// Turning always starts again from the selection as it was made (the rotation base) with the
// accumulated angle, so that repeated small steps do not blur the picture; a flip mirrors the base
// too and negates the angle, so flips and turns mix in any order.
//
// Each of its pictures has a companion half at the canvas's scale (null for a pasted picture,
// which is enlarged where it is drawn): the companion follows every move, flip and turn.
class FloatingSelection {
 public:
  // ---- State ----
  bool Visible() const { return visible_; }
  // The frame's one-pixel border (off while a drag of the selection is under way).
  bool Border() const { return border_; }
  // The frame, in canvas pixels (real), and on whole pixels as the screen shows it.
  double Left() const { return left_; }
  double Top() const { return top_; }
  double Width() const { return width_; }
  double Height() const { return height_; }
  QRect FrameRect() const;
  // The old area was cleared (or never needs clearing) and the backing copy taken.
  bool Lifted() const { return lifted_; }
  // Moved by mouse or keyboard since it was made.
  bool Moved() const { return moved_; }
  // A mouse drag of the selection is under way.
  bool Dragging() const { return dragging_; }
  // The accumulated turn, degrees, clockwise positive.
  double Angle() const { return angle_; }
  // The floating pixels (as taken, or as last flipped or turned).
  const QImage& Pixels() const { return pixels_; }
  // The rotation base and where the selection was made.
  const QImage& Base() const { return base_; }
  // The floating pixels at the frame's size with their companion half (CopyOut at k times).
  PicturePair PixelPair();

  // ---- Making and ending ----
  // A selection of the canvas rectangle at (left, top) of width x height: its pixels are captured
  // (white beyond the picture) and become the rotation base; the frame shows with its border, not
  // lifted, not moved, angle 0. The canvas is unchanged.
  void Make(const Canvas& canvas, double left, double top, double width, double height);
  // A pasted picture with its top-left corner at `at` (the canvas's top-left corner for 粘贴, the
  // drop point for a dropped picture), already lifted (nothing under it is ever cleared), frame
  // with border; it becomes the rotation base too. The caller draws it.
  void Paste(const QImage& picture, QPoint at = QPoint(0, 0));
  // Hides the frame and ends every drag: the pixels stay in the picture as last drawn.
  void Hide();
  // Forgets the pixels and the rotation base (another tool was chosen).
  void Clear();

  // ---- Moving ----
  // A left press on the frame at `at` (canvas pixels): acts only on a visible frame with no drag
  // under way. The first press lifts the selection: its old area is cleared unless `copy` (Ctrl
  // held: the drag copies), and the backing copy is taken. Returns true when it acted.
  bool Press(Canvas& canvas, UndoHistory& history, QPointF at, bool copy);
  // The pointer at `at` while dragging: the pixels are redrawn moved by the whole-pixel offset
  // from the press. Returns true when it acted.
  bool DragTo(Canvas& canvas, const UndoHistory& history, QPointF at);
  // The release of the drag at `at`: the pixels land there, the frame follows, lifted and moved.
  // Returns true when it acted (the picture changed).
  bool Release(Canvas& canvas, const UndoHistory& history, QPointF at);
  // One arrow-key step of (dx, dy) pixels: lifts the selection on the first nudge (clearing its old
  // area unless `copy`) and redraws it one step away. Only a visible selection with no drag.
  bool Nudge(Canvas& canvas, UndoHistory& history, int dx, int dy, bool copy);

  // ---- Flip and turn ----
  // Mirrors the floating pixels left-right (or top-bottom) in place, the base too, and negates the
  // angle. Only a visible selection. Returns true when it acted.
  bool Flip(Canvas& canvas, const UndoHistory& history, bool horizontal);
  // Side of the square that holds the selection at any angle.
  int RotationSquareSide() const;
  // Turns by `degrees` more (clockwise positive): renders the base at the new angle into a white
  // square whose side is the base's diagonal and places it: an unmoved selection turns about its
  // centre (the square's centre pixel on the base's centre pixel), a moved one keeps its top-left
  // corner. The place where the selection was made is cleared. Returns false, changing nothing,
  // when the square would be larger than a picture can be.
  bool Rotate(Canvas& canvas, const UndoHistory& history, double degrees);

  // ---- Clipboard ----
  // The floating pixels at the frame's size (what Copy puts on the clipboard).
  QImage CopyOut();
  // Takes the selection away: a lifted one vanishes and its old area stays as the lift left it; an
  // unlifted one is cleared to white (exactly the frame's box). Hides the frame. Returns true when
  // it acted (the frame was visible).
  bool Delete(Canvas& canvas, const UndoHistory& history);

 private:
  // Puts the backing copy back and draws the pixels at (left, top), width x height, by AND.
  void DrawAt(Canvas& canvas, const UndoHistory& history, double left, double top, double width,
              double height) const;

  double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = false, border_ = false;
  bool lifted_ = false, moved_ = false, dragging_ = false;
  bool fromCanvas_ = false;  // made on the canvas (its place is cleared when turned), not pasted
  QImage pixels_, pixelsK_;
  // The frame recorded at each press, and where the press was.
  double originLeft_ = 0, originTop_ = 0, originWidth_ = 0, originHeight_ = 0;
  QPointF pressAt_;
  QPointF offset_;
  // The rotation base, where it was made, the angle, and the square the base is turned into.
  QImage base_, baseK_;
  double baseLeft_ = 0, baseTop_ = 0;
  double angle_ = 0;
  QImage turned_, turnedK_;
};
