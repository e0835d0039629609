#pragma once
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <initializer_list>
#include <memory>
#include <span>
#include <vector>

#include "support/Colors.h"
#include "support/ScriptedDialogs.h"
#include "workspace/CommandTable.h"
#include "workspace/DrawingArea.h"
#include "workspace/ImageDraw.h"

// Drives the real main window offscreen as a user would: finds its controls and commands by their
// object names, clicks palette buttons, drags on the picture and on the selection frame, drags the
// resize handles, and reads what the window shows through its const view. Mouse events go to the
// widgets as the window system would deliver them. Positions on the picture, on the frame and
// the handles' ways are in picture pixels: at any zoom and device pixel ratio the pointer is put
// where the drawing area's view shows them (at 100 % on a ratio of 1 they are the widgets' own).
struct WindowDriver {
  ScriptedDialogs dialogs;  // installed first, removed last
  std::unique_ptr<ImageDraw> window = std::make_unique<ImageDraw>();

  WindowDriver() {
    window->show();
    QApplication::processEvents();
  }
  ~WindowDriver() {
    // Closing must not ask: answer the question with No if it comes.
    dialogs.Install();
    dialogs.answers.clear();
    dialogs.answers.push_back(QMessageBox::No);
    window->close();
  }

  ImageDraw& w() { return *window; }
  WorkspaceView View() const { return window->View(); }
  const WorkspaceState& State() const { return window->View().State; }
  const Canvas& Picture() const { return window->View().Picture; }
  const FloatingSelection& Selection() const { return window->View().Selection; }

