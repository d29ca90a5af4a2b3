// The yardstick of the start-up benchmark: an empty window of the same class style, cursor,
// background, window style and size as the program's main window, shown, painted and run
// by the program's own message loop.
#include <windows.h>

#include "shell/win32/message_loop.h"

namespace {

LRESULT CALLBACK emptyWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = emptyWindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = "EmptyWindow";
  if (!RegisterClassA(&windowClass)) return 1;
  return showAndRunMessages(CreateWindowExA(0, "EmptyWindow", "Empty",
                                            WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 800,
                                            600, nullptr, nullptr, instance, nullptr));
}
