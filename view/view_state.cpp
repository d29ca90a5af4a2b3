#include "view/view_state.h"

#include "view/board_painting.h"
#include "view/cell_origins.h"
#include "view/game_start.h"
#include "view/tile_images.h"
#include "view/tile_metrics.h"

void resetViewState() {
  forgetTileImages();
  forgetOffscreenSurface();
  windowFit = WindowFit{};
  cellOrigins.release();
  tileMetrics = kBigTileMetrics;
}
