#include "painting_program.h"

#include <sstream>

#include "engine/engine_state.h"
#include "engine/player_actions.h"
#include "hexagon_outline.h"
#include "shell/shell_state.h"
#include "view/board_painting.h"
#include "view/engine_link.h"
#include "view/game_start.h"
#include "view/tile_images.h"

namespace {

std::string hex(uint32_t colour) {
  std::ostringstream out;
  out << "#" << std::hex << colour;
  return out.str();
}

testing::AssertionResult pixelMismatch(const char* what, int32_t x, int32_t y, uint32_t expected,
                                       uint32_t actual) {
  return testing::AssertionFailure() << what << " pixel (" << x << ", " << y << ") is "
                                     << hex(actual) << ", expected " << hex(expected);
}

bool within(const RgbImage& image, int32_t x, int32_t y) {
  return x >= 0 && x < image.width && y >= 0 && y < image.height;
}

// Whether (x, y) lies in the square of the tile at origin.
bool inSquare(PixelPoint origin, int size, int32_t x, int32_t y) {
  return x >= origin.x && x < origin.x + size && y >= origin.y && y < origin.y + size;
}

}  // namespace

PaintingProgram::PaintingProgram() {
  gameSettings.safe = 0;
  prepareTileImages();
  connectEngineToView();
}

void PaintingProgram::startBoard(uint32_t columns, uint32_t rows, bool small) {
  gameSettings.columns = columns;
  gameSettings.rows = rows;
  gameSettings.difficulty = 5;
  gameSettings.small = small ? 1 : 0;
  gameFlags.firstGame = false;
  endGame();
  createOffscreenSurface();
  startNewGame();
  servePaint();
}

void PaintingProgram::endGame() {
  if (!gameFlags.gameOver) endGameLost();
}

void PaintingProgram::servePaint() {
  platform.takePaintRequest();
  const DrawContext window = platform.windowContext();
  copyOffscreenToWindow(window);
  platform.releaseWindowContext(window);
}

const RgbImage& PaintingProgram::surface() const {
  return platform.surfacePixels(offscreenSurface());
}

std::optional<CellPosition> PaintingProgram::findCell(
    const std::function<bool(const Cell&)>& match) {
  for (int c = 1; c <= board.columns; ++c) {
    for (int r = 1; r <= board.rows; ++r) {
      if (match(board.cell(c, r))) return CellPosition{c, r};
    }
  }
  return std::nullopt;
}

testing::AssertionResult PaintingProgram::showsTile(const RgbImage& before, const RgbImage& after,
                                                    PixelPoint origin, int pictureId, bool small) {
  const TileSet& set = small ? smallTiles() : bigTiles();
  const uint32_t black = small ? 0x000000 : 0x040404;
  const RgbImage& picture = bitmap(pictureId);
  for (int ty = 0; ty < set.metrics.tileHeight; ++ty) {
    for (int tx = 0; tx < set.metrics.tileWidth; ++tx) {
      if (!set.inside(tx, ty)) continue;
      const int32_t x = origin.x + tx;
      const int32_t y = origin.y + ty;
      if (!within(after, x, y)) continue;
      const uint32_t expected = picture.at(tx, ty) | (before.at(x, y) & black);
      if (after.at(x, y) != expected)
        return pixelMismatch("hexagon", x, y, expected, after.at(x, y));
    }
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult PaintingProgram::drawnAlone(const RgbImage& before, const RgbImage& after,
                                                     PixelPoint origin, int pictureId, bool small) {
  testing::AssertionResult inside = showsTile(before, after, origin, pictureId, small);
  if (!inside) return inside;
  const TileSet& set = small ? smallTiles() : bigTiles();
  const int size = set.metrics.tileWidth;
  const uint32_t black = small ? 0x000000 : 0x040404;
  for (int32_t y = 0; y < after.height; ++y) {
    for (int32_t x = 0; x < after.width; ++x) {
      if (!inSquare(origin, size, x, y)) {
        if (after.at(x, y) != before.at(x, y)) {
          return pixelMismatch("untouched", x, y, before.at(x, y), after.at(x, y));
        }
      } else if (!set.inside(x - origin.x, y - origin.y)) {
        const uint32_t expected = before.at(x, y) | black;
        if (after.at(x, y) != expected)
          return pixelMismatch("corner", x, y, expected, after.at(x, y));
      }
    }
  }
  return testing::AssertionSuccess();
}

RgbImage PaintingProgram::topRows(const RgbImage& image, int32_t rows) {
  RgbImage top;
  top.width = image.width;
  top.height = rows;
  top.pixels.assign(image.pixels.begin(),
                    image.pixels.begin() + static_cast<size_t>(rows) * image.width);
  return top;
}

testing::AssertionResult PaintingProgram::samePixels(const RgbImage& expected,
                                                     const RgbImage& actual) {
  if (expected.width != actual.width || expected.height != actual.height) {
    return testing::AssertionFailure()
           << "size " << actual.width << " x " << actual.height << ", expected " << expected.width
           << " x " << expected.height;
  }
  for (int32_t y = 0; y < actual.height; ++y) {
    for (int32_t x = 0; x < actual.width; ++x) {
      if (actual.at(x, y) != expected.at(x, y)) {
        return pixelMismatch("", x, y, expected.at(x, y), actual.at(x, y));
      }
    }
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult PaintingProgram::showsImage(const RgbImage& destination, int32_t x,
                                                     int32_t y, int bitmapId) {
  const RgbImage& image = bitmap(bitmapId);
  if (!within(destination, x, y) ||
      !within(destination, x + image.width - 1, y + image.height - 1)) {
    return testing::AssertionFailure() << "image " << bitmapId << " at (" << x << ", " << y
                                       << ") reaches outside the destination";
  }
  for (int iy = 0; iy < image.height; ++iy) {
    for (int ix = 0; ix < image.width; ++ix) {
      const uint32_t actual = destination.at(x + ix, y + iy);
      if (actual != image.at(ix, iy)) {
        return pixelMismatch("image", x + ix, y + iy, image.at(ix, iy), actual);
      }
    }
  }
  return testing::AssertionSuccess();
}
