#pragma once

#include "view/pixel_point.h"
#include "view/tile_metrics.h"

// Top-left corner of cell (column, row)'s tile in client coordinates. It does not depend on
// the board size, only on the tile set.
PixelPoint cellOriginWith(const TileMetrics& metrics, int column, int row);

// The same with the current game's tile set.
PixelPoint cellOrigin(int column, int row);
