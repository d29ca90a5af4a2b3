#include "view/painting_way.h"

#include "engine/engine_state.h"
#include "engine/game_flow.h"
#include "view/board_painting.h"
#include "view/counter_layout.h"
#include "view/held_window_context.h"
#include "view/tile_images.h"

namespace {

// A plain copy to the window's context, then the same to the surface.
class WindowAndSurface final : public PaintTarget {
 public:
  explicit WindowAndSurface(DrawContext window) : window_(window) {}

  void copyImage(int bitmapId, const Rect& to) override {
    Services& platform = services();
    const DrawContext source = imageContext(bitmapId);
    platform.bitBlt(window_, to.left, to.top, to.width(), to.height(), source, 0, 0,
                    RasterOp::SrcCopy);
    if (offscreenSurfaceExists()) {
      platform.bitBlt(offscreenSurface(), to.left, to.top, to.width(), to.height(), source, 0, 0,
                      RasterOp::SrcCopy);
    }
  }

 private:
  DrawContext window_;
};

class LiteralPainting final : public PaintingWay {
 public:
  void drawCellUpdate(int column, int row, const Cell& cell, CellChange change) override {
    const HeldWindowContext window;
    drawCell(column, row, pictureAfterChange(cell, change), window.context());
  }

  void paintFreshBoard() override;
  void paintFinalBoard() override;
  void repaintAllCells() override;
  void showElapsedSeconds(int32_t seconds) override;
  void showFlagsLeft(int32_t flagsLeft) override;

  void showCurrentPicture() override {
    const HeldWindowContext window;
    copyOffscreenToWindow(window.context());
  }
};

void LiteralPainting::paintFreshBoard() {
  Services& platform = services();
  const HeldWindowContext window;
  const Rect client = platform.clientRect();
  const Rect background{0, 0, client.width(), client.height()};
  // After a later game start the resize's paint request copies the surface to the window.
  if (gameFlags.firstGame) platform.drawRectangle(window.context(), background, kBackgroundColour);
  if (offscreenSurfaceExists()) {
    platform.drawRectangle(offscreenSurface(), background, kBackgroundColour);
  }

  // At a game start gameOver is still set, so this stores every cell's place.
  for (int c = 1; c <= board.columns; ++c) {
    for (int r = 1; r <= board.rows; ++r) drawCell(c, r, TileImage::Covered, window.context());
  }

  const CounterPlacement at = counterPlacement(client);
  WindowAndSurface target(window.context());
  copyCounterPanel(0, at.top, target);
  copyCounterPanel(at.rightPanelX, at.top, target);
  markGameInPlay();
}

void LiteralPainting::paintFinalBoard() {
  const HeldWindowContext window;
  for (int c = 1; c <= board.columns; ++c) {
    for (int r = 1; r <= board.rows; ++r) {
      drawCell(c, r, pictureOnFinalBoard(board.cell(c, r)), window.context());
    }
  }
}

void LiteralPainting::repaintAllCells() {
  const HeldWindowContext window;
  for (int c = 1; c <= board.columns; ++c) {
    for (int r = 1; r <= board.rows; ++r) {
      drawCellOffscreen(c, r, pictureFromModel(board.cell(c, r)));
    }
  }
  copyOffscreenToWindow(window.context());
}

void LiteralPainting::showElapsedSeconds(int32_t seconds) {
  const CounterPlacement at = counterPlacement(services().clientRect());
  const HeldWindowContext window;
  WindowAndSurface target(window.context());
  for (const DigitPlace& place : elapsedPlaces(seconds)) {
    drawDigit(place.digit, place.x, at.top, target);
  }
}

void LiteralPainting::showFlagsLeft(int32_t flagsLeft) {
  const CounterPlacement at = counterPlacement(services().clientRect());
  const HeldWindowContext window;
  WindowAndSurface target(window.context());
  drawFlagsLeft(flagsLeft, at, target);
}

LiteralPainting literal;

}  // namespace

PaintingWay& literalPainting() { return literal; }

void drawSegmentDigit(int digit, int32_t x, int32_t y, DrawContext window) {
  WindowAndSurface target(window);
  drawDigit(digit, x, y, target);
}
