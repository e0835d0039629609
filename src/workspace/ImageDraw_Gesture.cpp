// The gesture pipeline: press, move and release on the drawing surface, in picture pixels. How
// each tool runs its gesture comes from the tool table.
#include <QLabel>

#include "figures/Rounding.h"
#include "figures/ToolTable.h"
#include "workspace/DrawingArea.h"
#include "workspace/DrawingSurface.h"
#include "workspace/ImageDraw.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;

// The read-outs show plain decimal numbers: "-" for negative values, no sign otherwise, no unit.
QString PlainNumber(double v) {
  if (v == 0) return QStringLiteral("0");
  return QString::number(v, 'g', 10);
}

Gesture GestureOf(ToolId tool) { return ToolFigureOf(tool).gesture; }

}  // namespace

void ImageDraw::BeginGesture(Qt::MouseButton button, Qt::KeyboardModifiers, double x, double y) {
  // A click that gave the surface itself the keyboard focus drops a floating selection.
  if (clickFocusPending_) {
    clickFocusPending_ = false;
    HideSelection();
  }
  if (button != Qt::LeftButton) return;
  if (State.ToolId == ToolId::None) {
    // Nothing is drawn without a tool: say so where the eye goes next, without a box to close.
    toolHint_->setText(QStringLiteral("请先在左边的工具栏中选择一种工具。"));
    return;
  }
  if (!IsUsable(x) || !IsUsable(y)) return;
  if (GestureOf(State.ToolId) == Gesture::Text) {
    OpenTextWindow(x, y);
    return;
  }
  History.Snapshot(Picture);
  Picture.Restore(History.Img_Copy);  // the backing copy now equals the picture: damage starts empty
  State.PressPoint = {x, y};
  State.DragActive = true;
  State.MovedSincePress = false;
  HideSelection();
}

void ImageDraw::TrackGesture(Qt::MouseButtons, Qt::KeyboardModifiers, double x, double y) {
  if (!IsUsable(x) || !IsUsable(y)) return;
  surface_->MoveGuideLines(x, y);
  if (!State.DragActive || State.ToolId == ToolId::None) return;
  State.MovedSincePress = true;
  DragStep(x, y);
}

void ImageDraw::DragStep(double x, double y) {
  const Gesture gesture = GestureOf(State.ToolId);
  if (gesture == Gesture::Eraser) {
    Picture.FilledBoxRel(x, y, 5, 5, kWhite);
    Refresh();
    return;
  }
  if (gesture == Gesture::Freehand) {
    Picture.PSet(x, y);
  } else {
    Picture.Restore(History.Img_Copy);
  }
  State.CurrentPoint = {x, RoundHalfEvenReal(y)};
  dxReadout_->setText(PlainNumber(State.CurrentPoint.x - State.PressPoint.x));
  dyReadout_->setText(PlainNumber(State.CurrentPoint.y - State.PressPoint.y));
  if (gesture != Gesture::Fill) DrawFigure(Picture, State, ToolNumber(State.ToolId), FigureParameters());
  Refresh();
}

void ImageDraw::EndGesture(Qt::MouseButton button, Qt::KeyboardModifiers, double x, double y) {
  if (button != Qt::LeftButton) return;
  if (!State.DragActive || State.ToolId == ToolId::None) return;
  if (!IsUsable(x) || !IsUsable(y)) {
    x = State.CurrentPoint.x;
    y = State.CurrentPoint.y;
  }
  const Gesture gesture = GestureOf(State.ToolId);
  // A click is a drag of length zero: the window system sends no move between a press and a
  // release in the same place, so the figure of the click is drawn here, at the press point.
  if (!State.MovedSincePress) DragStep(State.PressPoint.x, State.PressPoint.y);
  if (gesture != Gesture::Selection) {
    State.ImageChanged = true;
    if (!State.UndoAvailable) EnableUndo();
  }
  if (gesture == Gesture::Eraser) Picture.FilledBoxRel(x, y, 5, 5, kWhite);
  if (gesture == Gesture::Selection) Picture.Restore(History.Img_Copy);  // the dotted frame goes
  State.DragActive = false;
  State.CurrentPoint = {x, RoundHalfEvenReal(y)};

  if (gesture == Gesture::Selection) {
    State.DragOffset = {State.CurrentPoint.x - State.PressPoint.x, State.CurrentPoint.y - State.PressPoint.y};
    const double w = std::abs(State.DragOffset.x), h = std::abs(State.DragOffset.y);
    if (State.DragOffset.x < 0) State.PressPoint.x = State.CurrentPoint.x;
    if (State.DragOffset.y < 0) State.PressPoint.y = State.CurrentPoint.y;
    // PressPoint is now the selected rectangle's top-left corner.
    Selection.Make(Picture, State.PressPoint.x, State.PressPoint.y, w, h);
    History.Snapshot(Picture);
    SyncSelection();
  } else if (gesture == Gesture::Fill) {
    DrawFigure(Picture, State, ToolNumber(State.ToolId), FigureParameters());
  }
  // The figure as released reaches the high-resolution companion now; the previews never did.
  Picture.CommitCompanion();
  Refresh();
}

void ImageDraw::ShowResizeHandles(bool byClick) {
  // Only a click on the surface itself drops the selection (at the press that follows); coming
  // back to the window from another program or a dialog keeps it.
  clickFocusPending_ = byClick;
  if (area_->ResizeHandlesShown()) return;
  area_->PlaceResizeHandles();
  area_->ShowResizeHandles(true);
}

void ImageDraw::HideResizeHandles() {
  clickFocusPending_ = false;
  // A Ctrl released while the surface had no focus never arrives.
  State.CopyModifier = false;
  area_->ShowResizeHandles(false);
}
