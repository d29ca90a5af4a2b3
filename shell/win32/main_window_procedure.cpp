#include "shell/win32/main_window_procedure.h"

#include "engine/pointer_gestures.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"

namespace {

constexpr char kClassName[] = "Tessara";
constexpr char kWindowTitle[] = "Tessara";
constexpr int kInitialWidth = 800;
constexpr int kInitialHeight = 600;

int32_t xOf(LPARAM lParam) { return pointerX(static_cast<uint32_t>(lParam)); }
int32_t yOf(LPARAM lParam) { return pointerY(static_cast<uint32_t>(lParam)); }
unsigned keysOf(WPARAM wParam) { return static_cast<unsigned>(wParam); }

void paint(HWND window) {
  PAINTSTRUCT paintInfo;
  HDC context = BeginPaint(window, &paintInfo);
  onMainWindowPaint(reinterpret_cast<DrawContext>(context));
  EndPaint(window, &paintInfo);
}

Win32Services* recorder = nullptr;

}  // namespace

void installWin32Services(Win32Services& platform) {
  recorder = &platform;
  installServices(&platform);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Recorded before anything else, so that even the messages of the window's creation
  // draw and own dialogs with the right window.
  recorder->recordMainWindow(window);

  switch (message) {
    case WM_CREATE:
      recorder->recordInstance(reinterpret_cast<CREATESTRUCTA*>(lParam)->hInstance);
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

HWND createMainWindow(HINSTANCE instance) {
  return CreateWindowExA(0, kClassName, kWindowTitle, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                         0, 0, kInitialWidth, kInitialHeight, nullptr, nullptr, instance,
                         nullptr);
}
