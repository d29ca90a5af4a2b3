#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "engine/board.h"
#include "memory_program.h"
#include "view/pixel_point.h"

constexpr uint32_t kBackground = 0xDDDDDD;

// A program whose images are loaded and whose engine draws through the board view, with the
// safe start off so that a new board stays covered.
class PaintingProgram : public MemoryProgram {
 protected:
  PaintingProgram();

  // Starts a board as every game after the first does: a game in play is lost first, there
  // is no level dialog, and the surface of the first game is there. Then serves the paint
  // that the resize asks for.
  void startBoard(uint32_t columns, uint32_t rows, bool small = false);
  // Ends a game in play as the engine's loss does.
  static void endGame();
  // What the paint handler does after the first paint: the surface onto the window.
  void servePaint();

  const RgbImage& surface() const;
  const RgbImage& window() const { return platform.windowPixels(); }

  // The first inner cell, column by column, that matches.
  static std::optional<CellPosition> findCell(const std::function<bool(const Cell&)>& match);

  // The tile square at origin shows the picture inside its hexagon, where the destination
  // keeps only the bits of the mask's black. Pixels beyond the destination are not checked.
  static testing::AssertionResult showsTile(const RgbImage& before, const RgbImage& after,
                                            PixelPoint origin, int pictureId, bool small);
  // As showsTile, and the draw touched nothing else: outside the hexagon the destination
  // only gained the bits of the picture's black, and outside the square nothing changed.
  static testing::AssertionResult drawnAlone(const RgbImage& before, const RgbImage& after,
                                             PixelPoint origin, int pictureId, bool small);
  // The top rows of an image.
  static RgbImage topRows(const RgbImage& image, int32_t rows);
  static testing::AssertionResult samePixels(const RgbImage& expected, const RgbImage& actual);
  // The rectangle of the destination equals the image, pixel for pixel.
  static testing::AssertionResult showsImage(const RgbImage& destination, int32_t x, int32_t y,
                                             int bitmapId);
};
