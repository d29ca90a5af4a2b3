#pragma once

// Opens the closed, unflagged neighbours of an opened number cell whose flags are complete.
void chordAt(int column, int row);

// Ends the game in play as lost and shows the final board.
void endGameLost();
