#pragma once

#include <cstdint>

#include "engine/board.h"
#include "view/tile_metrics.h"

// The cell under the client point (x, y) of a field of columns by rows cells, by a
// closed-form rule that does not look at the tile images. A 0 in the column or the row means
// no cell. Positions left of or above the client area arrive negative and hit nothing.
CellPosition hitTestOn(const TileMetrics& metrics, int32_t columns, int32_t rows, int32_t x,
                       int32_t y);

// The same on the program's board with the current game's tile set.
CellPosition hitTest(int32_t x, int32_t y);
