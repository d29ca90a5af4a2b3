#include "view/painting_way.h"

#include <algorithm>
#include <array>
#include <optional>

#include "engine/engine_state.h"
#include "engine/game_flow.h"
#include "view/board_painting.h"
#include "view/cell_placement.h"
#include "view/counter_layout.h"
#include "view/shown_cells.h"
#include "view/surface_changes.h"
#include "view/tile_images.h"
#include "view/view_state.h"

namespace {

// What the counters are known to show. The counter panels overlap the lowest cells of the
// odd columns; a draw of either overwrites the other where they meet, so each forgets what
// is known of the other there.
struct ShownCounters {
  std::optional<CounterPlacement> placement;  // where the digits below were drawn
  std::array<int, 4> elapsedDigits{-1, -1, -1, -1};
  std::optional<int32_t> flagsLeft;
};

ShownCounters counters;

// The field of a fresh board: its picture depends on nothing else.
struct FreshField {
  int columns;
  int rows;
  int32_t tileWidth;
  int32_t clientWidth;
  int32_t clientHeight;
};

bool operator==(const FreshField& a, const FreshField& b) {
  return a.columns == b.columns && a.rows == b.rows && a.tileWidth == b.tileWidth &&
         a.clientWidth == b.clientWidth && a.clientHeight == b.clientHeight;
}

// The fresh board the surface shows with nothing drawn over it since, if any. The first
// board of a run is painted fresh by its game start and again by the first paint, and the
// second time changes no pixel.
std::optional<FreshField> untouchedFreshBoard;

bool overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void forgetCountersUnder(const Rect& area) {
  if (!counters.placement) return;
  const CounterPlacement& at = *counters.placement;
  // 9999 reaches all four places.
  for (const DigitPlace& place : elapsedPlaces(9999)) {
    for (const Rect& segment : segmentRects(place.x, at.top)) {
      if (overlap(segment, area)) counters.elapsedDigits[static_cast<size_t>(place.place)] = -1;
    }
  }
  if (overlap(flagsLeftPanel(at), area)) counters.flagsLeft.reset();
}

int32_t floorDivide(int32_t a, int32_t b) { return a / b - (a % b != 0 && a < 0); }

// Forgets the cells whose tiles reach into the area.
void forgetCellsUnder(const Rect& area) {
  const int32_t width = tileMetrics.tileWidth;
  const int32_t height = tileMetrics.tileHeight;
  for (int c = 1; c <= board.columns; ++c) {
    const PixelPoint top = cellOrigin(c, 1);
    if (top.x >= area.right || top.x + width <= area.left) continue;
    const int first = std::max(1, floorDivide(area.top - top.y, height) + 1);
    const int last = std::min<int>(board.rows, floorDivide(area.bottom - 1 - top.y, height) + 1);
    for (int r = first; r <= last; ++r) shownCells.forget(c, r);
  }
}

// Copies onto the surface alone, after the waiting cells, as the literal order has them.
class SurfaceTarget final : public PaintTarget {
 public:
  void copyImage(int bitmapId, const Rect& to) override {
    untouchedFreshBoard.reset();
    drawWaitingCells();
    services().bitBlt(offscreenSurface(), to.left, to.top, to.width(), to.height(),
                      imageContext(bitmapId), 0, 0, RasterOp::SrcCopy);
    noteSurfaceChange(to);
    forgetCellsUnder(to);
    forgetCountersUnder(to);
  }
};

// The cell state fits the board; it would not after a board built without a fresh board
// painted this way.
void fitShownCells() {
  if (!shownCells.fits(board.columns, board.rows)) shownCells.reset(board.columns, board.rows);
}

// Queues the cell's draw unless the surface shows the picture there already.
void showCell(int column, int row, PixelPoint at, TileImage image) {
  if (shownCells.shows(column, row, image)) return;
  // In the big set a picture leaves bits that the next one keeps, so a cell's draws stay in
  // their order.
  if (shownCells.waits(column, row)) drawWaitingCells();
  shownCells.queue(column, row, image);
  untouchedFreshBoard.reset();
  if (counters.placement && at.y + tileMetrics.tileHeight > counters.placement->top) {
    forgetCountersUnder({at.x, at.y, at.x + tileMetrics.tileWidth, at.y + tileMetrics.tileHeight});
  }
}

// Counters drawn at another place than before (a game start or a minimised window moves
// them) start from nothing known.
void placeCounters(const CounterPlacement& at) {
  if (counters.placement && *counters.placement == at) return;
  counters = ShownCounters{};
  counters.placement = at;
}

class IncrementalPainting final : public PaintingWay {
 public:
  void drawCellUpdate(int column, int row, const Cell& cell, CellChange change) override {
    fitShownCells();
    const std::optional<PixelPoint> at = tilePlaceOf(column, row);
    if (at) showCell(column, row, *at, pictureAfterChange(cell, change));
  }

