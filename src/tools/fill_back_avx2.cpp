// The fill-back strip pass for vectors of 8 lanes.
#define PALVEX_FB_LANES 8
#define PALVEX_FB_NAME FillStripAvx2
#include "tools/fill_back_kernel.inc"
