#pragma once

// Forgets everything the board view holds for the run (loaded images, the off-screen
// surface and what it is known to show, the window fit, the position table, the tile set and
// the painting mode), as a fresh process would start. For tests that run many programs in one
// process.
void resetViewState();
