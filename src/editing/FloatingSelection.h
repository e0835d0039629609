#pragma once
#include <QImage>
#include <QPointF>

// The floating selection: the frame SelectIMG shown over the canvas, the pixel buffer IMG_Select,
// and for rotation the unrotated base IMG_Slt and the square buffer Rot. The selection exists
// exactly while the frame is visible. The flags (lifted, moved, dragging) live in WorkspaceState.
struct FloatingSelection {
  // Frame, in canvas pixels.
  double left = 0, top = 0, width = 0, height = 0;
  bool visible = false;
  bool border = false;

  // Pixel buffer. Its position marks the text tool's insertion point too.
  QImage IMG_Select;
  QPointF selectPos;

  // Rotation base: the selection as it was made, and where it was.
  QImage IMG_Slt;
  double baseLeft = 0, baseTop = 0;
  // Rotation buffer: a white square whose side is the base's diagonal.
  QImage Rot;
};
