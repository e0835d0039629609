#pragma once
#include <QFont>
#include <QRgb>

#include "figures/Canvas.h"

// Saves the canvas's drawing state (colours, fill style, line style and width, font) and puts it
// back when it goes out of scope. A figure that sets a property for part of itself (a dashed hidden
// edge, a solid dot, a label's font) opens one of these first, so that it never leaves the drawing
// state changed, whichever way it returns.
class DrawingStateScope {
 public:
  explicit DrawingStateScope(Canvas& canvas)
      : canvas_(canvas),
        fore_(canvas.ForeColor),
        fill_(canvas.FillColor),
        fillStyle_(canvas.FillStyle),
        drawStyle_(canvas.DrawStyle),
        drawWidth_(canvas.DrawWidth),
        font_(canvas.Font) {}
  ~DrawingStateScope() {
    canvas_.ForeColor = fore_;
    canvas_.FillColor = fill_;
    canvas_.FillStyle = fillStyle_;
    canvas_.DrawStyle = drawStyle_;
    canvas_.DrawWidth = drawWidth_;
    canvas_.Font = font_;
  }
  DrawingStateScope(const DrawingStateScope&) = delete;
  DrawingStateScope& operator=(const DrawingStateScope&) = delete;

 private:
  Canvas& canvas_;
  QRgb fore_, fill_;
  int fillStyle_, drawStyle_, drawWidth_;
  QFont font_;
};
