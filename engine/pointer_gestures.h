#pragma once

#include <cstdint>

// The mouse buttons as player actions. Positions are client coordinates; keys are the held
// buttons and modifier keys that come with the release (see keys:: in shell/services.h).
void onButtonPress(int32_t x, int32_t y);
void onLeftRelease(int32_t x, int32_t y, unsigned keys);
void onRightRelease(int32_t x, int32_t y, unsigned keys);
void onMiddleRelease(int32_t x, int32_t y);
void chordAtPointer(int32_t x, int32_t y);
void restartGame();
void onTimerTick(unsigned timer);

