#pragma once
#include <cstdint>

#include "figures/DrawFigure.h"

// The main window's own fields. Handlers read and write them directly.
// PressPoint, CurrentPoint and DragOffset come from DragGeometry: the figures read the same fields.
// The selection's press point and drag offset are the same two fields (PressPoint, DragOffset), as
// are the resize handles' press point.
struct WorkspaceState : DragGeometry {
  int16_t ToolId = 0;        // PaletteIndex * 50 + button; 0 = no tool
  int16_t PaletteIndex = 0;  // 0 常用图形, 1 电场磁场, 2 立体几何, 3 综合图形
  bool DragActive = false;   // a left-button drag of a drawing tool is in progress
  bool ImageChanged = false; // the picture holds work the unsaved-changes prompt protects

  // Floating selection.
  bool SelectionLifted = false;    // old area already cleared (or never needs clearing)
  bool SelectionMoved = false;     // moved by mouse or keyboard since it was made
  bool SelectionDragging = false;  // a mouse drag of the selection is in progress
  bool CopyModifier = false;       // Ctrl is held down on the canvas
  // The frame's left, top, width and height recorded at each press on the selection. Its left and
  // top double as the rotation origin (the top-left of the rotation square centred on the
  // selection), which every press overwrites.
  struct {
    double left = 0, top = 0, width = 0;
    int16_t height = 0;
  } SelectionOrigin;

  // Rotation of the selection: accumulated angle in degrees, clockwise positive.
  double RotationAngle = 0;
};
