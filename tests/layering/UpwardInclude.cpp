// A file of the figures layer including the main window: an include against the layers' direction,
// which must not build.
#include "workspace/ImageDraw.h"
