#pragma once
#include <QPointF>
#include <QRect>
#include <QRegion>
#include <QWidget>

#include "workspace/SurfaceHandlers.h"
#include "workspace/ViewTransform.h"

class Canvas;
class DrawingSurface;
class QScrollBar;
class ResizeHandle;
class SelectionFrame;

// F_PIC, the drawing area: the viewport with the drawing surface Draw_PIC, the selection frame
// SelectIMG, the two scroll bars HScr and VScr and the three resize handles RL, UD and RLUD, and
// their size rules. It owns the one view transform between the picture and the screen (the zoom,
// the device pixel ratio and the scroll offset) and hands it to the surface and the frame; its
// widgets hand their events to the main window's handlers in picture pixels, and the window tells
// it what to show in picture pixels.
//
// Coordinates: picture pixels; widget units of the surface (from the picture's top-left corner);
// widget units of the area (the viewport's own, the surface lies at minus the scroll values).
class DrawingArea : public QWidget {
  Q_OBJECT
 public:
  // Smallest canvas side: a handle dragged inwards stops the canvas here.
  static constexpr int kMinSide = 50;

  DrawingArea(SurfaceHandlers* handlers, const Canvas& picture, QWidget* parent);

  DrawingSurface* Surface() const { return surface_; }
  SelectionFrame* Frame() const { return frame_; }

  // ---- The view ----
  // The transform as it stands: the zoom, the screen's device pixel ratio (or the one set) and the
  // scroll offset. The surface and the selection frame read this one.
  const ViewTransform& View() const { return view_; }
  int Zoom() const { return view_.zoom; }
  // Shows the picture at `zoom` (one of kZoomLevels) keeping the picture point under `anchor`
  // (widget units of the area) under it, as far as the scroll ranges allow.
  void SetZoom(int zoom, QPointF anchor);
  // The device pixel ratio the transform uses; 0 or less: the screen's (the default).
  void SetDevicePixelRatio(double ratio);
  // The picture point under the pointer at `posInArea` (widget units of the area), by the same
  // pointer rule as every mouse event of the surface. A drop lands here.
  QPointF PicturePointAt(QPoint posInArea) const;

  // ---- What the area shows (picture pixels) ----
  // The picture changed size: the surface, the guide lines and the scroll bars follow (the
  // canvas-resize rule); the canvas goes back to the near edge where it fits.
  void PictureResized();
  // Repaints the part of the surface that shows `damage`.
  void RepaintPicture(QRect damage);
  // The selection frame: shown over `frame` with or without its border, or hidden.
  void ShowSelectionFrame(bool visible, QRect frame, bool border);
  // The picture on show was read in part from its file (a photograph cut off in its scans): its
  // missing part is grey like the area, so a line one device pixel wide, darker than the area,
  // lies just outside the picture and shows where it ends. On screen only, never in the picture;
  // it follows the picture at every zoom, size and scroll until told otherwise.
  void ShowPartlyRead(bool partlyRead);
  bool PartlyRead() const { return partlyRead_; }

  // ---- Resize handles ----
  bool ResizeHandlesShown() const;
  void ShowResizeHandles(bool shown);
  // Puts the handles at the zoomed picture's edges as it lies now (the handle-placement rule).
  void PlaceResizeHandles();
  // A press on `handle` at `onHandle` (the handle's own widget units): the handle's own press
  // point and the picture's size at the press.
  void PressHandle(SurfaceHandlers::Handle handle, QPointF onHandle);
  // The picture size a drag of `handle` to `onHandle` asks for: each side it moves is the side at
  // the press plus the pointer's way from the press in picture pixels, rounded, kept between
  // kMinSide and the largest picture. A coordinate that is no number keeps the present side.
  QSize DraggedSize(SurfaceHandlers::Handle handle, QPointF onHandle) const;

 protected:
  bool event(QEvent*) override;
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void wheelEvent(QWheelEvent*) override;

 private:
  ResizeHandle* HandleWidget(SurfaceHandlers::Handle handle) const;
  // Takes the device pixel ratio set, or the screen's, into the transform; whether it changed.
  bool RefreshRatio();
  void FitScrollBars();
  void ScrollCanvas();  // the surface's place from the scroll bars
  // Scrolls so that picture point `point` lies under `anchor` (widget units of the area), keeping
  // the picture pixel there where the ranges allow.
  void ScrollTo(QPointF point, QPointF anchor);
  // The outline of a picture read in part, as the view places it now (widget units of the area).
  std::array<QRectF, 4> PartlyReadOutline() const;
  // Repaints where the outline was and where it is now.
  void RefreshPartlyReadOutline();

  SurfaceHandlers* handlers_;
  const Canvas& picture_;
  ViewTransform view_;        // where the picture sits on screen
  double ratio_ = 0;          // the device pixel ratio set; 0: the screen's
  QRect frameRect_;           // the selection frame, picture pixels
  QPointF handlePress_;       // the handle's press point, widget units of the area
  QSize sizeAtPress_;         // the picture's size at that press
  int wheelAngle_ = 0;        // wheel turn not yet a whole zoom step (eighths of a degree)
  bool partlyRead_ = false;   // the picture on show was read in part: outlined
  QRegion outlineShown_;      // where the outline was last put, widget units of the area

  DrawingSurface* surface_ = nullptr;    // Draw_PIC
  SelectionFrame* frame_ = nullptr;      // SelectIMG
  QScrollBar* horizontal_ = nullptr;     // HScr
  QScrollBar* vertical_ = nullptr;       // VScr
  ResizeHandle* right_ = nullptr;        // RL
  ResizeHandle* bottom_ = nullptr;       // UD
  ResizeHandle* corner_ = nullptr;       // RLUD
};
