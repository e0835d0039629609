#pragma once
#include <QPoint>
#include <cstdint>
#include <functional>

#include "figures/DrawFigure.h"
#include "figures/ToolId.h"

// ImageChanged: the picture holds work that is in no file. Every change of the picture sets it, and
// a save, a file read whole and 新建 with 否 clear it, so each assignment is a note about the
// picture's work, whatever the value: the one place the window's recovery copy learns of it
// (RecoveryKeeper). Read, it is the plain flag. A copy of the state is a record and notes nothing.
class WorkFlag {
 public:
  WorkFlag() = default;
  WorkFlag(const WorkFlag& other) : changed_(other.changed_) {}
  WorkFlag& operator=(const WorkFlag& other) { return *this = bool(other); }
  WorkFlag& operator=(bool changed) {
    changed_ = changed;
    if (note_) note_(changed);
    return *this;
  }
  operator bool() const { return changed_; }
  // Who hears of every assignment.
  void OnNote(std::function<void(bool)> note) { note_ = std::move(note); }

 private:
  bool changed_ = false;
  std::function<void(bool)> note_;
};

// The main window's own fields. Handlers read and write them directly. PressPoint, CurrentPoint and
// DragOffset come from DragGeometry (picture pixels): the figures read the same fields. The resize
// handles keep their own press point (the drawing area's). The floating selection keeps its own
// state (editing/FloatingSelection.h).
struct WorkspaceState : DragGeometry {
  ::ToolId ToolId = ::ToolId::None;  // the chosen tool; None: no tool
  int16_t PaletteIndex = 0;          // 0 常用图形, 1 电场磁场, 2 立体几何, 3 综合图形
  bool DragActive = false;           // a left-button drag of a drawing tool is in progress
  bool MovedSincePress = false;      // a pointer move arrived since the press of that drag
  WorkFlag ImageChanged;             // the picture holds work that is in no file
  // Part of the companion is a picture from outside enlarged (a file without our companion, a
  // bitmap or JPEG file, a paste or drop from another program): it prints without detail there.
  bool EnlargedParts = false;
  bool UndoAvailable = false;        // one step of undo is there (the backing copy)
  bool RedoAvailable = false;        // one step of redo is there (the redo file)
  bool CopyModifier = false;         // Ctrl is held down on the canvas
  QPoint TextPoint;                  // where the text tool clicked: the text's top-left corner
};
