#pragma once
#include <QCursor>
#include <QPointF>
#include <QWidget>

#include "workspace/PictureView.h"
#include "workspace/SurfaceHandlers.h"

class Canvas;

// Draw_PIC: shows the canvas as the view transform places it (never smoothed at any zoom or
// display scale), the guide lines and the background pattern over it, and hands its mouse, key and
// focus events to the main window's handlers, in picture pixels. `view` is the drawing area's
// transform, which the area keeps as it stands.
class DrawingSurface : public QWidget {
  Q_OBJECT
 public:
  DrawingSurface(SurfaceHandlers* handlers, const Canvas& picture, const ViewTransform& view, QWidget* parent);

  // Guide lines (SzLine vertical through x, SpLine horizontal through y; picture pixels), never in
  // the picture.
  void ShowGuideLines(bool visible);
  bool GuideLinesVisible() const { return guideVisible_; }
  void MoveGuideLines(double x, double y);
  // Background pattern BGLine: a hatched rectangle over the picture of `size` (picture pixels; it
  // keeps the size it got when shown), or none.
  void ShowBackground(bool visible, QSize size);
  // The pointer over the picture for the chosen tool. The eraser's (`eraserSquare`) outlines the
  // square one eraser step paints, at the zoomed size.
  void SetToolPointer(const QCursor& pointer, bool eraserSquare);
  // The zoom changed: the eraser's pointer follows it.
  void RefreshPointer();

 protected:
  bool event(QEvent*) override;
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void keyReleaseEvent(QKeyEvent*) override;
  void focusInEvent(QFocusEvent*) override;
  void focusOutEvent(QFocusEvent*) override;
  bool focusNextPrevChild(bool) override { return false; }

 private:
  QPointF PictureAt(const QMouseEvent* e) const;

  SurfaceHandlers* handlers_;
  const Canvas& picture_;
  const ViewTransform& view_;
  PictureView pictureView_;
  bool guideVisible_ = false;
  double guideX_ = 0, guideY_ = 0;  // picture pixels
  bool backgroundVisible_ = false;
  QSize backgroundSize_;  // picture pixels
  QCursor toolPointer_;
  bool eraserSquare_ = false;
};

// SelectIMG: the frame of the floating selection, a transparent rectangle over the canvas with an
// optional border one device pixel wide at any zoom. Presses on it move the selection; a right
// release opens the pop-up.
class SelectionFrame : public QWidget {
  Q_OBJECT
 public:
  SelectionFrame(SurfaceHandlers* handlers, const ViewTransform& view, QWidget* parent);
  void SetBorder(bool border);
  bool HasBorder() const { return border_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  // The pointer in picture pixels from the frame's top-left corner.
  QPointF PictureAt(const QMouseEvent* e) const;

  SurfaceHandlers* handlers_;
  const ViewTransform& view_;
  bool border_ = false;
};
