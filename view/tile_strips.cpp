#include "view/tile_strips.h"

#include <algorithm>
#include <map>

#include "view/board_painting.h"
#include "view/tile_metrics.h"

namespace {

std::map<int, DrawContext> strips;  // by the bitmap id of the picture

}  // namespace

int32_t tilesPerStrip(int32_t tileHeight) { return kOffscreenHeight / tileHeight; }

DrawContext tileStrip(TileImage image, bool small) {
  const int id = bitmapIdOf(image, small);
  const auto found = strips.find(id);
  if (found != strips.end()) return found->second;

  const TileMetrics metrics = tileMetricsFor(small ? 1 : 0);
  const int32_t width = metrics.tileWidth;
  const int32_t height = metrics.tileHeight;
  const int32_t tiles = tilesPerStrip(height);
  Services& platform = services();
  const DrawContext strip = platform.createImage(width, height * tiles);
  platform.bitBlt(strip, 0, 0, width, height, imageContext(id), 0, 0, RasterOp::SrcCopy);
  // Doubles the tiles already there with each copy.
  for (int32_t filled = 1; filled < tiles; filled *= 2) {
    const int32_t copied = std::min(filled, tiles - filled);
    platform.bitBlt(strip, 0, filled * height, width, copied * height, strip, 0, 0,
                    RasterOp::SrcCopy);
  }
  strips.emplace(id, strip);
  return strip;
}

bool hasTileStrip(TileImage image, bool small) { return strips.count(bitmapIdOf(image, small)) > 0; }

void forgetTileStrips() { strips.clear(); }
