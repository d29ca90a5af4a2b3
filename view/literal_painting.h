#pragma once

#include <cstdint>

#include "engine/board_view.h"
#include "engine/cell.h"

// The painting operations the literal way (see painting_mode.h): every cell a painting
// covers is drawn, onto the window's context and the surface alike, each cell update takes a
// window context of its own, and a repaint copies the whole surface to the window.
namespace literal {

void drawCellUpdate(int column, int row, const Cell& cell, CellChange change);
void paintFreshBoard();
void paintFinalBoard();
void repaintAllCells();
void showElapsedSeconds(int32_t seconds);
void showFlagsLeft(int32_t flagsLeft);
// The window shows the current picture: the whole surface is copied.
void showCurrentPicture();

}  // namespace literal
