#pragma once

#include <windows.h>

#include "shell/win32/win32_services.h"

// Makes these the services the program runs on and the ones the window procedure records its
// window and instance in; before the main window is made.
void installWin32Services(Win32Services& platform);

// Cracks each message of the main window and hands it to its portable handler.
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The main window's class, with MainWndProc; false when the system refuses it.
bool registerMainWindowClass(HINSTANCE instance);
// The main window, not yet shown. The whole start-up, the first level dialog included, runs
// inside this call.
HWND createMainWindow(HINSTANCE instance);
