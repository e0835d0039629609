#pragma once
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <memory>

#include "support/ScriptedDialogs.h"
#include "workspace/DrawingSurface.h"
#include "workspace/ImageDraw.h"

// Drives the real main window offscreen: clicks palette buttons, drags on the picture, reads pixels.
// Mouse events go to the widgets as the window system would deliver them.
struct WindowDriver {
  ScriptedDialogs dialogs;  // installed first, removed last
  std::unique_ptr<ImageDraw> window = std::make_unique<ImageDraw>();

  WindowDriver() {
    window->show();
    QApplication::processEvents();
  }
  ~WindowDriver() {
    window->State.ImageChanged = false;  // closing must not ask
    window->close();
  }

  ImageDraw& w() { return *window; }

  static void Send(QWidget* target, QEvent::Type type, QPointF pos, Qt::MouseButton button,
                   Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(type, pos, target->mapToGlobal(pos), button, buttons, mods);
    QApplication::sendEvent(target, &e);
  }

  // Clicks palette button `button` (1..50) as a user would.
  void ClickTool(int button) { QTest::mouseClick(window->Tools[button - 1], Qt::LeftButton); }

  void Press(QPointF p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = Qt::NoModifier) {
    Send(window->Draw_PIC, QEvent::MouseButtonPress, p, b, b, m);
  }
  void Move(QPointF p, Qt::MouseButtons held = Qt::LeftButton) {
    Send(window->Draw_PIC, QEvent::MouseMove, p, Qt::NoButton, held);
  }
  void Release(QPointF p, Qt::MouseButton b = Qt::LeftButton) {
    Send(window->Draw_PIC, QEvent::MouseButtonRelease, p, b, Qt::NoButton);
  }
  // Press at `from`, `steps` moves ending at `to`, release at `to`.
  void Drag(QPointF from, QPointF to, int steps = 3) {
    Press(from);
    for (int i = 1; i <= steps; ++i) Move(from + (to - from) * (double(i) / steps));
    Release(to);
  }

  // Mouse on the selection frame, in the frame's own coordinates.
  void FramePress(QPointF p, Qt::MouseButton b = Qt::LeftButton) {
    Send(window->SelectIMG, QEvent::MouseButtonPress, p, b, b);
  }
  void FrameMove(QPointF p) { Send(window->SelectIMG, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); }
  void FrameRelease(QPointF p, Qt::MouseButton b = Qt::LeftButton) {
    Send(window->SelectIMG, QEvent::MouseButtonRelease, p, b, Qt::NoButton);
  }

  QRgb Pixel(int x, int y) { return window->Picture.Raster().pixel(x, y) | 0xff000000u; }
  QImage Image() { return window->Picture.Image(); }
};

inline constexpr QRgb kWhite = 0xffffffffu;
inline constexpr QRgb kBlack = 0xff000000u;
