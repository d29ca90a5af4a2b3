#pragma once

#include <cstdint>

// The measurements of one tile set. Tiles of neighbouring columns overlap by slantWidth.
struct TileMetrics {
  int32_t tileWidth;
  int32_t tileHeight;
  int32_t bodyWidth;   // the hexagon's flat top and bottom edges
  int32_t slantWidth;  // horizontal reach of each slanted side

  // Distance from one column's tile to the next.
  constexpr int32_t pitch() const { return bodyWidth + slantWidth; }
  // Odd columns sit this much lower than even ones.
  constexpr int32_t halfHeight() const { return tileHeight / 2; }
};

constexpr TileMetrics kBigTileMetrics{24, 24, 14, 5};
constexpr TileMetrics kSmallTileMetrics{12, 12, 6, 3};

// small is the setting of the same name: zero for big tiles, anything else for small ones.
constexpr TileMetrics tileMetricsFor(int32_t small) {
  return small != 0 ? kSmallTileMetrics : kBigTileMetrics;
}

// Sets the current game's tile set (tileMetrics, view_state.h) from the setting.
void setTileMetricsFor(int32_t small);
