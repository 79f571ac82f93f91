#include "support/jpeg_writer.h"
