#include "support/bmp_writer.h"
