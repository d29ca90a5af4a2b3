#pragma once

#include "engine/cell.h"

// What the engine has just done to a cell before asking for it to be drawn.
enum class CellChange { FlagToggled, QuestionToggled, Opened };

// What the engine asks of the rest of the program while a game is played. The board view
// carries the requests out in the program and engine tests record them; as they stand here
// they do nothing, which is what the engine gets while no receiver is installed.
class EngineRequests {
 public:
  virtual ~EngineRequests() = default;

  // Drawing: each cell as the engine changes it, and the final board of a loss.
  virtual void drawCellUpdate(int /*column*/, int /*row*/, const Cell&, CellChange) {}
  virtual void paintFinalBoard() {}
  // The window shows the current picture, as at the end of a chord.
  virtual void copyOffscreenToWindow() {}

  // The end of a game: the play timer stops, and the game's position table is released.
  virtual void stopPlayTimer() {}
  virtual void releaseCellOrigins() {}
};

// Installs the receiver of the engine's requests; nullptr restores the silent one.
void installEngineRequests(EngineRequests* receiver);
EngineRequests& engineRequests();
