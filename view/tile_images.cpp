#include "view/tile_images.h"

#include <iterator>
#include <map>

#include "engine/engine_state.h"
#include "resources/resource_ids.h"
#include "shell/shell_state.h"
#include "view/board_painting.h"
#include "view/cell_placement.h"
#include "view/painting_mode.h"
#include "view/painting_way.h"
#include "view/view_state.h"

namespace {

struct TileIds {
  TileImage image;
  int big;
  int small;
};

constexpr TileIds kTileIds[] = {
#define TILE_IDS(image, big, small) {TileImage::image, big, small},
    TESSARA_TILE_PICTURES(TILE_IDS)
#undef TILE_IDS
};

constexpr bool inTileImageOrder() {
  if (std::size(kTileIds) != static_cast<size_t>(TileImage::Exploded) + 1) return false;
  for (int i = 0; i < static_cast<int>(std::size(kTileIds)); ++i) {
    if (static_cast<int>(kTileIds[i].image) != i) return false;
  }
  return true;
}
static_assert(inTileImageOrder(), "kTileIds holds every TileImage and is indexed by it");

constexpr int kStatusImageIds[] = {IDB_COUNTER_PANEL, IDB_SEGMENT_V_UNLIT, IDB_SEGMENT_H_UNLIT,
                                   IDB_SEGMENT_H_LIT, IDB_SEGMENT_V_LIT};

std::map<int, DrawContext> loadedImages;

bool isNumber(char content) { return content >= '0' && content <= '6'; }

TileImage openedNumber(char content) {
  return static_cast<TileImage>(static_cast<int>(TileImage::Open0) + (content - '0'));
}

void maskedCopy(DrawContext destination, PixelPoint at, TileImage image) {
  const bool small = gameSettings.small != 0;
  const int32_t width = tileMetrics.tileWidth;
  const int32_t height = tileMetrics.tileHeight;
  Services& platform = services();
  platform.bitBlt(destination, at.x, at.y, width, height,
                  imageContext(bitmapIdOf(TileImage::Mask, small)), 0, 0, RasterOp::SrcAnd);
  platform.bitBlt(destination, at.x, at.y, width, height, imageContext(bitmapIdOf(image, small)), 0,
                  0, RasterOp::SrcPaint);
}

void drawOffscreenAt(PixelPoint at, TileImage image) {
  if (offscreenSurfaceExists()) maskedCopy(offscreenSurface(), at, image);
}

}  // namespace

std::optional<PixelPoint> tilePlaceOf(int column, int row) {
  // Unsigned, so that 0 and negative numbers fail too.
  if (static_cast<unsigned>(column) - 1u >= board.columns ||
      static_cast<unsigned>(row) - 1u >= board.rows) {
    return std::nullopt;
  }
  if (!cellOrigins.present()) return std::nullopt;
  if (gameFlags.gameOver) cellOrigins.store(column, row, cellOrigin(column, row));
  return cellOrigins.entry(column, row);
}

int bitmapIdOf(TileImage image, bool small) {
  const TileIds& ids = kTileIds[static_cast<int>(image)];
  return small ? ids.small : ids.big;
}

TileImage pictureAfterChange(const Cell& cell, CellChange change) {
  switch (change) {
    case CellChange::FlagToggled:
      return cell.isFlagged() ? TileImage::Flag : TileImage::Covered;
    case CellChange::QuestionToggled:
      return cell.isQuestioned() ? TileImage::Question : TileImage::Covered;
    case CellChange::Opened:
      break;
  }
  return isNumber(cell.content) ? openedNumber(cell.content) : TileImage::Mine;
}

TileImage pictureFromModel(const Cell& cell) {
  if (cell.isFlagged()) return TileImage::Flag;
  if (cell.isQuestioned()) return TileImage::Question;
  if (cell.isRevealed() && isNumber(cell.content)) return openedNumber(cell.content);
  return TileImage::Covered;
}

TileImage pictureOnFinalBoard(const Cell& cell) {
  if (cell.isFlagged()) return cell.holdsMine() ? TileImage::Flag : TileImage::WrongFlag;
  if (cell.isRevealed()) {
    if (isNumber(cell.content)) return openedNumber(cell.content);
    if (cell.holdsMine()) return TileImage::Exploded;
  }
  return cell.holdsMine() ? TileImage::Mine : TileImage::Covered;
}

void prepareTileImages() {
  Services& platform = services();
  for (const TileIds& ids : kTileIds) {
    loadedImages[ids.big] = platform.loadImage(ids.big);
    loadedImages[ids.small] = platform.loadImage(ids.small);
  }
  for (int id : kStatusImageIds) loadedImages[id] = platform.loadImage(id);
}

DrawContext imageContext(int bitmapId) {
  const auto found = loadedImages.find(bitmapId);
  return found != loadedImages.end() ? found->second : 0;
}

void forgetTileImages() { loadedImages.clear(); }

void drawCell(int column, int row, TileImage image, DrawContext window) {
  const std::optional<PixelPoint> at = tilePlaceOf(column, row);
  if (!at) return;
  drawOffscreenAt(*at, image);
  maskedCopy(window, *at, image);
}

void drawCellOffscreen(int column, int row, TileImage image) {
  const std::optional<PixelPoint> at = tilePlaceOf(column, row);
  if (at) drawOffscreenAt(*at, image);
}

void drawCellUpdate(int column, int row, const Cell& cell, CellChange change) {
  currentPainting().drawCellUpdate(column, row, cell, change);
}
