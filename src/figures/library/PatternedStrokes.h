#pragma once
#include <QPointF>
#include <vector>

class Canvas;

// Strokes of the figures of palette 2 that look the same whatever the current line style: dashed
// hidden edges, dotted guide lines, solid arrowheads.
namespace figures {

// A stroke through the points with a pattern of its own, whatever the current line style: solid
// pieces of `on` pixels (0: dots as wide as the pen) every `on + off` pixels, in the current colour
// and width. Only the pieces that can reach the picture are drawn.
void PatternedStroke(Canvas& canvas, const std::vector<QPointF>& points, double on, double off);

// The dash of hidden edges and the dots of auxiliary lines, scaled with the current width.
void DashedStroke(Canvas& canvas, const std::vector<QPointF>& points);
void DottedStroke(Canvas& canvas, const std::vector<QPointF>& points);

// An open arrowhead (two barbs back from the tip along `direction`) drawn solid whatever the line
// style, in the current colour and width: the head of an axis or of a lens symbol.
void SolidBarbs(Canvas& canvas, QPointF tip, QPointF direction, double length, double halfWidth);

}  // namespace figures
