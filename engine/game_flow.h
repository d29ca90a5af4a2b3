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

// The game flow's changes of state, as the rest of the program makes them.

// A fresh board is on screen: a game is in play.
void markGameInPlay();
// The first board of the run has had its first paint, or is over.
void markFirstGamePast();
// The next left or right release only clears this, as after a dialog closed by a click; and
// the opposite, so that the next release counts.
void ignoreTheNextRelease();
void heedTheNextRelease();
// The current game's play time counts from now.
void startPlayClock(int32_t nowMilliseconds);

// What stays on screen when a game ends.
enum class FinalPicture {
  FinalBoard,         // a loss: every cell with its final-board picture
  LastPictureOfPlay,  // a win: the board as the player left it
};

// The end of every game, lost or won, after its play timer has stopped: no game is in play
// and no release is ignored; then the final picture is left on screen (painted while no game
// is in play, so that every cell's place comes from its tile set) and the game's position
// table is released.
void leaveGameFinished(FinalPicture picture);
