#include "view/board_painting.h"

#include <optional>

#include "view/game_start.h"
#include "view/incremental_painting.h"
#include "view/literal_painting.h"
#include "view/painting_mode.h"
#include "view/surface_changes.h"

namespace {

std::optional<DrawContext> surface;

}  // namespace

void createOffscreenSurface() {
  if (!surface) surface = services().createOffscreenSurface(kOffscreenWidth, kOffscreenHeight);
}

DrawContext offscreenSurface() { return surface.value_or(0); }

bool offscreenSurfaceExists() { return surface.has_value(); }

void forgetOffscreenSurface() { surface.reset(); }

void paintFreshBoard() {
  if (paintsLiterally()) {
    literal::paintFreshBoard();
  } else {
    incremental::paintFreshBoard();
  }
}

void paintFinalBoard() {
  if (paintsLiterally()) {
    literal::paintFinalBoard();
  } else {
    incremental::paintFinalBoard();
  }
}

void repaintAllCells() {
  if (paintsLiterally()) {
    literal::repaintAllCells();
  } else {
    incremental::repaintAllCells();
  }
}

void showCurrentPicture() {
  if (paintsLiterally()) {
    literal::showCurrentPicture();
  } else {
    incremental::showCurrentPicture();
  }
}

void copyOffscreenToWindow(DrawContext target) {
  if (!surface) return;
  drawWaitingCells();
  services().bitBlt(target, 0, 0, windowFit.windowWidth, windowFit.windowHeight, *surface, 0, 0,
                    RasterOp::SrcCopy);
}

void showElapsedSeconds(int32_t seconds) {
  if (paintsLiterally()) {
    literal::showElapsedSeconds(seconds);
  } else {
    incremental::showElapsedSeconds(seconds);
  }
}

void showFlagsLeft(int32_t flagsLeft) {
  if (paintsLiterally()) {
    literal::showFlagsLeft(flagsLeft);
  } else {
    incremental::showFlagsLeft(flagsLeft);
  }
}
