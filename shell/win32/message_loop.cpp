#include "shell/win32/message_loop.h"

int showAndRunMessages(HWND window) {
  ShowWindow(window, SW_SHOWDEFAULT);
  UpdateWindow(window);

  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
