#pragma once
#include <QWidget>

#include "workspace/SurfaceHandlers.h"

// RL, UD, RLUD: the viewport's 5 x 5 squares at the canvas's right edge, bottom edge and
// bottom-right corner; dragging one resizes the canvas. They hand the pointer to the main window
// in their own coordinates (widget units); the drawing area turns it into picture pixels.
class ResizeHandle : public QWidget {
  Q_OBJECT
 public:
  ResizeHandle(SurfaceHandlers* handlers, SurfaceHandlers::Handle which, QWidget* parent);
  const SurfaceHandlers::Handle which;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;

 private:
  SurfaceHandlers* handlers_;
};
