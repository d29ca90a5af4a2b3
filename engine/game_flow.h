#pragma once

#include <cstdint>

constexpr int32_t kMaxElapsedSeconds = 9999;

// Seconds of play shown on the timer display: truncated toward zero, capped at 9999.
int32_t elapsedSecondsAt(int32_t nowMilliseconds, int32_t startClock);

// The win test of every timer tick: as many unopened cells as mines, counted modulo 65536.
bool isGameWon();

// Opens a cell for the player at the start of a game: the first "0" among up to 1000
// candidates, else the last candidate, whatever it holds.
void safeStart();
