#pragma once
#include <QFont>

#include "figures/Canvas.h"
#include "figures/PenAndBrush.h"

// Saves the canvas's drawing state (colours, fill style, line style and width, font) and puts it
// back when it goes out of scope. A figure that sets a property for part of itself (a dashed hidden
// edge, a solid dot, a label's font) opens one of these first, so that it never leaves the drawing
// state changed, whichever way it returns.
class DrawingStateScope {
 public:
  explicit DrawingStateScope(Canvas& canvas) : canvas_(canvas), state_(canvas.State()), font_(canvas.Font) {}
  ~DrawingStateScope() {
    canvas_.SetState(state_);
    canvas_.Font = font_;
  }
  DrawingStateScope(const DrawingStateScope&) = delete;
  DrawingStateScope& operator=(const DrawingStateScope&) = delete;

 private:
  Canvas& canvas_;
  const PenAndBrush state_;
  const QFont font_;
};
