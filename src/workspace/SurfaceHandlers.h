#pragma once
#include <QPointF>
#include <QString>
#include <Qt>

// The handlers through which the widgets of the drawing area (the drawing surface, the selection
// frame, the resize handles and the viewport) hand their events to the main window. The widgets
// know nothing else of the window.
class SurfaceHandlers {
 public:
  enum class Handle { Right, Bottom, Corner };  // RL, UD, RLUD

  // The drawing surface Draw_PIC: mouse, keys, focus.
  virtual void BeginGesture(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y) = 0;
  virtual void TrackGesture(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, double x, double y) = 0;
  virtual void EndGesture(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y) = 0;
  virtual void CanvasKeyDown(int key, Qt::KeyboardModifiers mods, const QString& text) = 0;
  virtual void CanvasKeyUp(int key, Qt::KeyboardModifiers mods, quint32 nativeVirtualKey) = 0;
  // The surface gained the keyboard focus; `byClick`: by a click on the surface itself.
  virtual void ShowResizeHandles(bool byClick) = 0;
  virtual void HideResizeHandles() = 0;

  // The selection frame SelectIMG, in canvas pixels.
  virtual void SelectionPress(Qt::MouseButton button, double x, double y) = 0;
  virtual void SelectionMove(Qt::MouseButtons buttons, double x, double y) = 0;
  virtual void SelectionRelease(Qt::MouseButton button, double x, double y, QPoint globalPos) = 0;

  // The resize handles, in their own coordinates.
  virtual void HandlePress(Handle handle, QPointF pos) = 0;
  virtual void HandleDrag(Handle handle, QPointF pos) = 0;

  // The viewport F_PIC changed size.
  virtual void ViewportResized() = 0;

 protected:
  ~SurfaceHandlers() = default;
};
