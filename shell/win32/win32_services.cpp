// Winsock 2 comes before windows.h, which would otherwise bring the first version's header.
#include <winsock2.h>

#include "shell/win32/win32_services.h"

#include <shellapi.h>

#include <ctime>

#include "shell/win32/win32_dialog.h"

namespace {

HWND asWindow(WindowRef window) { return reinterpret_cast<HWND>(window); }
HDC asContext(DrawContext context) { return reinterpret_cast<HDC>(context); }
DrawContext asDrawContext(HDC context) { return reinterpret_cast<DrawContext>(context); }

Rect fromRECT(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

DWORD rasterOperation(RasterOp op) {
  switch (op) {
    case RasterOp::SrcAnd:
      return SRCAND;
    case RasterOp::SrcPaint:
      return SRCPAINT;
    case RasterOp::SrcCopy:
      break;
  }
  return SRCCOPY;
}

COLORREF colourOf(uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace

Win32Services::Win32Services()
    : instance_(GetModuleHandleA(nullptr)), startTick_(GetTickCount()) {}

int Win32Services::systemMetric(SystemMetric metric) {
  switch (metric) {
    case SystemMetric::ScreenWidth:
      return GetSystemMetrics(SM_CXSCREEN);
    case SystemMetric::ScreenHeight:
      return GetSystemMetrics(SM_CYSCREEN);
    case SystemMetric::CaptionHeight:
      return GetSystemMetrics(SM_CYCAPTION);
  }
  return 0;
}

Rect Win32Services::workArea() {
  RECT rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &rect, 0);
  return fromRECT(rect);
}

Rect Win32Services::adjustWindowRect(const Rect& client) {
  RECT rect{client.left, client.top, client.right, client.bottom};
  AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, TRUE);
  return fromRECT(rect);
}

Rect Win32Services::windowRect() {
  RECT rect{};
  GetWindowRect(mainWindow_, &rect);
  return fromRECT(rect);
}

Rect Win32Services::clientRect() {
  RECT rect{};
  GetClientRect(mainWindow_, &rect);
  return fromRECT(rect);
}

int32_t Win32Services::menuBarWidth() {
  // The items' own widths: where they stand now depends on whether the bar has wrapped.
  HMENU menu = GetMenu(mainWindow_);
  int32_t width = 0;
  const int items = GetMenuItemCount(menu);
  for (int i = 0; i < items; ++i) {
    RECT item{};
    if (GetMenuItemRect(mainWindow_, menu, static_cast<UINT>(i), &item)) {
      width += item.right - item.left;
    }
  }
  return width;
}

void Win32Services::moveWindow(int32_t left, int32_t top, int32_t width, int32_t height) {
  MoveWindow(mainWindow_, left, top, width, height, TRUE);
}

void Win32Services::setWindowRegion(const std::vector<PixelPoint>& outline) {
  std::vector<POINT> points;
  points.reserve(outline.size());
  for (const PixelPoint& point : outline) points.push_back({point.x, point.y});
  HRGN region = CreatePolygonRgn(points.data(), static_cast<int>(points.size()), WINDING);
  if (!region) return;
  // Once the window has taken the region the system owns it; only a refused one is ours.
  if (!SetWindowRgn(mainWindow_, region, TRUE)) DeleteObject(region);
}

void Win32Services::closeMainWindow() { SendMessageA(mainWindow_, WM_CLOSE, 0, 0); }

void Win32Services::exitProcess(int status) { ExitProcess(static_cast<UINT>(status)); }

void Win32Services::checkMenuItem(int command, bool checked) {
  CheckMenuItem(GetMenu(mainWindow_), static_cast<UINT>(command),
                MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void Win32Services::setTimer(int id, unsigned milliseconds) {
  SetTimer(mainWindow_, static_cast<UINT_PTR>(id), milliseconds, nullptr);
}

void Win32Services::killTimer(int id) { KillTimer(mainWindow_, static_cast<UINT_PTR>(id)); }

int32_t Win32Services::milliseconds() {
  // Unsigned subtraction keeps counting across the tick counter's wrap after 49 days.
  return static_cast<int32_t>(GetTickCount() - startTick_);
}

int64_t Win32Services::calendarSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

DrawContext Win32Services::windowContext() { return asDrawContext(GetDC(mainWindow_)); }

void Win32Services::releaseWindowContext(DrawContext context) {
  ReleaseDC(mainWindow_, asContext(context));
}

DrawContext Win32Services::loadImage(int bitmapId) {
  // As a section of the bitmap's own format, without colour mapping: made at start-up for
  // every picture, it costs far less than a bitmap converted to the screen's format, and
  // copies give the same pixels.
  HBITMAP image = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr),
                                                  MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0,
                                                  LR_CREATEDIBSECTION));
  HDC context = CreateCompatibleDC(nullptr);
  SelectObject(context, image);
  return asDrawContext(context);
}

DrawContext Win32Services::createOffscreenSurface(int32_t width, int32_t height) {
  return createImage(width, height);
}

DrawContext Win32Services::createImage(int32_t width, int32_t height) {
  // The screen's context stays open for the run, like the images made from it. Each bitmap
  // is made compatible with the screen: one made from the fresh memory context would be
  // monochrome.
  if (!screen_) screen_ = GetDC(nullptr);
  HDC context = CreateCompatibleDC(screen_);
  HBITMAP image = CreateCompatibleBitmap(screen_, width, height);
  SelectObject(context, image);
  return asDrawContext(context);
}

void Win32Services::bitBlt(DrawContext destination, int32_t x, int32_t y, int32_t width,
                           int32_t height, DrawContext source, int32_t sourceX,
                           int32_t sourceY, RasterOp op) {
  BitBlt(asContext(destination), x, y, width, height, asContext(source), sourceX, sourceY,
         rasterOperation(op));
}

void Win32Services::drawRectangle(DrawContext context, const Rect& rect, uint32_t fillColour) {
  HDC target = asContext(context);
  HBRUSH brush = CreateSolidBrush(colourOf(fillColour));
  HGDIOBJ previousBrush = SelectObject(target, brush);
  HGDIOBJ previousPen = SelectObject(target, GetStockObject(BLACK_PEN));
  Rectangle(target, rect.left, rect.top, rect.right, rect.bottom);
  SelectObject(target, previousPen);
  SelectObject(target, previousBrush);
  DeleteObject(brush);
}

int Win32Services::runDialog(int templateId, DialogProcedure& procedure) {
  return runDialogTemplate(instance_, templateId, mainWindow_, procedure);
}

int Win32Services::messageBox(WindowRef owner, const std::string& text,
                              const std::string& caption, unsigned style) {
  return MessageBoxA(asWindow(owner), text.c_str(), caption.c_str(), style);
}

void Win32Services::shellOpen(const std::string& target) {
  ShellExecuteA(nullptr, "open", target.c_str(), nullptr, "", SW_SHOWNORMAL);
}

bool Win32Services::startSocketsLibrary() {
  WSADATA data;
  return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}
