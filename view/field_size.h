#pragma once

#include <cstdint>

#include "view/tile_metrics.h"

// The client area that holds the whole field, with a tile's height to spare for the lowered
// odd columns and the counter feet.
struct FieldSize {
  int32_t width;
  int32_t height;
};

FieldSize fieldSize(const TileMetrics& metrics, int32_t columns, int32_t rows);
