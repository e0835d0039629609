#pragma once
#include <QPointF>
#include <QRect>
#include <QSize>
#include <array>
#include <cmath>

// Where the picture sits on screen: the one mapping between picture pixels, positions on the
// drawing surface and the screen's device pixels. Three kinds of coordinates meet here:
// - picture pixels (the canvas's own; whole pixels at every zoom above 1:1),
// - widget units: positions on the drawing surface Draw_PIC, from the picture's top-left corner,
//   as mouse events and widget geometry carry them; one picture pixel is `zoom` widget units,
// - device pixels: the screen's own, `devicePixelRatio` to a widget unit.
// The drawing area owns one of these; everything that maps between the picture and the screen
// asks it.
struct ViewTransform {
  int zoom = 1;                 // widget units per picture pixel: 1, 2, 3, 4, 6 or 8
  double devicePixelRatio = 1;  // device pixels per widget unit (a ratio that is no number: 1)

  // Device pixels per widget unit, as used: an unusable or non-positive ratio counts as 1.
  double Ratio() const {
    return std::isfinite(devicePixelRatio) && devicePixelRatio > 0 ? devicePixelRatio : 1.0;
  }
  // Device pixels per picture pixel.
  double Scale() const { return zoom * Ratio(); }
  // One picture pixel to one device pixel: positions reach the picture unchanged.
  bool OneToOne() const { return !(Scale() > 1); }

  // The pointer rule: the picture point under the pointer at `widget`. Above 1:1 it is the picture
  // pixel the screen shows under the centre of the device pixel the pointer is on (a whole pixel);
  // at 1:1 the position itself.
  QPointF PicturePoint(QPointF widget) const;
  // The same for a position in a widget lying on the surface at `origin` (widget units, a whole
  // number of picture pixels from the picture's top-left), relative to the picture pixel at that
  // origin. At 1:1 the position itself.
  QPointF PicturePointIn(QPointF local, QPoint origin) const;
  // The picture pixel a device pixel shows (device pixel 0 is the picture's first). A device
  // pixel whose centre falls exactly on the border of two picture pixels shows the first.
  int PixelAtDevice(int device) const {
    // Picture pixel k covers the device pixels whose centre lies in (k * s, (k + 1) * s].
    return static_cast<int>(std::ceil((device + 0.5) / Scale())) - 1;
  }

  // Where the pointer stands over picture point `picture` (widget units): at 1:1 the point itself,
  // above it the centre of the picture pixel. The pointer rule gives the pixel back.
  QPointF WidgetPoint(QPointF picture) const;
  // The widget area that shows picture pixels `picture`, and a picture's size on screen.
  QRect WidgetRect(QRect picture) const;
  QSize WidgetSize(QSize picture) const { return picture * zoom; }
  // A line one device pixel wide just outside the widget rectangle `inner` (widget units), as its
  // four sides: above and below (with the corners), left and right.
  std::array<QRectF, 4> OutlineOutside(QRect inner) const;

  // At 600 % and above a light grid between the picture pixels is shown (never in the picture).
  bool PixelGrid() const { return zoom >= 6; }
};

// The zoom levels, in widget units per picture pixel (100 %, 200 %, ... 800 %).
inline constexpr int kZoomLevels[] = {1, 2, 3, 4, 6, 8};
// The level `steps` levels above (below, when negative) `zoom`, within the levels.
int ZoomStep(int zoom, int steps);
