#include "engine/player_actions.h"

#include "engine/engine_requests.h"
#include "engine/engine_state.h"
#include "engine/game_flow.h"

void chordAt(int column, int row) {
  if (!board.isInner(column, row)) return;
  int flags = 0;
  for (const CellPosition& n : neighboursOf(column, row)) {
    if (board.isInner(n.column, n.row) && board.cell(n.column, n.row).isFlagged()) ++flags;
  }
  // An opened mine reads as 9, which no count of flags reaches.
  if (flags == board.cell(column, row).content - '0') {
    for (const CellPosition& n : neighboursOf(column, row)) {
      if (!board.isInner(n.column, n.row)) continue;
      Cell& next = board.cell(n.column, n.row);
      if (next.isRevealed() || next.isFlagged()) continue;
      if (next.holdsMine()) {
        endGameLost();
        return;
      }
      next.open(n.column, n.row);
      if (next.content == '0') board.floodOpen(n.column, n.row);
    }
  }
  engineRequests().copyOffscreenToWindow();
}

void endGameLost() {
  engineRequests().stopPlayTimer();
  leaveGameFinished(FinalPicture::FinalBoard);
}
