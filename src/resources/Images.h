#pragma once
#include <QCursor>
#include <QIcon>

// The program's pictures. All are drawn as vectors, so they stay crisp at any display scale.

// The pictures of the command toolbar Tbar's buttons, by name: a command's row names its own.
enum class ToolbarPicture {
  None,  // no picture
  New, Open, Save,
  Undo, Redo, Copy, Paste, Delete,
  FlipHorizontal, FlipVertical, TurnClockwise, TurnCounter,
  GuideLines, Background, Colours,
  PaletteCommon, PaletteField, PaletteSolid, PaletteMisc,
  Count_  // the number of names
};
// The pictures of the line style buttons LStay1..6 and the fill style buttons FStay1..8, in
// button order.
enum class StylePicture {
  LineDashed, LineDotted, LineDashDotted, LineSolid, LineWidth2, LineWidth4,
  FillSolid, FillNone, FillHorizontal, FillVertical, FillUpwardDiagonal, FillDownwardDiagonal, FillCross,
  FillDiagonalCross,
  Count_  // the number of names
};

// A toolbar picture (24 units square) and a style picture (16 units high, as wide as its button);
// a null icon for None and for a value outside the names.
QIcon ToolbarImage(ToolbarPicture picture);
QIcon StyleImage(StylePicture picture);
// Palette images 1..200: image p * 50 + i is button i of palette p.
QIcon PaletteImage(int index);
// The window icon.
QIcon ProgramIcon();
// The eraser pointer (hollow 6 x 6 square, hot spot top-left) and the fill pointer (small tilted
// paint bucket, hot spot at its top-left pixel).
QCursor EraserCursor();
QCursor FillCursor();
