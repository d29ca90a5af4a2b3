#pragma once

// Runs when the play timer finds the game won: stops the timer, scores the game and leaves
// it finished.
void onGameWon();
