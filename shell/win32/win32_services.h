#pragma once

#include <windows.h>

#include "shell/services.h"

// The program's services on Win32: USER, GDI, the shell and Winsock. A benchmark may derive
// from them to hold one of the services still, as the calendar clock.
class Win32Services : public Services {
 public:
  Win32Services();

  // The window procedure records its window at every message; dialogs and drawing use it.
  void recordMainWindow(HWND window) { mainWindow_ = window; }
  // From the main window's creation parameters; dialogs are loaded from this module.
  void recordInstance(HINSTANCE instance) { instance_ = instance; }

  WindowRef mainWindow() override { return reinterpret_cast<WindowRef>(mainWindow_); }
  int systemMetric(SystemMetric metric) override;
  Rect workArea() override;
  Rect adjustWindowRect(const Rect& client) override;
  Rect windowRect() override;
  Rect clientRect() override;
  int32_t menuBarWidth() override;
  void moveWindow(int32_t left, int32_t top, int32_t width, int32_t height) override;
  void setWindowRegion(const std::vector<PixelPoint>& outline) override;
  void closeMainWindow() override;
  void exitProcess(int status) override;
  void checkMenuItem(int command, bool checked) override;
  void setTimer(int id, unsigned milliseconds) override;
  void killTimer(int id) override;
  int32_t milliseconds() override;
  int64_t calendarSeconds() override;
  DrawContext windowContext() override;
  void releaseWindowContext(DrawContext context) override;
  DrawContext loadImage(int bitmapId) override;
  DrawContext createOffscreenSurface(int32_t width, int32_t height) override;
  DrawContext createImage(int32_t width, int32_t height) override;
  void bitBlt(DrawContext destination, int32_t x, int32_t y, int32_t width, int32_t height,
              DrawContext source, int32_t sourceX, int32_t sourceY, RasterOp op) override;
  void drawRectangle(DrawContext context, const Rect& rect, uint32_t fillColour) override;
  int runDialog(int templateId, DialogProcedure& procedure) override;
  int messageBox(WindowRef owner, const std::string& text, const std::string& caption,
                 unsigned style) override;
  void shellOpen(const std::string& target) override;
  bool startSocketsLibrary() override;

 private:
  HWND mainWindow_ = nullptr;
  HINSTANCE instance_;
  DWORD startTick_;
  HDC screen_ = nullptr;  // taken by the first image made, kept for the run
};
