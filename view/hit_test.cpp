#include "view/hit_test.h"

#include "engine/engine_state.h"
#include "view/view_state.h"

CellPosition hitTestOn(const TileMetrics& metrics, int32_t columns, int32_t rows, int32_t x,
                       int32_t y) {
  const uint32_t pitch = static_cast<uint32_t>(metrics.pitch());
  const uint32_t slant = static_cast<uint32_t>(metrics.slantWidth);
  const uint32_t height = static_cast<uint32_t>(metrics.tileHeight);
  const uint32_t half = static_cast<uint32_t>(metrics.halfHeight());

  // Unsigned, so that a negative position becomes a huge one and fails the limits below.
  const uint32_t ux = static_cast<uint32_t>(x);
  uint32_t uy = static_cast<uint32_t>(y);
  const uint32_t strip = ux % pitch;
  uint32_t column = ux / pitch + 1;
  uint32_t row = 0;

  if (strip >= slant) {
    // Body strip. Above an odd column's first hexagon the subtraction wraps and misses.
    if (column % 2 != 0) uy -= half;
    row = uy / height + 1;
  } else {
    // Slanted strip left of `column`. Left of an even column it all belongs to that column;
    // left of an odd one the slant is split between the column, its left neighbour and,
    // where the neighbour's hexagon is, no cell at all.
    row = uy / height + 1;
    const uint32_t inBand = uy % height;
    if (column % 2 != 0) {
      if (inBand > half) {
        if (inBand < height - 2 * strip) --column;
      } else if (inBand >= 2 * strip) {
        column = 0;
        row = 0;
      } else {
        --row;
      }
    }
  }

  CellPosition hit{static_cast<int32_t>(column), static_cast<int32_t>(row)};
  if (hit.column > columns) hit.column = 0;
  if (hit.row > rows) hit.row = 0;
  return hit;
}

CellPosition hitTest(int32_t x, int32_t y) {
  return hitTestOn(tileMetrics, board.columns, board.rows, x, y);
}
