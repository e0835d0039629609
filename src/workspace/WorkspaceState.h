#pragma once
#include <QPoint>
#include <cstdint>

#include "figures/DrawFigure.h"
#include "figures/ToolId.h"

// The main window's own fields. Handlers read and write them directly. PressPoint, CurrentPoint and
// DragOffset come from DragGeometry (picture pixels): the figures read the same fields. The resize
// handles keep their own press point (the drawing area's). The floating selection keeps its own
// state (editing/FloatingSelection.h).
struct WorkspaceState : DragGeometry {
  ::ToolId ToolId = ::ToolId::None;  // the chosen tool; None: no tool
  int16_t PaletteIndex = 0;          // 0 常用图形, 1 电场磁场, 2 立体几何, 3 综合图形
  bool DragActive = false;           // a left-button drag of a drawing tool is in progress
  bool MovedSincePress = false;      // a pointer move arrived since the press of that drag
  bool ImageChanged = false;         // the picture holds work that is in no file
  // Part of the companion is a picture from outside enlarged (a file without our companion, a
  // bitmap or JPEG file, a paste or drop from another program): it prints without detail there.
  bool EnlargedParts = false;
  bool UndoAvailable = false;        // one step of undo is there (the backing copy)
  bool RedoAvailable = false;        // one step of redo is there (the redo file)
  bool CopyModifier = false;         // Ctrl is held down on the canvas
  QPoint TextPoint;                  // where the text tool clicked: the text's top-left corner
};
