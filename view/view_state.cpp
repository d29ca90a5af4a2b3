#include "view/view_state.h"

#include "view/board_painting.h"
#include "view/painting_mode.h"
#include "view/surface_changes.h"
#include "view/tile_images.h"
#include "view/tile_strips.h"

TileMetrics tileMetrics = kBigTileMetrics;
CellOriginTable cellOrigins;
WindowFit windowFit;

void resetViewState() {
  forgetTileImages();
  forgetTileStrips();
  forgetOffscreenSurface();
  forgetSurfaceChanges();
  usePaintingMode(PaintingMode::Incremental);
  windowFit = WindowFit{};
  cellOrigins.release();
  tileMetrics = kBigTileMetrics;
}
