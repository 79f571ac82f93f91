// Replaced by the raster operations.
