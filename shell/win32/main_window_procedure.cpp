#include "shell/win32/main_window_procedure.h"

#include "engine/pointer_gestures.h"
#include "shell/main_window.h"

namespace {

int32_t xOf(LPARAM lParam) { return pointerX(static_cast<uint32_t>(lParam)); }
int32_t yOf(LPARAM lParam) { return pointerY(static_cast<uint32_t>(lParam)); }
unsigned keysOf(WPARAM wParam) { return static_cast<unsigned>(wParam); }

void paint(HWND window) {
  PAINTSTRUCT paintInfo;
  HDC context = BeginPaint(window, &paintInfo);
  onMainWindowPaint(reinterpret_cast<DrawContext>(context));
  EndPaint(window, &paintInfo);
}

}  // namespace

Win32Services& win32Services() {
  static Win32Services platform;
  return platform;
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Recorded before anything else, so that even the messages of the window's creation
  // draw and own dialogs with the right window.
  win32Services().recordMainWindow(window);

  switch (message) {
    case WM_CREATE:
      win32Services().recordInstance(reinterpret_cast<CREATESTRUCTA*>(lParam)->hInstance);
      onMainWindowCreate();
      return 0;
    case WM_DESTROY:
      onMainWindowDestroy();
      PostQuitMessage(0);
      return 0;
    case WM_PAINT:
      paint(window);
      return 0;
    case WM_COMMAND:
      if (onMainWindowCommand(LOWORD(wParam))) return 0;
      break;
    case WM_TIMER:
      onTimerTick(static_cast<unsigned>(wParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      onButtonPress(xOf(lParam), yOf(lParam));
      return 0;
    case WM_LBUTTONUP:
      onLeftRelease(xOf(lParam), yOf(lParam), keysOf(wParam));
      return 0;
    case WM_RBUTTONUP:
      onRightRelease(xOf(lParam), yOf(lParam), keysOf(wParam));
      return 0;
    case WM_MBUTTONUP:
      onMiddleRelease(xOf(lParam), yOf(lParam));
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
