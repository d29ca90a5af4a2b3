#include <windows.h>

#include "shell/win32/main_window_procedure.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  static Win32Services platform;
  installWin32Services(platform);

  if (!registerMainWindowClass(instance)) {
    MessageBoxA(nullptr, "Problem Registering window class", "Tessara",
                MB_ICONERROR | MB_TASKMODAL);
    return 0;
  }

  HWND window = createMainWindow(instance);
  ShowWindow(window, SW_SHOWDEFAULT);
  UpdateWindow(window);

  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
