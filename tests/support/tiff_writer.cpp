#include "support/tiff_writer.h"
