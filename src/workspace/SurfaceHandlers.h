#pragma once
#include <QPointF>
#include <QString>
#include <Qt>

// The handlers through which the widgets of the drawing area (the drawing surface, the selection
// frame, the resize handles and the viewport) hand their events to the main window. The widgets
// know nothing else of the window. Positions on the picture arrive in picture pixels, mapped by
// the drawing area's view transform.
class SurfaceHandlers {
 public:
  enum class Handle { Right, Bottom, Corner };  // RL, UD, RLUD

  // The drawing surface Draw_PIC: mouse (picture pixels), keys, focus.
  virtual void BeginGesture(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y) = 0;
  virtual void TrackGesture(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, double x, double y) = 0;
  virtual void EndGesture(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y) = 0;
  virtual void CanvasKeyDown(int key, Qt::KeyboardModifiers mods, const QString& text) = 0;
  virtual void CanvasKeyUp(int key, Qt::KeyboardModifiers mods, quint32 nativeVirtualKey) = 0;
  // The surface gained the keyboard focus; `byClick`: by a click on the surface itself.
  virtual void ShowResizeHandles(bool byClick) = 0;
  virtual void HideResizeHandles() = 0;

  // The selection frame SelectIMG, in picture pixels from the frame's top-left corner.
  virtual void SelectionPress(Qt::MouseButton button, double x, double y) = 0;
  virtual void SelectionMove(Qt::MouseButtons buttons, double x, double y) = 0;
  virtual void SelectionRelease(Qt::MouseButton button, double x, double y, QPoint globalPos) = 0;

  // The resize handles, in their own coordinates (widget units; the drawing area converts them).
  virtual void HandlePress(Handle handle, QPointF pos) = 0;
  virtual void HandleDrag(Handle handle, QPointF pos) = 0;

  // Ctrl + mouse wheel over the drawing area: `steps` zoom levels in (out, when negative), about
  // the point at `anchor` (widget units of the viewport F_PIC).
  virtual void ZoomWheel(int steps, QPointF anchor) = 0;

 protected:
  ~SurfaceHandlers() = default;
};
