#pragma once
#include "figures/DrawFigure.h"

class Canvas;

// The round lab devices of the circuit-device family: the dry cell, the storage battery, the
// electroscope and the two coils of the induction experiment. Box figures.
namespace figures {

void DrawDryCell(Canvas& canvas, const DragGeometry& g, const ParameterValues& params);
void DrawStorageBattery(Canvas& canvas, const DragGeometry& g, const ParameterValues& params);
void DrawElectroscope(Canvas& canvas, const DragGeometry& g, const ParameterValues& params);
void DrawInnerInductionCoil(Canvas& canvas, const DragGeometry& g, const ParameterValues& params);
void DrawOuterInductionCoil(Canvas& canvas, const DragGeometry& g, const ParameterValues& params);

}  // namespace figures
