#pragma once

#include <cstdint>

#include "engine/board_view.h"
#include "engine/cell.h"

// The painting operations the incremental way (see painting_mode.h): each draws on the
// off-screen surface only what differs from what the surface is known to show, and then
// puts the changed rectangle on the window with one copy.
namespace incremental {

void drawCellUpdate(int column, int row, const Cell& cell, CellChange change);
void paintFreshBoard();
void paintFinalBoard();
void repaintAllCells();
void showElapsedSeconds(int32_t seconds);
void showFlagsLeft(int32_t flagsLeft);
// The window shows the current picture.
void showCurrentPicture();

// From now on nothing on the surface counts as known.
void forgetWhatIsShown();

}  // namespace incremental
