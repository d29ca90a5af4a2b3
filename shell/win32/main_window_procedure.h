#pragma once

#include <windows.h>

#include "shell/win32/win32_services.h"

// The services the window procedure records its window and instance in.
Win32Services& win32Services();

// Cracks each message of the main window and hands it to its portable handler.
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
