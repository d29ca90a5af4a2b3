#pragma once

#include <cstdint>

// Whether a game is in play, and the pointer and clock state of the game flow.
struct GameFlags {
  bool gameOver = true;            // no game in play
  bool firstGame = true;           // the first board of the run has not had its first paint
  bool ignoreNextRelease = false;  // the next left or right release only clears this
  int32_t pressX = 0;
  int32_t pressY = 0;
  int32_t startClock = 0;  // millisecond clock when the current game started
  int32_t elapsedSeconds = 0;
};

extern GameFlags gameFlags;
