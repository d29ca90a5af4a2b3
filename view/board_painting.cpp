#include "view/board_painting.h"

#include <optional>

#include "view/painting_mode.h"
#include "view/painting_way.h"
#include "view/surface_changes.h"
#include "view/view_state.h"

namespace {

std::optional<DrawContext> surface;

}  // namespace

void createOffscreenSurface() {
  if (!surface) surface = services().createOffscreenSurface(kOffscreenWidth, kOffscreenHeight);
}

DrawContext offscreenSurface() { return surface.value_or(0); }

bool offscreenSurfaceExists() { return surface.has_value(); }

void forgetOffscreenSurface() { surface.reset(); }

void paintFreshBoard() { currentPainting().paintFreshBoard(); }

void paintFinalBoard() { currentPainting().paintFinalBoard(); }

void repaintAllCells() { currentPainting().repaintAllCells(); }

void showCurrentPicture() { currentPainting().showCurrentPicture(); }

void copyOffscreenToWindow(DrawContext target) {
  if (!surface) return;
  drawWaitingCells();
  services().bitBlt(target, 0, 0, windowFit.windowWidth, windowFit.windowHeight, *surface, 0, 0,
                    RasterOp::SrcCopy);
}

void showElapsedSeconds(int32_t seconds) { currentPainting().showElapsedSeconds(seconds); }

void showFlagsLeft(int32_t flagsLeft) { currentPainting().showFlagsLeft(flagsLeft); }
