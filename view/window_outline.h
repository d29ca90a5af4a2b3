#pragma once

#include <cstdint>
#include <vector>

#include "view/pixel_point.h"
#include "view/tile_metrics.h"

// The window's region: the field's zig-zag sides, two feet below it for the counters, and
// everything above the field. Window coordinates, frame included; 4 * rows + 13 points.
using WindowOutline = std::vector<PixelPoint>;

// clientTop is the distance from the window's top edge to the client area, captionExtra the
// caption's height beyond 19 pixels, windowWidth the window's outer width.
WindowOutline windowOutline(const TileMetrics& metrics, int32_t columns, int32_t rows,
                            int32_t clientTop, int32_t captionExtra, int32_t windowWidth);
