#pragma once

#include <optional>

#include "engine/engine_requests.h"
#include "engine/cell.h"
#include "shell/services.h"

// The pictures of a tile set, and the one way a cell is put on screen: a hexagonal hole is
// masked into the destination and filled with the picture, so the overlapping square tiles
// of neighbouring columns never paint over each other's hexagons.
enum class TileImage {
  Mask, Covered, Question, Flag,
  Open0, Open1, Open2, Open3, Open4, Open5, Open6,
  Mine, WrongFlag, Exploded,
};

// Bitmap resource id of a picture in the big or the small set.
int bitmapIdOf(TileImage image, bool small);

// Which picture a cell gets: after a change by the engine, when repainted from the model,
// and on the final board after a loss.
TileImage pictureAfterChange(const Cell& cell, CellChange change);
TileImage pictureFromModel(const Cell& cell);
TileImage pictureOnFinalBoard(const Cell& cell);

// Loads both tile sets and the status images, each into a drawing context of its own that
// lasts the run.
void prepareTileImages();
// The context of a bitmap resource id (tiles and the counters' status images); 0 before
// the images are loaded.
DrawContext imageContext(int bitmapId);
// Forgets the loaded contexts, as a new process would start.
void forgetTileImages();

// Where cell (c, r)'s tile goes, or nothing for a cell outside the board and for every cell
// while the position table is absent. While no game is in play the place is stored first,
// so that the fresh board fills the table.
std::optional<PixelPoint> tilePlaceOf(int column, int row);

// Draws cell (c, r) onto the off-screen surface and then onto the given window context.
// Cells outside the board, and every cell while the position table is absent, draw nothing.
void drawCell(int column, int row, TileImage image, DrawContext window);
// The same onto the off-screen surface only.
void drawCellOffscreen(int column, int row, TileImage image);
// The engine's request after it changed a cell: drawn in the current painting mode.
void drawCellUpdate(int column, int row, const Cell& cell, CellChange change);
