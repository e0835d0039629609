#pragma once
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QTransform>
#include <array>
#include <cmath>

// Where the picture sits on screen: the one mapping between picture pixels, positions on the
// drawing surface, positions in the drawing area and the screen's device pixels. Four kinds of
// coordinates meet here:
// - picture pixels (the canvas's own; whole pixels at every zoom above 1:1),
// - widget units of the surface: positions on the drawing surface Draw_PIC, from the picture's
//   top-left corner, as mouse events and widget geometry carry them; one picture pixel is `zoom`
//   widget units,
// - widget units of the area: the drawing area's viewport, in which the surface lies at minus the
//   scroll offset,
// - device pixels: the screen's own, `devicePixelRatio` to a widget unit, counted from the
//   picture's first.
// The drawing area owns one of these; everything that maps between the picture and the screen
// asks it, and nothing else converts.
struct ViewTransform {
  int zoom = 1;                 // widget units per picture pixel: 1, 2, 3, 4, 6 or 8
  double devicePixelRatio = 1;  // device pixels per widget unit (a ratio that is no number: 1)
  QPoint scroll = {};           // the scroll offset: the scroll bars' values (widget units)

  // Device pixels per widget unit, as used: an unusable or non-positive ratio counts as 1.
  double Ratio() const {
    return std::isfinite(devicePixelRatio) && devicePixelRatio > 0 ? devicePixelRatio : 1.0;
  }
  // Device pixels per picture pixel.
  double Scale() const { return zoom * Ratio(); }
  // One picture pixel to one device pixel: positions reach the picture unchanged.
  bool OneToOne() const { return !(Scale() > 1); }

  // ---- Points ----
  // The pointer rule: the picture point under the pointer at `widget` (surface). Above 1:1 it is
  // the picture pixel the screen shows under the centre of the device pixel the pointer is on (a
  // whole pixel); at 1:1 the position itself.
  QPointF PicturePoint(QPointF widget) const;
  // The same for a position in a widget lying on the surface at `origin` (widget units, a whole
  // number of picture pixels from the picture's top-left), relative to the picture pixel at that
  // origin. At 1:1 the position itself.
  QPointF PicturePointIn(QPointF local, QPoint origin) const;
  // The same for a position in the area (a drop, a wheel turn's place).
  QPointF PicturePointInArea(QPointF area) const { return PicturePoint(SurfacePoint(area)); }
  // The picture point at a position in the area, unsnapped (real picture coordinates): what stays
  // under a zoom's anchor.
  QPointF UnsnappedPointInArea(QPointF area) const { return SurfacePoint(area) / zoom; }
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

  // ---- Lengths ----
  // `picture` picture pixels in widget units, and `widget` widget units in picture pixels
  // (unsnapped).
  int WidgetLength(int picture) const { return picture * zoom; }
  double PictureLength(double widget) const { return widget / zoom; }
  // A pattern laid in picture pixels (a brush's tile) as the surface paints it.
  QTransform PatternTransform() const { return QTransform::fromScale(zoom, zoom); }

  // ---- The area and the scroll offset ----
  // A position in the area as a position on the surface, and where the surface lies in the area.
  QPointF SurfacePoint(QPointF area) const { return area + QPointF(scroll); }
  QPoint SurfaceOrigin() const { return -scroll; }
  // The scroll offset that puts picture point `point` (real) under `anchor` (area) at this zoom,
  // kept on the picture pixel `point` lies in; never negative (the scroll bars clamp it to their
  // ranges).
  QPoint ScrollFor(QPointF point, QPointF anchor) const;

  // ---- Device pixels ----
  // The device pixels that cover the widget rectangle `widget` (surface).
  QRect DeviceRect(QRect widget) const;
  // Where device pixel position `device` lies on the surface (widget units).
  QPointF WidgetPointOfDevice(QPoint device) const { return QPointF(device) / Ratio(); }

  // At 600 % and above a light grid between the picture pixels is shown (never in the picture).
  bool PixelGrid() const { return zoom >= 6; }
};

// The zoom levels, in widget units per picture pixel (100 %, 200 %, ... 800 %).
inline constexpr int kZoomLevels[] = {1, 2, 3, 4, 6, 8};
// The level `steps` levels above (below, when negative) `zoom`, within the levels.
int ZoomStep(int zoom, int steps);
