// Pictures of the 200 palette buttons: each shows the figure its tool draws. The pictures of each
// palette are drawn in their own file; button 1 of every palette is the selection tool's.
#include <array>

#include "resources/PaletteMotifs.h"
#include "resources/PictureTables.h"

namespace Pictures {
namespace {

std::array<DrawFn, 201> MakeTable() {
  std::array<DrawFn, 201> table{};
  for (auto palette : {CommonFigurePictures, FieldPictures, SolidGeometryPictures, MiscellaneousPictures})
    for (const PaletteEntry& e : palette())
      if (e.index >= 1 && e.index <= 200) table[e.index] = e.draw;
  table[51] = table[101] = table[151] = table[1];
  return table;
}

}  // namespace

DrawFn PaletteDrawing(int index) {
  static const std::array<DrawFn, 201> table = MakeTable();
  return index >= 1 && index <= 200 ? table[index] : nullptr;
}

void DrawEmptyButton(Pad& d) {
  QPen pen(Light, 1, Qt::SolidLine, Qt::FlatCap);
  pen.setDashPattern({1, 2});
  d.p.setPen(pen);
  d.NoFill().RoundRect(4, 4, 15, 15, 2);
}

}  // namespace Pictures
