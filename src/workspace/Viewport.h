#pragma once
#include <QWidget>

class ImageDraw;

// F_PIC: the frame that holds the drawing surface, the two scroll bars and the resize handles.
// When it changes size the main window runs the viewport rule.
class Viewport : public QWidget {
  Q_OBJECT
 public:
  Viewport(ImageDraw* owner, QWidget* parent);

 protected:
  void resizeEvent(QResizeEvent*) override;

 private:
  ImageDraw* owner_;
};

// RL, UD, RLUD: 5 x 5 squares at the canvas's right edge, bottom edge and bottom-right corner;
// dragging one resizes the canvas.
class ResizeHandle : public QWidget {
  Q_OBJECT
 public:
  ResizeHandle(ImageDraw* owner, QWidget* parent, Qt::CursorShape shape, bool horizontal, bool vertical);
  const bool horizontal;  // changes the width
  const bool vertical;    // changes the height

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;

 private:
  ImageDraw* owner_;
};
