#include "view/cell_placement.h"

#include "view/view_state.h"

PixelPoint cellOriginWith(const TileMetrics& metrics, int column, int row) {
  int32_t y = metrics.tileHeight * (row - 1) + 1;
  if (column % 2 != 0) y += metrics.halfHeight();
  return {metrics.pitch() * (column - 1) + 1, y};
}

PixelPoint cellOrigin(int column, int row) { return cellOriginWith(tileMetrics, column, row); }
