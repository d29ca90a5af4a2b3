#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "shell/memory/bitmap_file.h"
#include "shell/services.h"

// Services without a window system, for native tests: surfaces are real 24-bit pixels on
// which the raster operations do what the platform's do; the clock and the timer are driven
// by the test; dialogs and message boxes are answered by the test and recorded.

// Where the bitmaps of the program come from, by resource id.
using ImageSource = std::function<std::optional<RgbImage>(int bitmapId)>;

struct ControlState {
  std::string text;
  bool enabled = true;
  bool checked = false;
  bool readOnly = false;
  bool bold = false;
};

class MemoryServices;

// An open dialog. The test answers it through click() and setText().
class MemoryDialog final : public DialogControls {
 public:
  MemoryDialog(MemoryServices& owner, int templateId, WindowRef ref, DialogProcedure& procedure)
      : owner_(owner), templateId_(templateId), ref_(ref), procedure_(procedure) {}

  int templateId() const { return templateId_; }
  bool ended() const { return result_.has_value(); }
  int result() const { return result_.value_or(-1); }
  const std::map<int, ControlState>& controls() const { return controls_; }
  const ControlState& control(int id) { return controls_[id]; }

  // A click on a button (notification 0), as the user would make it; a disabled or absent
  // control cannot be clicked.
  void click(int control);
  // A click on a check box that ticks itself: the tick changes before the command arrives.
  void toggleCheckBox(int control);
  // A command with any notification code, as a control or the keyboard would send it.
  void command(int control, int notification);

  WindowRef window() override { return ref_; }
  void setText(int control, const std::string& text) override { controls_[control].text = text; }
  std::string text(int control, size_t maxChars) override;
  unsigned unsignedNumber(int control) override;
  int signedNumber(int control) override;
  void enable(int control, bool enabled) override { controls_[control].enabled = enabled; }
  void setChecked(int control, bool checked) override { controls_[control].checked = checked; }
  bool isChecked(int control) override { return controls_[control].checked; }
  void setReadOnly(int control, bool readOnly) override { controls_[control].readOnly = readOnly; }
  void setBoldFont(int control) override { controls_[control].bold = true; }
  void end(int result) override { result_ = result; }

 private:
  friend class MemoryServices;
  MemoryServices& owner_;
  int templateId_;
  WindowRef ref_;
  DialogProcedure& procedure_;
  std::map<int, ControlState> controls_;
  std::optional<int> result_;
};

struct ShownDialog {
  int templateId;
  std::map<int, ControlState> controls;  // as the user saw them when the dialog appeared
};

struct ShownMessageBox {
  WindowRef owner;
  std::string text;
  std::string caption;
  unsigned style;
};

// The process ended through exitProcess(); thrown so that the test regains control.
struct ProcessExit : std::runtime_error {
  explicit ProcessExit(int status) : std::runtime_error("process exit"), status(status) {}
  int status;
};

class MemoryServices final : public Services {
 public:
  static constexpr WindowRef kMainWindow = 1;
  // The frame the platform adds around the client area: left, right and bottom 4, top 42.
  static constexpr int32_t kFrameSide = 4;
  static constexpr int32_t kFrameTop = 42;

  explicit MemoryServices(ImageSource images);

  // --- What the test sets and drives.
  int32_t screenWidth = 1280;
  int32_t screenHeight = 1024;
  int32_t captionHeight = 19;
  // Unset, the work area is the whole screen.
  std::optional<Rect> workAreaRect;
  // What the menu bar's three titles need on one line, as measured under Wine.
  int32_t menuLineWidth = 119;
  int32_t clockMilliseconds = 0;
  int64_t clockCalendarSeconds = 1796000000;
  bool socketsLibraryStarts = true;
  // Called when the main window is asked to close (the test usually destroys the window).
  std::function<void()> onCloseRequest;

  // Queues the answer for the next opening of a dialog template that is shown to the user.
  void answerDialog(int templateId, std::function<void(MemoryDialog&)> answer);
  // Queues the answer of the next message box; without one a box is answered OK, or Yes.
  void answerMessageBox(int answer);
  // Whether the window has been invalidated since the last call (a paint is due).
  bool takePaintRequest();
  // Minimises the window, whose client area is then empty, or restores it, which asks for a
  // paint.
  void setMinimised(bool minimised);

  // --- What the test reads.
  const RgbImage& windowPixels() const { return surfaces_.at(windowSurface_); }
  const RgbImage& surfacePixels(DrawContext context) const { return surfaces_.at(context); }
  std::optional<DrawContext> offscreen() const { return offscreen_; }
  bool timerRunning(int id) const { return timers_.count(id) > 0; }
  unsigned timerPeriod(int id) const { return timers_.count(id) ? timers_.at(id) : 0; }
  bool menuChecked(int command) const;
  const std::vector<PixelPoint>& windowRegion() const { return region_; }
  const std::vector<ShownDialog>& dialogsShown() const { return dialogsShown_; }
  const std::vector<int>& dialogsRun() const { return dialogsRun_; }
  const std::vector<ShownMessageBox>& messageBoxes() const { return messageBoxes_; }
  const std::vector<std::string>& shellOpened() const { return shellOpened_; }
  const std::vector<Rect>& windowMoves() const { return windowMoves_; }
  int windowContextsHeld() const { return windowContextsHeld_; }
  // How many times the window's context has been taken since the services were made.
  int windowContextsTaken() const { return windowContextsTaken_; }

  // --- Services.
  WindowRef mainWindow() override { return kMainWindow; }
  int systemMetric(SystemMetric metric) override;
  Rect workArea() override;
  Rect adjustWindowRect(const Rect& client) override;
  Rect windowRect() override { return window_; }
  Rect clientRect() override;
  int32_t menuBarWidth() override { return menuLineWidth; }
  void moveWindow(int32_t left, int32_t top, int32_t width, int32_t height) override;
  void setWindowRegion(const std::vector<PixelPoint>& outline) override;
  void closeMainWindow() override;
  void exitProcess(int status) override { throw ProcessExit(status); }
  void checkMenuItem(int command, bool checked) override { menuChecks_[command] = checked; }
  void setTimer(int id, unsigned milliseconds) override { timers_[id] = milliseconds; }
  void killTimer(int id) override { timers_.erase(id); }
  int32_t milliseconds() override { return clockMilliseconds; }
  int64_t calendarSeconds() override { return clockCalendarSeconds; }
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
  void shellOpen(const std::string& target) override { shellOpened_.push_back(target); }
  bool startSocketsLibrary() override { return socketsLibraryStarts; }

 private:
  DrawContext addSurface(RgbImage image);
  void resizeWindowSurface();

  ImageSource images_;
  std::map<DrawContext, RgbImage> surfaces_;
  DrawContext nextContext_ = 100;
  DrawContext windowSurface_ = 0;
  std::optional<DrawContext> offscreen_;
  int windowContextsHeld_ = 0;
  int windowContextsTaken_ = 0;
  Rect window_{0, 0, 800, 600};
  bool minimised_ = false;
  std::vector<PixelPoint> region_;
  bool paintRequested_ = false;
  std::map<int, bool> menuChecks_;
  std::map<int, unsigned> timers_;
  std::map<int, std::deque<std::function<void(MemoryDialog&)>>> dialogAnswers_;
  std::deque<int> messageBoxAnswers_;
  std::vector<ShownDialog> dialogsShown_;
  std::vector<int> dialogsRun_;
  std::vector<ShownMessageBox> messageBoxes_;
  std::vector<std::string> shellOpened_;
  std::vector<Rect> windowMoves_;
  WindowRef nextDialogRef_ = 0x1000;
};