  // ---- Controls by name ----
  template <class T = QWidget>
  T* Find(const char* name) const {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found) ADD_FAILURE() << "no control named " << name;
    return found;
  }
  QAction* Action(const char* name) const { return Find<QAction>(name); }
  QWidget* Surface() const { return Find<QWidget>("Draw_PIC"); }
  QWidget* Frame() const { return Find<QWidget>("SelectIMG"); }
  QToolButton* ToolButton(int button) const {
    return window->findChild<QToolButton*>(QStringLiteral("Tools%1").arg(button));
  }
  // The command's button on Tbar (nullptr when it has none).
  QWidget* ToolbarButton(const char* action) const {
    return Find<QToolBar>("Tbar")->widgetForAction(Action(action));
  }
  // Runs a command as its menu entry would.
  void Trigger(const char* action) { Action(action)->trigger(); }
  // Clicks the command's button on Tbar.
  void ClickToolbar(const char* action) { QTest::mouseClick(ToolbarButton(action), Qt::LeftButton); }
  // The command is offered: enabled in the menu, and on Tbar too when it has a button there (a
  // disagreement between the two fails the test).
  bool Enabled(const char* action) const {
    QAction* a = Action(action);
    if (!a) return false;
    QWidget* button = ToolbarButton(action);
    if (button && button->isEnabled() != a->isEnabled()) ADD_FAILURE() << action << ": menu and toolbar disagree";
    return a->isEnabled();
  }
  // The handlers the drawing area's widgets call, for positions no mouse event can carry.
  SurfaceHandlers& Handlers() { return *window; }

  // ---- The view ----
  DrawingArea* Drawing() const { return Find<DrawingArea>("F_PIC"); }
  ViewTransform Transform() const { return Drawing()->View(); }
  // Zooms to `zoom` (1, 2, 3, 4, 6 or 8) through 实际大小 and 放大.
  void SetZoom(int zoom) {
    Trigger("Menu_View_ZoomActual");
    while (Drawing()->Zoom() < zoom && Enabled("Menu_View_ZoomIn")) Trigger("Menu_View_ZoomIn");
    if (Drawing()->Zoom() != zoom) ADD_FAILURE() << "no zoom level " << zoom;
  }
  // The screen's device pixel ratio as the drawing area sees it.
  void SetDevicePixelRatio(double ratio) { Drawing()->SetDevicePixelRatio(ratio); }
  // Where the pointer stands on the surface over picture point `p`.
  QPointF OnSurface(QPointF p) const { return Transform().WidgetPoint(p); }
  // Where the pointer stands on the frame over the point `p` picture pixels from its top-left.
  QPointF OnFrame(QPointF p) const {
    const ViewTransform view = Transform();
    if (view.OneToOne()) return p;
    const QPointF corner = QPointF(Frame()->pos()) / view.zoom;
    return view.WidgetPoint(corner + p) - QPointF(Frame()->pos());
  }

  // ---- Mouse ----
  static void Send(QWidget* target, QEvent::Type type, QPointF pos, Qt::MouseButton button,
                   Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(type, pos, target->mapToGlobal(pos), button, buttons, mods);
    QApplication::sendEvent(target, &e);
  }

  // Clicks palette button `button` (1..50) as a user would.
  void ClickTool(int button) { QTest::mouseClick(ToolButton(button), Qt::LeftButton); }

  void Press(QPointF p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = Qt::NoModifier) {
    Send(Surface(), QEvent::MouseButtonPress, OnSurface(p), b, b, m);
  }
  void Move(QPointF p, Qt::MouseButtons held = Qt::LeftButton) {
    Send(Surface(), QEvent::MouseMove, OnSurface(p), Qt::NoButton, held);
  }
  void Release(QPointF p, Qt::MouseButton b = Qt::LeftButton) {
    Send(Surface(), QEvent::MouseButtonRelease, OnSurface(p), b, Qt::NoButton);
  }
  // Press at `from`, `steps` moves ending at `to`, release at `to`.
  void Drag(QPointF from, QPointF to, int steps = 3) {
    Press(from);
    for (int i = 1; i <= steps; ++i) Move(from + (to - from) * (double(i) / steps));
    Release(to);
  }

  // Mouse on the selection frame, in picture pixels from its top-left corner.
  void FramePress(QPointF p, Qt::MouseButton b = Qt::LeftButton) {
    Send(Frame(), QEvent::MouseButtonPress, OnFrame(p), b, b);
  }
  void FrameMove(QPointF p) { Send(Frame(), QEvent::MouseMove, OnFrame(p), Qt::NoButton, Qt::LeftButton); }
  void FrameRelease(QPointF p, Qt::MouseButton b = Qt::LeftButton) {
    Send(Frame(), QEvent::MouseButtonRelease, OnFrame(p), b, Qt::NoButton);
  }

  // Drags resize handle `name` ("RL", "UD" or "RLUD") by (dx, dy) picture pixels.
  void DragHandle(const char* name, int dx, int dy) {
    QWidget* h = Find<QWidget>(name);
    const int zoom = Transform().zoom;
    const QPointF to(2 + dx * zoom, 2 + dy * zoom);
    Send(h, QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton, Qt::LeftButton);
    Send(h, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    Send(h, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  }
  // Makes the picture width x height with the corner handle.
  void ResizePicture(int width, int height) {
    DragHandle("RLUD", width - Picture().Width(), height - Picture().Height());
  }

  // Opens `picture` as the user would (a bitmap file through "打开文件"). The picture becomes the
  // canvas's content at its size (at least the smallest canvas); the caption names the file and the
  // picture equals its file. Returns false when it could not be written for opening.
  bool OpenPicture(const QImage& picture) {
    if (!scratch_.isValid()) return false;
    const QString path = scratch_.filePath(QStringLiteral("picture-%1.bmp").arg(opened_++));
    if (!picture.convertToFormat(QImage::Format_RGB888).save(path, "BMP")) return false;
    dialogs.Install();
    dialogs.openNames.push_back(path);
    Trigger("Menu_File_Open");
    return true;
  }

  QRgb Pixel(int x, int y) const { return Picture().Raster().pixel(x, y) | 0xff000000u; }
  QImage Image() const { return Picture().Image(); }
  // What the drawing surface shows on screen: the picture with the guide lines and the background
  // pattern over it.
  QImage Shown() const { return Surface()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

 private:
  QTemporaryDir scratch_;
  int opened_ = 0;
};

// Checks that each named command is offered (or not), in the menu and on Tbar alike.
inline void ExpectOffered(const WindowDriver& d, std::span<const char* const> commands, bool offered) {
  for (const char* name : commands) EXPECT_EQ(d.Enabled(name), offered) << name;
}
inline void ExpectOffered(const WindowDriver& d, std::initializer_list<const char*> commands, bool offered) {
  ExpectOffered(d, std::span<const char* const>(commands.begin(), commands.size()), offered);
}

// The menu entries of every command the command table offers only while a selection shows.
inline std::vector<const char*> SelectionCommands() {
  std::vector<const char*> names;
  for (const CommandRow& row : CommandTable())
    if (row.availability == Availability::Selection && row.objectName) names.push_back(row.objectName);
  return names;
}
