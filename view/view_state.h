#pragma once

#include <cstdint>

#include "view/cell_origins.h"
#include "view/tile_metrics.h"

// The board view's program-wide state that the other subsystems read. The view alone
// changes it, at each game start and game end.

// The window's fit to the current board, computed by every game start.
struct WindowFit {
  int32_t windowWidth = 0;   // outer width for the field
  int32_t windowHeight = 0;  // outer height for the field; the window is 36 pixels taller
  int32_t clientTop = 0;     // from the window's top edge to the client area
  int32_t captionExtra = 0;  // caption height beyond 19 pixels
};

// The tile set of the current game; the game start sets it before anything is measured.
extern TileMetrics tileMetrics;
// Where each cell's tile of the current game is drawn; released when the game ends.
extern CellOriginTable cellOrigins;
extern WindowFit windowFit;

// What the view keeps for the run besides, each with the operations that use it: the
// off-screen surface (board_painting.h), the loaded images (tile_images.h) and the strips
// made from them (tile_strips.h), what the incremental painting knows the surface shows and
// the changes on their way to the window (shown_cells.h, surface_changes.h), and the
// painting mode (painting_mode.h).

// Forgets all of it, as a fresh process would start; for tests that run many programs in
// one process.
void resetViewState();
