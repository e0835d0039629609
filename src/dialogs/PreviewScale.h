#pragma once

class QPrinter;

// The print preview that is asking for the pages of `printer`: the scale it shows them at now, in
// screen pixels per printer pixel; 0 when it is not on the screen yet or no preview shows
// `printer`. From the first call on, the preview asks for its pages again whenever it comes to
// show them at another scale (shown, resized, zoomed), so that they can be drawn for that scale.
double PreviewScaleOf(const QPrinter& printer);
