#include "support/gif_writer.h"
