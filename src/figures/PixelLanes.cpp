#include "figures/PixelLanes.h"

const char* PixelLanesPath() { return lanes::kPath; }