  void paintFreshBoard() override;
  void paintFinalBoard() override;
  void repaintAllCells() override;
  void showElapsedSeconds(int32_t seconds) override;
  void showFlagsLeft(int32_t flagsLeft) override;
  void showCurrentPicture() override { showChangesOnWindow(); }
};

void IncrementalPainting::paintFreshBoard() {
  Services& platform = services();
  const Rect client = platform.clientRect();
  const Rect background{0, 0, client.width(), client.height()};
  const FreshField field{board.columns, board.rows, tileMetrics.tileWidth, client.width(),
                         client.height()};
  if (untouchedFreshBoard == field && shownCells.fits(board.columns, board.rows)) {
    // The places are stored all the same, and the window is given the picture.
    for (int c = 1; c <= board.columns; ++c) {
      for (int r = 1; r <= board.rows; ++r) tilePlaceOf(c, r);
    }
    noteSurfaceChange(background);
    markGameInPlay();
    showChangesOnWindow();
    return;
  }
  drawWaitingCells();
  platform.drawRectangle(offscreenSurface(), background, kBackgroundColour);
  noteSurfaceChange(background);
  shownCells.reset(board.columns, board.rows);
  counters = ShownCounters{};

  // At a game start gameOver is still set, so this stores every cell's place.
  for (int c = 1; c <= board.columns; ++c) {
    for (int r = 1; r <= board.rows; ++r) {
      const std::optional<PixelPoint> at = tilePlaceOf(c, r);
      if (at) showCell(c, r, *at, TileImage::Covered);
    }
  }

  const CounterPlacement at = counterPlacement(client);
  SurfaceTarget target;
  copyCounterPanel(0, at.top, target);
  copyCounterPanel(at.rightPanelX, at.top, target);
  counters.placement = at;
  untouchedFreshBoard = field;
  markGameInPlay();
  showChangesOnWindow();
}

void IncrementalPainting::paintFinalBoard() {
  fitShownCells();
  for (int c = 1; c <= board.columns; ++c) {
    for (int r = 1; r <= board.rows; ++r) {
      const std::optional<PixelPoint> at = tilePlaceOf(c, r);
      if (at) showCell(c, r, *at, pictureOnFinalBoard(board.cell(c, r)));
    }
  }
  showChangesOnWindow();
}

void IncrementalPainting::repaintAllCells() {
  fitShownCells();
  if (cellOrigins.present()) {
    for (int c = 1; c <= board.columns; ++c) {
      for (int r = 1; r <= board.rows; ++r) {
        const TileImage image = pictureFromModel(board.cell(c, r));
        if (shownCells.shows(c, r, image)) continue;
        const std::optional<PixelPoint> at = tilePlaceOf(c, r);
        if (at) showCell(c, r, *at, image);
      }
    }
  }
  showChangesOnWindow();
}

void IncrementalPainting::showElapsedSeconds(int32_t seconds) {
  fitShownCells();
  const CounterPlacement at = counterPlacement(services().clientRect());
  placeCounters(at);
  SurfaceTarget target;
  for (const DigitPlace& place : elapsedPlaces(seconds)) {
    int& shown = counters.elapsedDigits[static_cast<size_t>(place.place)];
    if (shown == place.digit) continue;
    drawDigit(place.digit, place.x, at.top, target);
    shown = place.digit;
  }
  showChangesOnWindow();
}

void IncrementalPainting::showFlagsLeft(int32_t flagsLeft) {
  fitShownCells();
  const CounterPlacement at = counterPlacement(services().clientRect());
  placeCounters(at);
  if (counters.flagsLeft != flagsLeft) {
    SurfaceTarget target;
    drawFlagsLeft(flagsLeft, at, target);
    counters.flagsLeft = flagsLeft;
  }
  showChangesOnWindow();
}

IncrementalPainting incremental;

}  // namespace

PaintingWay& incrementalPainting() { return incremental; }

void forgetWhatIsShown() {
  shownCells.reset(0, 0);
  counters = ShownCounters{};
  untouchedFreshBoard.reset();
}
