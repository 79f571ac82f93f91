// The fill-back strip pass for vectors of 16 lanes.
#define PALVEX_FB_LANES 16
#define PALVEX_FB_NAME FillStripAvx512
#include "tools/fill_back_kernel.inc"
