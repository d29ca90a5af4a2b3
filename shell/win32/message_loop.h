#pragma once

#include <windows.h>

// Shows the window, paints it at once and dispatches the thread's messages until the quit
// message; returns the quit message's exit code.
int showAndRunMessages(HWND window);
