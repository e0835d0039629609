#pragma once
#include <QWidget>

class ImageDraw;

// Draw_PIC: shows the canvas one picture pixel to one device-independent pixel (never smoothed at
// any display scale), the guide lines and the background pattern over it, and hands its mouse,
// key and focus events to the main window's handlers.
class DrawingSurface : public QWidget {
  Q_OBJECT
 public:
  explicit DrawingSurface(ImageDraw* owner, QWidget* parent);

  // Guide lines (SzLine vertical through szX, SpLine horizontal through spY), never in the picture.
  bool guideVisible = false;
  double szX = 0, spY = 0;
  // Background pattern BGLine: a hatched rectangle over the picture of the size it got when shown.
  bool bgVisible = false;
  QSize bgSize;

  // Repaints what the canvas changed since the last call (only the damaged rectangle).
  void RefreshDamage();

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
  ImageDraw* owner_;
};

// SelectIMG: the frame of the floating selection, a transparent rectangle over the canvas with an
// optional one-pixel border. Presses on it move the selection; a right release opens the pop-up.
class SelectionFrame : public QWidget {
  Q_OBJECT
 public:
  SelectionFrame(ImageDraw* owner, QWidget* parent);
  bool border = false;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  ImageDraw* owner_;
};
