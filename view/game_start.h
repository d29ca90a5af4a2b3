#pragma once

#include <cstdint>

// The window's fit to the current board, computed by every game start.
struct WindowFit {
  int32_t windowWidth = 0;   // outer width for the field
  int32_t windowHeight = 0;  // outer height for the field; the window is 36 pixels taller
  int32_t clientTop = 0;     // from the window's top edge to the client area
  int32_t captionExtra = 0;  // caption height beyond 19 pixels
};

extern WindowFit windowFit;

constexpr int kPlayTimer = 300;
constexpr unsigned kPlayTimerPeriod = 100;

// Turns the current settings into a playable board on screen.
void startNewGame();
