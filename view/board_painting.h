#pragma once

#include <cstdint>

#include "shell/services.h"

constexpr int32_t kOffscreenWidth = 1600;
constexpr int32_t kOffscreenHeight = 1200;
constexpr uint32_t kBackgroundColour = 0xDDDDDD;

// The off-screen copy of the window's picture, created by the first game start and kept for
// the run. Until it exists, drawing onto it does nothing.
void createOffscreenSurface();
DrawContext offscreenSurface();
bool offscreenSurfaceExists();
// Forgets the surface, as a new process would start.
void forgetOffscreenSurface();

// The painting operations, in the current painting mode (painting_mode.h). Each leaves the
// window showing the surface's picture when it ends, unless a WindowUpdateBatch around it
// holds the copy back to its own end.

// Background, every cell covered, both counter panels; clears gameOver.
void paintFreshBoard();
// Every cell with its final-board picture.
void paintFinalBoard();
// Every cell from the model onto the off-screen surface, then the surface to the window.
void repaintAllCells();
// The window shows the current picture; the engine asks for it at the end of a chord.
void showCurrentPicture();
// The whole surface onto a context of the window, windowWidth by windowHeight from (0, 0),
// as a paint request asks for it.
void copyOffscreenToWindow(DrawContext target);

// The left counter; only the places the number needs are drawn.
void showElapsedSeconds(int32_t seconds);
// The right counter, on a blanked panel; a negative count shows its units and a minus sign.
void showFlagsLeft(int32_t flagsLeft);

// One seven-segment digit (0 to 9) at origin (x, y), to the window context and the surface.
void drawSegmentDigit(int digit, int32_t x, int32_t y, DrawContext window);
