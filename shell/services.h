#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "view/pixel_point.h"

// The program's one way to the platform: window, menu, timer, clock, drawing, dialogs,
// message boxes and the shell. The product runs on the Win32 implementation; native tests
// run whole games on the in-memory one, which keeps real pixels.

// A window of the program (the main window or an open dialog); 0 means none.
using WindowRef = uintptr_t;
// A drawing destination or source: the window, the off-screen surface or a loaded image.
using DrawContext = uintptr_t;

struct Rect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
};

enum class RasterOp { SrcCopy, SrcAnd, SrcPaint };

enum class SystemMetric { ScreenWidth, ScreenHeight, CaptionHeight };

// Message-box styles and answers, with the platform's own values.
namespace box {
constexpr unsigned kOk = 0x0000;
constexpr unsigned kYesNo = 0x0004;
constexpr unsigned kIconError = 0x0010;  // the stop icon
constexpr unsigned kIconQuestion = 0x0020;
constexpr unsigned kIconExclamation = 0x0030;
constexpr unsigned kIconInformation = 0x0040;
constexpr unsigned kTaskModal = 0x2000;
constexpr int kAnswerOk = 1;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;
}  // namespace box

// Held mouse buttons and keys that come with a button message.
namespace keys {
constexpr unsigned kLeftButton = 0x0001;
constexpr unsigned kRightButton = 0x0002;
constexpr unsigned kShift = 0x0004;
constexpr unsigned kControl = 0x0008;
constexpr unsigned kMiddleButton = 0x0010;
}  // namespace keys

// What a dialog procedure may do with its open dialog. Controls are addressed by id.
class DialogControls {
 public:
  virtual ~DialogControls() = default;
  virtual WindowRef window() = 0;
  virtual void setText(int control, const std::string& text) = 0;
  // At most maxChars characters of the control's text.
  virtual std::string text(int control, size_t maxChars) = 0;
  // The control's text as an unsigned number; text that is not a number reads as 0.
  virtual unsigned unsignedNumber(int control) = 0;
  virtual int signedNumber(int control) = 0;
  virtual void enable(int control, bool enabled) = 0;
  virtual void setChecked(int control, bool checked) = 0;
  virtual bool isChecked(int control) = 0;
  virtual void setReadOnly(int control, bool readOnly) = 0;
  // The stock GUI font in bold weight.
  virtual void setBoldFont(int control) = 0;
  virtual void end(int result) = 0;
};

// The behaviour of one dialog, driven by the dialog's initialisation and its commands.
class DialogProcedure {
 public:
  virtual ~DialogProcedure() = default;
  // Returns true to let the system give the focus to the first control.
  virtual bool onInit(DialogControls& dialog) = 0;
  // A command from a control (notification 0 for a click); returns whether it was handled.
  virtual bool onCommand(DialogControls& dialog, int control, int notification) = 0;
};

class Services {
 public:
  virtual ~Services() = default;

  // Window and screen.
  virtual WindowRef mainWindow() = 0;
  virtual int systemMetric(SystemMetric metric) = 0;
  // The part of the screen that windows may use: the screen less the taskbar and other bars
  // docked at its edges. Screen coordinates.
  virtual Rect workArea() = 0;
  // The outer rectangle for a client rectangle, with the overlapped style and a menu.
  virtual Rect adjustWindowRect(const Rect& client) = 0;
  virtual Rect windowRect() = 0;
  virtual Rect clientRect() = 0;
  // The client width the main window's menu bar needs to show all its items on one line.
  virtual int32_t menuBarWidth() = 0;
  virtual void moveWindow(int32_t left, int32_t top, int32_t width, int32_t height) = 0;
  // Clips the main window to the polygon (window coordinates, winding fill), redrawing it.
  virtual void setWindowRegion(const std::vector<PixelPoint>& outline) = 0;
  // Asks the main window to close, as the Exit command and the close button do.
  virtual void closeMainWindow() = 0;
  // Ends the process at once, without destroying the main window.
  virtual void exitProcess(int status) = 0;

  // Menu check marks, by command id.
  virtual void checkMenuItem(int command, bool checked) = 0;

  // The main window's timer; setting a running id again replaces it.
  virtual void setTimer(int id, unsigned milliseconds) = 0;
  virtual void killTimer(int id) = 0;

  // Milliseconds since the program started.
  virtual int32_t milliseconds() = 0;
  // Seconds since 1970-01-01 UTC.
  virtual int64_t calendarSeconds() = 0;

  // Drawing. The window's context is held for the length of one painting operation.
  virtual DrawContext windowContext() = 0;
  virtual void releaseWindowContext(DrawContext context) = 0;
  // A bitmap resource by id, selected into a memory context of its own; lives for the run.
  virtual DrawContext loadImage(int bitmapId) = 0;
  // A surface compatible with the screen, selected into a memory context; lives for the run.
  virtual DrawContext createOffscreenSurface(int32_t width, int32_t height) = 0;
  // A blank image in the screen's format, in a memory context of its own, for pictures the
  // program composes from the loaded ones; lives for the run.
  virtual DrawContext createImage(int32_t width, int32_t height) = 0;
  virtual void bitBlt(DrawContext destination, int32_t x, int32_t y, int32_t width,
                      int32_t height, DrawContext source, int32_t sourceX, int32_t sourceY,
                      RasterOp op) = 0;
  // Rectangle outlined with a one-pixel black pen and filled with a solid colour (0xRRGGBB).
  virtual void drawRectangle(DrawContext context, const Rect& rect, uint32_t fillColour) = 0;

  // A modal dialog from the program's dialog template, owned by the main window.
  virtual int runDialog(int templateId, DialogProcedure& procedure) = 0;
  virtual int messageBox(WindowRef owner, const std::string& text, const std::string& caption,
                         unsigned style) = 0;

  // Shows a document or an address in the user's browser; the outcome is not reported.
  virtual void shellOpen(const std::string& target) = 0;

  // Starts the sockets library (version 2.2); false when it cannot be started.
  virtual bool startSocketsLibrary() = 0;
};

// The services the program runs on; installed once at start-up (or by a test).
void installServices(Services* services);
Services& services();

// Runs the dialog template modally with a fresh procedure of the given type.
template <typename Procedure>
int runDialogWith(int templateId) {
  Procedure procedure;
  return services().runDialog(templateId, procedure);
}
