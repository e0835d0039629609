#pragma once
// The tables from image index to drawing routine, shared by the icon engine in Images.cpp.
#include "resources/ImageVocabulary.h"
#include "resources/Images.h"

namespace Pictures {

using DrawFn = void (*)(Pad&);

// The toolbar pictures (24 x 24 grid) and the style pictures (16 units high, any width) by name;
// nullptr for None and outside the names.
DrawFn ToolbarDrawing(ToolbarPicture picture);
DrawFn StyleDrawing(StylePicture picture);
// Palette images 1..200 (24 x 24 grid); nullptr for a button that has no tool.
DrawFn PaletteDrawing(int index);
// The faint picture of a palette button without a tool.
void DrawEmptyButton(Pad& d);

}  // namespace Pictures
