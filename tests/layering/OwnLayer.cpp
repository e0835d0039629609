// A file of the figures layer may include the figures layer's headers.
#include "figures/ToolId.h"
