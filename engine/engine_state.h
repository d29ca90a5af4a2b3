#pragma once

#include <cstdint>

#include "engine/board.h"

// The engine's program-wide state: one board, one set of game-flow flags, the pointer's last
// press and the play clock. Other subsystems read them freely but change them only through
// the engine's operations (game_flow.h above all). Two more pieces are kept with their
// operations: the generator's state (random.h) and the receiver of the engine's requests
// (engine_requests.h).

// Whether a game is in play, and how the next button release is taken.
struct GameFlags {
  bool gameOver = true;            // no game in play
  bool firstGame = true;           // the first board of the run has not had its first paint
  bool ignoreNextRelease = false;  // the next left or right release only clears this
};

// The most recent press of any of the three buttons, in client coordinates.
struct PointerPress {
  int32_t pressX = 0;
  int32_t pressY = 0;
};

// The play time of the current game.
struct PlayClock {
  int32_t startClock = 0;      // the millisecond clock when the game started
  int32_t elapsedSeconds = 0;  // as the timer display shows it, at most 9999
};

extern Board board;
extern GameFlags gameFlags;
extern PointerPress pointerPress;
extern PlayClock playClock;

// All of the engine's state as a new process has it, the generator and the requests'
// receiver included; for tests that run many programs in one process.
void resetEngineState();
