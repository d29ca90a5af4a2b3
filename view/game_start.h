#pragma once

#include <cstdint>

constexpr int kPlayTimer = 300;
constexpr unsigned kPlayTimerPeriod = 100;

// Turns the current settings into a playable board on screen.
void startNewGame();
