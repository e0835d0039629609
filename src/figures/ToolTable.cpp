#include "figures/ToolTable.h"

#include <array>
#include <vector>

#include "figures/library/FigureFamilies.h"

namespace {

struct Table {
  std::array<ToolFigure, kLastToolNumber + 1> byNumber{};
  std::vector<ToolFigure> drawing;

  Table() {
    for (int n = 0; n <= kLastToolNumber; ++n) byNumber[n].id = static_cast<ToolId>(n);
    using Family = std::span<const ToolFigure> (*)();
    constexpr Family kFamilies[] = {
        BasicFigures,          PlaneShapeFigures,    MechanicsPartFigures, MechanicsSceneryFigures,
        CircuitSymbolFigures,  CircuitSwitchFigures, FieldFigures,         CircuitDeviceFigures,
        InstrumentFigures,     SemiconductorFigures, CurveFigures,         FunctionGraphFigures,
        SolidFigures,          LensFigures,          EverydayObjectFigures, VehicleFigures,
        PeopleFigures,
    };
    for (Family family : kFamilies)
      for (const ToolFigure& f : family()) {
        const int n = ToolNumber(f.id);
        if (n > 0 && n <= kLastToolNumber) byNumber[n] = f;
      }
    for (const ToolFigure& f : byNumber)
      if (f.draw) drawing.push_back(f);
  }
};

const Table& TheTable() {
  static const Table table;
  return table;
}

}  // namespace

const ToolFigure& ToolFigureOf(ToolId id) {
  const int n = ToolNumber(id);
  const Table& t = TheTable();
  return t.byNumber[n >= 0 && n <= kLastToolNumber ? n : 0];
}

std::span<const ToolFigure> FiguresWithRoutines() { return TheTable().drawing; }
