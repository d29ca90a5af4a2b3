#pragma once

#include <cstdint>

#include "shell/services.h"

// The main window's behaviour, message by message. The platform's window procedure cracks
// each message and calls one of these; tests call them directly.
void onMainWindowCreate();
void onMainWindowDestroy();
void onMainWindowPaint(DrawContext paintContext);
// Returns false for ids no menu item carries (they go to default processing).
bool onMainWindowCommand(int command);

// The signed client coordinates packed into a button message's lParam.
inline int32_t pointerX(uint32_t lParam) { return static_cast<int16_t>(lParam & 0xFFFF); }
inline int32_t pointerY(uint32_t lParam) { return static_cast<int16_t>(lParam >> 16); }
