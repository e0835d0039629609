#pragma once
#include <QWidget>

#include "workspace/SurfaceHandlers.h"

// F_PIC: the frame that holds the drawing surface, the two scroll bars and the resize handles.
// When it changes size the main window runs the viewport rule.
class Viewport : public QWidget {
  Q_OBJECT
 public:
  Viewport(SurfaceHandlers* handlers, QWidget* parent);

 protected:
  void resizeEvent(QResizeEvent*) override;

 private:
  SurfaceHandlers* handlers_;
};

// RL, UD, RLUD: 5 x 5 squares at the canvas's right edge, bottom edge and bottom-right corner;
// dragging one resizes the canvas.
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
