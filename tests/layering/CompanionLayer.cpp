// The companion and its record belong to the figures layer: they build with that layer's include
// root and Qt Gui, which is all the figures layer links.
#include "figures/Canvas.h"
#include "figures/CanvasCall.h"
#include "figures/CanvasCompanion.h"

static_assert(sizeof(CanvasCall) > 0 && sizeof(CanvasCompanion) > 0 && sizeof(Canvas) > 0);
