#include <windows.h>

#include "engine/mine_seed.h"
#include "resources/resource_ids.h"
#include "shell/services.h"
#include "shell/win32/main_window_procedure.h"

namespace {

constexpr char kClassName[] = "Tessara";
constexpr char kWindowTitle[] = "Tessara";
constexpr int kInitialWidth = 800;
constexpr int kInitialHeight = 600;

int64_t platformCalendarSeconds() { return services().calendarSeconds(); }

bool registerMainWindowClass(HINSTANCE instance) {
  WNDCLASSA windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWndProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TESSARA));
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszMenuName = kMainMenuName;
  windowClass.lpszClassName = kClassName;
  return RegisterClassA(&windowClass) != 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  installServices(&win32Services());
  installCalendarClock(platformCalendarSeconds);

  if (!registerMainWindowClass(instance)) {
    MessageBoxA(nullptr, "Problem Registering window class", "Tessara",
                MB_ICONERROR | MB_TASKMODAL);
    return 0;
  }

  // The whole start-up, the first level dialog included, runs inside this call.
  HWND window = CreateWindowExA(0, kClassName, kWindowTitle,
                                WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, kInitialWidth,
                                kInitialHeight, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOWDEFAULT);
  UpdateWindow(window);

  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
