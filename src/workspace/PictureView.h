#pragma once
#include <QImage>
#include <QRect>
#include <vector>

#include "workspace/ViewTransform.h"

class QPainter;

// The drawing surface's paint code for the picture itself: `area` (widget units, from the
// picture's top-left) of `picture` as the view shows it, onto a painter whose coordinates are the
// surface's. At 1:1 the pixels are copied; above, each picture pixel becomes the block of device
// pixels the view gives it (never smoothed), with the pixel grid at 600 % and above. Only the
// device pixels of `area` are ever scaled: the cost follows the damage, not the picture.
class PictureView {
 public:
  void Paint(QPainter& painter, const QImage& picture, const ViewTransform& view, QRect area);

 private:
  QImage scaled_;                    // the device pixels of the area, reused from paint to paint
  // The device columns of the area as runs that show one picture column each.
  struct Run {
    int column;  // the picture column
    int first;   // its first device column in the area
    int count;   // how many device columns show it
    bool begins;  // the run starts the picture pixel (its first column carries the grid)
  };
  std::vector<Run> runs_;
  std::vector<QRgb> plainRow_;       // one picture row expanded to device columns, grid columns shaded
  std::vector<QRgb> gridRow_;        // the same row as a picture pixel's first device row shows it
};
