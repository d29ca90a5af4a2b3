#pragma once

#include "shell/services.h"
#include "view/tile_images.h"

// A picture of a tile set repeated down a column as tall as the off-screen surface, so that
// a run of cells of one column showing the same picture is drawn with one mask copy and one
// picture copy instead of two copies a cell. The tiles of a column meet without overlapping,
// so the run gets exactly the pixels its cells would get one by one. Made from the loaded
// image at its first use; kept for the run.
DrawContext tileStrip(TileImage image, bool small);
bool hasTileStrip(TileImage image, bool small);
// How many tiles of the given height a strip holds.
int32_t tilesPerStrip(int32_t tileHeight);
// Forgets the strips, as a new process would start.
void forgetTileStrips();
