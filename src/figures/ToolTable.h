#pragma once
#include <cstdint>
#include <span>

#include "figures/DrawFigure.h"
#include "figures/ToolId.h"

// The one table of tools: for every ToolId, how the gesture on the picture runs it, how its figure
// is fitted to the drag, which parameter values it reads, and the routine that draws it. The
// gesture pipeline and DrawFigure ask this table instead of testing tool numbers.

// How a press, the moves and the release on the picture run the tool.
enum class Gesture : uint8_t {
  Figure,     // every move puts the backing copy back and draws the figure again
  Selection,  // as a figure (the dotted frame), and the release makes a floating selection
  Eraser,     // every move and the release paint a white box at the pointer
  Text,       // the press opens the text window; no drag
  Freehand,   // every move adds a segment to the stroke; nothing is put back
  Fill,       // nothing on moves; the release fills once, seeded at the press point
};

// How the figure is fitted to the drag from the press point P to the pointer Q.
enum class FigureKind : uint8_t {
  None,          // draws nothing (the eraser, the text tool, buttons without a figure)
  Box,           // fits the rectangle with corners P and Q, both included
  Along,         // lies on the segment from P to Q, at any angle
  CentreRadius,  // centred on P, reaching out to Q
  VertexPoint,   // vertex (or centre of symmetry) at P, passing through Q
  Stroke,        // a segment from P to Q, after which P follows Q (the freehand stroke)
  Seed,          // a fill seeded at P
};

// The parameter values a figure reads (bits).
enum ParameterUse : uint8_t {
  kReadsNothing = 0,
  kReadsFirst = 1,   // SP
  kReadsSecond = 2,  // SZ
  kReadsThird = 4,   // CS
};

// A figure: draws on the canvas from the drag and the parameter values, in the canvas's current
// colour, line style and width and fill style, and leaves the drawing state as it found it.
using FigureRoutine = void (*)(Canvas& canvas, const DragGeometry& g, const ParameterValues& params);

struct ToolFigure {
  ToolId id = ToolId::None;
  FigureKind kind = FigureKind::None;
  FigureRoutine draw = nullptr;  // nullptr: no figure
  uint8_t reads = kReadsNothing;  // ParameterUse bits
  bool facing = false;            // a box figure that faces the drag's horizontal direction
  Gesture gesture = Gesture::Figure;
};

// The entry of `id`. Tools without an entry of their own (buttons without a tool) are figure
// gestures without a figure.
const ToolFigure& ToolFigureOf(ToolId id);
inline const ToolFigure& ToolFigureOf(int toolNumber) {
  return ToolFigureOf(static_cast<ToolId>(toolNumber));
}

// Every entry that draws a figure, in tool order.
std::span<const ToolFigure> FiguresWithRoutines();

// True for the figures of the library: the catalogue's figures beyond the basic ones (ToolId 26
// and above).
inline bool IsLibraryFigure(const ToolFigure& f) { return ToolNumber(f.id) >= 26 && f.draw != nullptr; }
