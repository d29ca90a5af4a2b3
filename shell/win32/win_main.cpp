#include <windows.h>

#include "engine/mine_seed.h"
#include "shell/services.h"
#include "shell/win32/main_window_procedure.h"
#include "shell/win32/message_loop.h"

namespace {

int64_t platformCalendarSeconds() { return services().calendarSeconds(); }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  installServices(&win32Services());
  installCalendarClock(platformCalendarSeconds);

  if (!registerMainWindowClass(instance)) {
    MessageBoxA(nullptr, "Problem Registering window class", "Tessara",
                MB_ICONERROR | MB_TASKMODAL);
    return 0;
  }

  return showAndRunMessages(createMainWindow(instance));
}
