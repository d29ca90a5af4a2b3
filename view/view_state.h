#pragma once

// Forgets everything the board view holds for the run (loaded images, the off-screen
// surface, the window fit, the position table and the tile set), as a fresh process would
// start. For tests that run many programs in one process.
void resetViewState();
