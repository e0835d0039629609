#pragma once
// The tables from image index to drawing routine, shared by the icon engine in Images.cpp.
#include "resources/ImageVocabulary.h"

namespace Pictures {

using DrawFn = void (*)(Pad&);

// Main toolbar images 1..19 (24 x 24 grid); nullptr outside.
DrawFn ToolbarDrawing(int index);
// Line style images 20..25 and fill style images 26..33 (16 units high, any width); nullptr outside.
DrawFn StyleDrawing(int index);
// Palette images 1..200 (24 x 24 grid); nullptr for a button that has no tool.
DrawFn PaletteDrawing(int index);
// The faint picture of a palette button without a tool.
void DrawEmptyButton(Pad& d);

}  // namespace Pictures
