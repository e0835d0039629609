// The gesture pipeline: press, move and release on the drawing surface.
#include <QLabel>

#include "dialogs/TypeTxt.h"
#include "figures/Rounding.h"
#include "workspace/DrawingSurface.h"
#include "workspace/ImageDraw.h"
#include "workspace/Viewport.h"

namespace {
// The read-outs show plain decimal numbers: "-" for negative values, no sign otherwise, no unit.
QString PlainNumber(double v) {
  if (v == 0) return QStringLiteral("0");
  return QString::number(v, 'g', 10);
}
}  // namespace

void ImageDraw::SetEditCommands(bool enabled) {
  Menu_Edit_Copy->setEnabled(enabled);
  Menu_Edit_Cut->setEnabled(enabled);
  Menu_Edit_Del->setEnabled(enabled);
}

void ImageDraw::BeginGesture(Qt::MouseButton button, Qt::KeyboardModifiers, double x, double y) {
  if (button != Qt::LeftButton || State.ToolId <= 0) return;
  if (!IsUsable(x) || !IsUsable(y)) return;
  // A second click with the text tool moves an unstamped text: the backing copy must not hold it.
  if (State.ToolId == 3) TypeTxtWindow->RemovePreview();
  History.Snapshot(Picture);
  Picture.Restore(History.Img_Copy);  // the backing copy now equals the picture: damage starts empty
  State.PressPoint = {x, y};
  if (State.ToolId == 3) {
    State.DragActive = false;
    Sel.selectPos = QPointF(x, y);
    TypeTxtWindow->Open(QPoint(static_cast<int>(RoundHalfEven(x)), static_cast<int>(RoundHalfEven(y))),
                        &History.Img_Copy);
    return;
  }
  State.DragActive = true;
  ShowSelectionFrame(false, false);
  SetEditCommands(false);
  SetSelectionCommands(false);
}

void ImageDraw::TrackGesture(Qt::MouseButtons, Qt::KeyboardModifiers, double x, double y) {
  if (!IsUsable(x) || !IsUsable(y)) return;
  if (Draw_PIC->guideVisible) {
    Draw_PIC->szX = x;
    Draw_PIC->spY = y;
    Draw_PIC->update();
  }
  if (!State.DragActive || State.ToolId <= 0) return;
  if (State.ToolId == 2) {
    Picture.FilledBoxRel(x, y, 5, 5, qRgb(255, 255, 255));
    Refresh();
    return;
  }
  if (State.ToolId == 4) {
    Picture.PSet(x, y);
  } else {
    Picture.Restore(History.Img_Copy);
  }
  State.CurrentPoint = {x, RoundHalfEvenReal(y)};
  DxLb->setText(PlainNumber(State.CurrentPoint.x - State.PressPoint.x));
  DyLb->setText(PlainNumber(State.CurrentPoint.y - State.PressPoint.y));
  if (State.ToolId != 24) DrawFigure(Picture, State, State.ToolId, FigureParameters());
  Refresh();
}

void ImageDraw::EndGesture(Qt::MouseButton button, Qt::KeyboardModifiers, double x, double y) {
  if (button != Qt::LeftButton) return;
  if (!State.DragActive || State.ToolId <= 0) return;
  if (!IsUsable(x) || !IsUsable(y)) {
    x = State.CurrentPoint.x;
    y = State.CurrentPoint.y;
  }
  if (State.ToolId > 1) {
    State.ImageChanged = true;
    if (!Menu_Edit_Undo->isEnabled()) EnableUndo();
  }
  if (State.ToolId == 2) Picture.FilledBoxRel(x, y, 5, 5, qRgb(255, 255, 255));
  if (State.ToolId == 1) Picture.Restore(History.Img_Copy);
  State.DragActive = false;
  State.CurrentPoint = {x, RoundHalfEvenReal(y)};

  if (State.ToolId == 1) {
    State.SelectionLifted = false;
    State.DragOffset = {State.CurrentPoint.x - State.PressPoint.x, State.CurrentPoint.y - State.PressPoint.y};
    const double w = std::abs(State.DragOffset.x), h = std::abs(State.DragOffset.y);
    if (State.DragOffset.x < 0) State.PressPoint.x = State.CurrentPoint.x;
    if (State.DragOffset.y < 0) State.PressPoint.y = State.CurrentPoint.y;
    // The selected rectangle, clipped to the picture; a zero-size rectangle gives an empty buffer.
    const int left = static_cast<int>(RoundHalfEven(State.PressPoint.x));
    const int top = static_cast<int>(RoundHalfEven(State.PressPoint.y));
    const int iw = static_cast<int>(RoundHalfEven(w)), ih = static_cast<int>(RoundHalfEven(h));
    QImage buffer(std::max(iw, 0), std::max(ih, 0), QImage::Format_RGB32);
    if (!buffer.isNull()) {
      buffer.fill(Qt::white);
      const QRect src = QRect(left, top, iw, ih).intersected(Picture.Raster().rect());
      for (int row = src.top(); row <= src.bottom(); ++row) {
        const QRgb* from = reinterpret_cast<const QRgb*>(Picture.Raster().constScanLine(row)) + src.left();
        QRgb* to = reinterpret_cast<QRgb*>(buffer.scanLine(row - top)) + (src.left() - left);
        std::copy(from, from + src.width(), to);
      }
    }
    Sel.IMG_Select = buffer;
    History.Snapshot(Picture);
    Sel.left = std::min(State.PressPoint.x, State.CurrentPoint.x);
    Sel.top = std::min(State.PressPoint.y, State.CurrentPoint.y);
    Sel.width = w;
    Sel.height = h;
    ShowSelectionFrame(true, true);
    SyncSelectionFrame();
    SetSelectionCommands(true);
    State.SelectionMoved = false;
    SetEditCommands(true);
  } else if (State.ToolId == 24) {
    DrawFigure(Picture, State, State.ToolId, FigureParameters());
  }
  Refresh();
}

void ImageDraw::ShowResizeHandles() {
  if (RL->isVisible()) return;
  PlaceResizeHandles();
  RL->show();
  UD->show();
  RLUD->show();
  if (Sel.visible) ShowSelectionFrame(false, false);
}

void ImageDraw::HideResizeHandles() {
  RL->hide();
  UD->hide();
  RLUD->hide();
}
