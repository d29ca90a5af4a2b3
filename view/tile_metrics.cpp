#include "view/tile_metrics.h"

#include "view/view_state.h"

void setTileMetricsFor(int32_t small) { tileMetrics = tileMetricsFor(small); }
