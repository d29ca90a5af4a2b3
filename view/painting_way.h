#pragma once

#include <cstdint>

#include "engine/engine_requests.h"
#include "engine/cell.h"

// One way of putting the board view's pictures on screen; painting_mode.h says which one
// the painting operations of board_painting.h and tile_images.h take.
class PaintingWay {
 public:
  virtual ~PaintingWay() = default;
  virtual void drawCellUpdate(int column, int row, const Cell& cell, CellChange change) = 0;
  virtual void paintFreshBoard() = 0;
  virtual void paintFinalBoard() = 0;
  virtual void repaintAllCells() = 0;
  virtual void showElapsedSeconds(int32_t seconds) = 0;
  virtual void showFlagsLeft(int32_t flagsLeft) = 0;
  // The window shows the current picture.
  virtual void showCurrentPicture() = 0;
};

// Each painting covers every cell it is about, onto the window's context and the surface
// alike; each cell update takes a window context of its own, and a repaint copies the whole
// surface to the window.
PaintingWay& literalPainting();

// Each painting draws on the off-screen surface only what differs from what the surface is
// known to show, and then puts the changed rectangle on the window with one copy.
PaintingWay& incrementalPainting();
// From now on nothing on the surface counts as known to the incremental painting.
void forgetWhatIsShown();
