#pragma once

#include <ostream>
#include <utility>
#include <vector>

#include "engine/board.h"
#include "view/pixel_point.h"
#include "view/tile_metrics.h"

// The hexagon as the mask images of each tile set draw it, written down independently of the
// metrics so that the geometry can be checked against the pictures.
struct HexagonRows {
  int firstRow;
  int lastRow;
  int firstColumn;
  int lastColumn;
};

struct TileSet {
  const char* name;
  TileMetrics metrics;
  std::vector<HexagonRows> hexagon;

  bool inside(int tileX, int tileY) const {
    for (const HexagonRows& band : hexagon) {
      if (tileY >= band.firstRow && tileY <= band.lastRow) {
        return tileX >= band.firstColumn && tileX <= band.lastColumn;
      }
    }
    return false;
  }

  // Inside, and so are all eight neighbours: not on the hexagon's outline.
  bool innerPixel(int tileX, int tileY) const {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if (!inside(tileX + dx, tileY + dy)) return false;
      }
    }
    return true;
  }
};

inline const TileSet& bigTiles() {
  static const TileSet set{"big",
                           kBigTileMetrics,
                           {{0, 1, 5, 18},
                            {2, 3, 4, 19},
                            {4, 5, 3, 20},
                            {6, 7, 2, 21},
                            {8, 9, 1, 22},
                            {10, 13, 0, 23},
                            {14, 15, 1, 22},
                            {16, 17, 2, 21},
                            {18, 19, 3, 20},
                            {20, 21, 4, 19},
                            {22, 23, 5, 18}}};
  return set;
}

inline const TileSet& smallTiles() {
  static const TileSet set{"small",
                           kSmallTileMetrics,
                           {{0, 0, 3, 8},
                            {1, 2, 2, 9},
                            {3, 4, 1, 10},
                            {5, 6, 0, 11},
                            {7, 8, 1, 10},
                            {9, 10, 2, 9},
                            {11, 11, 3, 8}}};
  return set;
}

inline std::pair<int, int> asPair(CellPosition cell) { return {cell.column, cell.row}; }

inline void PrintTo(const TileSet& set, std::ostream* out) { *out << set.name << " tiles"; }

inline void PrintTo(const PixelPoint& point, std::ostream* out) {
  *out << "(" << point.x << ", " << point.y << ")";
}
