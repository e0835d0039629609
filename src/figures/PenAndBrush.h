#pragma once
#include <QRgb>

// The pen and brush every drawing call of the canvas reads until they are changed. The canvas is
// one (its fields are the canvas's own), a call recorded for the companion keeps the one it drew
// with, and a figure that changes them for part of itself saves and puts back one whole.
struct PenAndBrush {
  // Line styles (DrawStyle).
  static constexpr int kSolid = 0, kDash = 1, kDot = 2, kDashDot = 3;
  // Fill styles (FillStyle): 0 solid, 1 transparent, 2 horizontal, 3 vertical, 4 upward diagonal,
  // 5 downward diagonal, 6 cross-hatch, 7 diagonal cross-hatch.
  static constexpr int kFillSolid = 0, kFillTransparent = 1;

  QRgb ForeColor = qRgb(0, 0, 0);
  QRgb FillColor = qRgb(0, 0, 0);
  int FillStyle = kFillTransparent;  // 0..7
  int DrawStyle = kSolid;            // 0..3; patterned styles take effect only at DrawWidth 1
  int DrawWidth = 1;                 // pixels, >= 1
};
