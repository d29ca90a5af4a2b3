#include <windows.h>

#include "shell/win32/main_window_procedure.h"
#include "shell/win32/message_loop.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  static Win32Services platform;
  installWin32Services(platform);

  if (!registerMainWindowClass(instance)) {
    MessageBoxA(nullptr, "Problem Registering window class", "Tessara",
                MB_ICONERROR | MB_TASKMODAL);
    return 0;
  }

  return showAndRunMessages(createMainWindow(instance));
}
