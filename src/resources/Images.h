#pragma once
#include <QCursor>
#include <QIcon>

// The program's pictures. All are drawn as vectors, so they stay crisp at any display scale.

// Main toolbar images 1..19 (Tbar buttons 2-4 → 1-3, 6-10 → 4-8, 12-15 → 9-12, 17-19 → 13-15,
// 21-24 → 16-19) and the line/fill style images 20..33 (LStay 1..6 → 20..25, FStay 1..8 → 26..33).
QIcon ToolbarImage(int index);
// Palette images 1..200: image p * 50 + i is button i of palette p.
QIcon PaletteImage(int index);
// The window icon.
QIcon ProgramIcon();
// The eraser pointer (hollow 6 x 6 square, hot spot top-left) and the fill pointer (small tilted
// paint bucket, hot spot at its top-left pixel).
QCursor EraserCursor();
QCursor FillCursor();
