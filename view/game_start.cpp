#include "view/game_start.h"

#include <algorithm>

#include "engine/engine_state.h"
#include "engine/game_flow.h"
#include "shell/level_dialog.h"
#include "shell/services.h"
#include "shell/shell_state.h"
#include "view/board_painting.h"
#include "view/field_size.h"
#include "view/surface_changes.h"
#include "view/view_state.h"
#include "view/window_outline.h"

namespace {

constexpr int32_t kStandardCaptionHeight = 19;
// Room left below a window moved up from the work area's bottom edge.
constexpr int32_t kBottomMargin = 61;

void fitWindowToField() {
  Services& platform = services();
  const FieldSize field = fieldSize(tileMetrics, static_cast<int32_t>(gameSettings.columns),
                                    static_cast<int32_t>(gameSettings.rows));
  const int32_t clientWidth = clientWidthFor(field, platform.menuBarWidth());
  const Rect outer = platform.adjustWindowRect({0, 0, clientWidth, field.height});
  windowFit.clientTop = -outer.top;
  windowFit.windowWidth = outer.width();
  windowFit.windowHeight = outer.height();
  const int32_t fullHeight = windowFit.windowHeight + kCounterFeetHeight;

  // The window stays where it is unless some of it, the counter feet included, would reach
  // past the right or bottom edge of the work area. Its top-left corner never leaves the
  // work area, so the caption and the menu can always be reached.
  const Rect now = platform.windowRect();
  const Rect work = platform.workArea();
  int32_t left = now.left;
  int32_t top = now.top;
  if (left + windowFit.windowWidth >= work.right) left = work.right - windowFit.windowWidth - 1;
  if (top + fullHeight >= work.bottom) top = work.bottom - kBottomMargin - windowFit.windowHeight;
  left = std::max(left, work.left);
  top = std::max(top, work.top);
  platform.moveWindow(left, top, windowFit.windowWidth, fullHeight);
}

}  // namespace

void startNewGame() {
  Services& platform = services();
  windowFit.captionExtra =
      platform.systemMetric(SystemMetric::CaptionHeight) - kStandardCaptionHeight;
  setTileMetricsFor(gameSettings.small);
  if (gameFlags.firstGame) runLevelDialog();

  const uint32_t columns = gameSettings.columns;
  const uint32_t rows = gameSettings.rows;
  cellOrigins.create(static_cast<uint16_t>(columns), static_cast<uint16_t>(rows));
  fitWindowToField();

  startPlayClock(platform.milliseconds());
  platform.setTimer(kPlayTimer, kPlayTimerPeriod);

  if (gameFlags.firstGame) {
    createOffscreenSurface();
  } else {
    board.destroy();
  }
  board.build(columns, rows, gameSettings.difficulty);

  platform.setWindowRegion(windowOutline(tileMetrics, static_cast<int32_t>(columns),
                                         static_cast<int32_t>(rows), windowFit.clientTop,
                                         windowFit.captionExtra, windowFit.windowWidth));

  // The fresh board and the safe start's opening reach the window in one copy.
  const WindowUpdateBatch batch;
  paintFreshBoard();
  markGameInPlay();
  // The first board of the run gets its safe start at the window's first paint.
  if (gameSettings.safe != 0 && !gameFlags.firstGame) safeStart();
}
