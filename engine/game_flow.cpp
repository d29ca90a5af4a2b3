#include "engine/game_flow.h"

#include "engine/engine_requests.h"
#include "engine/engine_state.h"
#include "engine/random.h"

int32_t elapsedSecondsAt(int32_t nowMilliseconds, int32_t startClock) {
  const int32_t elapsed = static_cast<int32_t>(static_cast<uint32_t>(nowMilliseconds) -
                                               static_cast<uint32_t>(startClock)) /
                          1000;
  return elapsed > kMaxElapsedSeconds ? kMaxElapsedSeconds : elapsed;
}

bool isGameWon() { return board.unrevealedCount() % 65536u == board.mines; }

void safeStart() {
  unsigned column = 1;
  unsigned row = 1;
  // The divisors are the counts minus one, so the last column and row are never candidates.
  for (int attempt = 0; attempt < 1000; ++attempt) {
    column = static_cast<unsigned>(nextRandom()) % (board.columns - 1u) + 1u;
    row = static_cast<unsigned>(nextRandom()) % (board.rows - 1u) + 1u;
    if (board.cell(static_cast<int>(column), static_cast<int>(row)).content == '0') break;
  }
  board.action = 'c';
  board.actionColumn = static_cast<uint16_t>(column);
  board.actionRow = static_cast<uint16_t>(row);
  board.apply();
}

void markGameInPlay() { gameFlags.gameOver = false; }

void markFirstGamePast() { gameFlags.firstGame = false; }

void ignoreTheNextRelease() { gameFlags.ignoreNextRelease = true; }

void heedTheNextRelease() { gameFlags.ignoreNextRelease = false; }

void startPlayClock(int32_t nowMilliseconds) { playClock.startClock = nowMilliseconds; }

void leaveGameFinished(FinalPicture picture) {
  gameFlags.gameOver = true;
  gameFlags.ignoreNextRelease = false;
  EngineRequests& requests = engineRequests();
  if (picture == FinalPicture::FinalBoard) requests.paintFinalBoard();
  requests.releaseCellOrigins();
}
