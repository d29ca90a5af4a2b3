#pragma once

#include "engine/cell.h"

// What the engine has just done to a cell before asking for it to be drawn.
enum class CellChange { FlagToggled, QuestionToggled, Opened };

// The engine's requests to whoever shows the board. The board view fills it in the
// program; tests put an observer here. With nothing installed the requests do nothing.
class BoardView {
 public:
  virtual ~BoardView() = default;
  virtual void drawCellUpdate(int column, int row, const Cell& cell, CellChange change) = 0;
  virtual void paintFinalBoard() = 0;
  virtual void copyOffscreenToWindow() = 0;
  virtual void stopPlayTimer() = 0;
  virtual void releaseCellOrigins() = 0;
};

// Installs the receiver of the engine's requests; nullptr restores the silent one.
void installBoardView(BoardView* view);
BoardView& boardView();
