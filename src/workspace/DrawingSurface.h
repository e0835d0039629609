#pragma once
#include <QPointF>
#include <QWidget>

#include "workspace/SurfaceHandlers.h"

class Canvas;

// The canvas pixel under the pointer at `position` (device-independent pixels of the surface). At
// a display scale above 100 % it is the one that shows the centre of the screen pixel the pointer
// is on; at 100 % and below the position is unchanged.
QPointF CanvasPoint(QPointF position, double devicePixelRatio);

// Draw_PIC: shows the canvas one picture pixel to one device-independent pixel (never smoothed at
// any display scale), the guide lines and the background pattern over it, and hands its mouse,
// key and focus events to the main window's handlers.
class DrawingSurface : public QWidget {
  Q_OBJECT
 public:
  DrawingSurface(SurfaceHandlers* handlers, const Canvas& picture, QWidget* parent);

  // Guide lines (SzLine vertical through x, SpLine horizontal through y), never in the picture.
  void ShowGuideLines(bool visible);
  bool GuideLinesVisible() const { return guideVisible_; }
  void MoveGuideLines(double x, double y);
  // Background pattern BGLine: a hatched rectangle over the picture of `size` (it keeps the size it
  // got when shown), or none.
  void ShowBackground(bool visible, QSize size);

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
  SurfaceHandlers* handlers_;
  const Canvas& picture_;
  bool guideVisible_ = false;
  double guideX_ = 0, guideY_ = 0;
  bool backgroundVisible_ = false;
  QSize backgroundSize_;
};

// SelectIMG: the frame of the floating selection, a transparent rectangle over the canvas with an
// optional one-pixel border. Presses on it move the selection; a right release opens the pop-up.
class SelectionFrame : public QWidget {
  Q_OBJECT
 public:
  SelectionFrame(SurfaceHandlers* handlers, QWidget* parent);
  void SetBorder(bool border);
  bool HasBorder() const { return border_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  SurfaceHandlers* handlers_;
  bool border_ = false;
};
