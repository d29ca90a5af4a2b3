#include "view/surface_changes.h"

#include <algorithm>

#include "shell/shell_state.h"
#include "view/board_painting.h"
#include "view/cell_placement.h"
#include "view/held_window_context.h"
#include "view/shown_cells.h"
#include "view/tile_strips.h"
#include "view/view_state.h"

namespace {

constexpr int kCellsWorthAStrip = 1000;

std::optional<Rect> changed;
int batchDepth = 0;
std::optional<DrawContext> batchPaintContext;

Rect united(const Rect& a, const Rect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

// The part of the change that a copy of the whole surface would bring to the window.
std::optional<Rect> changeWithinWindow() {
  if (!changed) return std::nullopt;
  const Rect within{std::max(changed->left, 0), std::max(changed->top, 0),
                    std::min(changed->right, windowFit.windowWidth),
                    std::min(changed->bottom, windowFit.windowHeight)};
  if (within.width() <= 0 || within.height() <= 0) return std::nullopt;
  return within;
}

void copyChangeTo(DrawContext window, const Rect& change) {
  services().bitBlt(window, change.left, change.top, change.width(), change.height(),
                    offscreenSurface(), change.left, change.top, RasterOp::SrcCopy);
}

void copyChangesToWindow(std::optional<DrawContext> paintContext) {
  drawWaitingCells();
  const std::optional<Rect> change = changeWithinWindow();
  changed.reset();
  if (!change) return;
  if (paintContext) {
    copyChangeTo(*paintContext, *change);
  } else {
    const HeldWindowContext window;
    copyChangeTo(window.context(), *change);
  }
}

}  // namespace

void drawWaitingCells() {
  if (!shownCells.anyWaiting()) return;
  Services& platform = services();
  const DrawContext surface = offscreenSurface();
  const bool small = gameSettings.small != 0;
  const int32_t width = tileMetrics.tileWidth;
  const int32_t height = tileMetrics.tileHeight;
  // The tiles of a column meet without overlapping, so every pixel gets its own cell's mask
  // and then its own cell's picture, as when the cells are drawn one by one. Making a strip
  // costs about as much as a thousand tile copies: one is made for a drawing that large, and
  // once made serves every run of its picture.
  const bool large = shownCells.waitingCount() >= kCellsWorthAStrip;
  const auto copyRun = [&](int column, int firstRow, int cells, TileImage image, RasterOp op) {
    const PixelPoint at = cellOrigin(column, firstRow);
    const int32_t runHeight = cells * height;
    if (cells > 1 && (large || hasTileStrip(image, small))) {
      platform.bitBlt(surface, at.x, at.y, width, runHeight, tileStrip(image, small), 0, 0, op);
    } else {
      const DrawContext tile = imageContext(bitmapIdOf(image, small));
      for (int32_t y = at.y; y < at.y + runHeight; y += height) {
        platform.bitBlt(surface, at.x, y, width, height, tile, 0, 0, op);
      }
    }
    noteSurfaceChange({at.x, at.y, at.x + width, at.y + runHeight});
  };
  shownCells.takeWaitingRuns(
      tilesPerStrip(height),
      [&](int column, int firstRow, int cells) {
        copyRun(column, firstRow, cells, TileImage::Mask, RasterOp::SrcAnd);
      },
      [&](int column, int firstRow, int cells, TileImage image) {
        copyRun(column, firstRow, cells, image, RasterOp::SrcPaint);
      });
}

void noteSurfaceChange(const Rect& change) { changed = changed ? united(*changed, change) : change; }

void showChangesOnWindow() {
  if (batchDepth == 0) copyChangesToWindow(std::nullopt);
}

void forgetSurfaceChanges() {
  shownCells.reset(0, 0);
  changed.reset();
  batchDepth = 0;
  batchPaintContext.reset();
}

WindowUpdateBatch::WindowUpdateBatch() : outermost_(batchDepth++ == 0) {}

WindowUpdateBatch::WindowUpdateBatch(DrawContext paintContext) : WindowUpdateBatch() {
  if (outermost_) batchPaintContext = paintContext;
}

WindowUpdateBatch::~WindowUpdateBatch() {
  --batchDepth;
  if (!outermost_) return;
  const std::optional<DrawContext> paintContext = batchPaintContext;
  batchPaintContext.reset();
  copyChangesToWindow(paintContext);
}
