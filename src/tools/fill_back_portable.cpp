// The fill-back strip pass for vectors of 4 lanes.
#define PALVEX_FB_LANES 4
#define PALVEX_FB_NAME FillStripPortable
#include "tools/fill_back_kernel.inc"
