#include "view/tile_metrics.h"

TileMetrics tileMetrics = kBigTileMetrics;

void setTileMetricsFor(int32_t small) { tileMetrics = tileMetricsFor(small); }
