#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/engine_requests.h"
#include "engine/engine_state.h"
#include "engine/player_actions.h"
#include "hexagon_outline.h"
#include "painting_program.h"
#include "resources/resource_ids.h"
#include "shell/shell_state.h"
#include "view/board_painting.h"
#include "view/painting_mode.h"
#include "view/view_state.h"

namespace {

class BoardPainting : public PaintingProgram {
 protected:
  // Which client pixels lie inside some cell's hexagon.
  std::vector<bool> hexagonPixels(const Rect& client) {
    const TileSet& set = gameSettings.small ? smallTiles() : bigTiles();
    std::vector<bool> covered(static_cast<size_t>(client.width()) * client.height(), false);
    for (int c = 1; c <= board.columns; ++c) {
      for (int r = 1; r <= board.rows; ++r) {
        const PixelPoint origin = *cellOrigins.entry(c, r);
        for (int ty = 0; ty < set.metrics.tileHeight; ++ty) {
          for (int tx = 0; tx < set.metrics.tileWidth; ++tx) {
            const int32_t x = origin.x + tx;
            const int32_t y = origin.y + ty;
            if (set.inside(tx, ty) && x < client.width() && y < client.height()) {
              covered[static_cast<size_t>(y) * client.width() + x] = true;
            }
          }
        }
      }
    }
    return covered;
  }

  // The window shows the surface's top-left corner.
  testing::AssertionResult windowShowsSurface() {
    const RgbImage& all = surface();
    RgbImage corner = window();
    for (int32_t y = 0; y < corner.height; ++y) {
      for (int32_t x = 0; x < corner.width; ++x) {
        corner.pixels[static_cast<size_t>(y) * corner.width + x] = all.at(x, y);
      }
    }
    return samePixels(corner, window());
  }

  void blackenWindow() {
    const DrawContext window = platform.windowContext();
    const Rect client = platform.clientRect();
    platform.drawRectangle(window, {0, 0, client.width(), client.height()}, 0x000000);
    platform.releaseWindowContext(window);
  }

  void setState(int column, int row, bool flagged, bool revealed, bool questioned) {
    Cell& cell = board.cell(column, row);
    cell.flagged = flagged;
    cell.revealed = revealed;
    cell.questioned = questioned;
  }
};

TEST_F(BoardPainting, FreshBoardIsGreyWithEveryCellCoveredAndBothPanelsUnlit) {
  for (bool small : {false, true}) {
    SCOPED_TRACE(small ? "small" : "big");
    startBoard(small ? 20 : 10, 6, small);
    const Rect client = platform.clientRect();
    const int32_t panelTop = client.height() - (small ? 54 : 72);
    const RgbImage pixels = surface();
    // The panels cover the last pixel row of the lowest hexagons of the odd columns.
    const RgbImage field = topRows(pixels, panelTop);
    // What the cells were drawn over: the grey rectangle with its black pen, and beyond the
    // client area the surface as it was created.
    RgbImage grey = field;
    for (int32_t y = 0; y < grey.height; ++y) {
      for (int32_t x = 0; x < grey.width; ++x) {
        const bool border = x == 0 || y == 0 || x == client.width() - 1;
        const bool beyond = x >= client.width();
        grey.pixels[static_cast<size_t>(y) * grey.width + x] =
            border || beyond ? 0x000000 : kBackground;
      }
    }

    for (int c = 1; c <= board.columns; ++c) {
      for (int r = 1; r <= board.rows; ++r) {
        const int coveredId = small ? IDB_SMALL_COVERED : IDB_BIG_COVERED;
        ASSERT_TRUE(showsTile(grey, field, *cellOrigins.entry(c, r), coveredId, small))
            << c << "," << r;
      }
    }
    EXPECT_TRUE(showsImage(pixels, 0, panelTop, IDB_COUNTER_PANEL));
    EXPECT_TRUE(showsImage(pixels, client.width() - 82, panelTop, IDB_COUNTER_PANEL));

    const std::vector<bool> inHexagon = hexagonPixels(client);
    int wrong = 0;
    for (int32_t y = 0; y < panelTop; ++y) {
      for (int32_t x = 0; x < client.width(); ++x) {
        if (inHexagon[static_cast<size_t>(y) * client.width() + x]) continue;
        // The pen's black border, where tile corners may have added the mask's bits.
        const bool border = x == 0 || y == 0 || x == client.width() - 1;
        if (border ? (pixels.at(x, y) & ~0x040404u) != 0 : pixels.at(x, y) != kBackground) {
          ++wrong;
        }
      }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(pixels.at(client.width() / 2, client.height() - 1), 0x000000u) << "bottom border";
    EXPECT_EQ(pixels.at(client.width() / 2, client.height() - 2), kBackground);
    EXPECT_TRUE(windowShowsSurface());
    EXPECT_FALSE(gameFlags.gameOver);
  }
}

// Literally only the first board of the run fills the window's background itself; later ones
// leave it to the paint that their resize asks for.
TEST_F(BoardPainting, LiterallyTheFreshBoardFillsTheWindowsBackgroundOnlyOnTheFirstGame) {
  usePaintingMode(PaintingMode::Literal);
  startBoard(10, 6);
  const Rect client = platform.clientRect();
  const PixelPoint betweenThePanels{client.width() / 2, client.height() - 10};
  for (bool firstGame : {false, true}) {
    SCOPED_TRACE(firstGame ? "first game" : "later game");
    blackenWindow();
    gameFlags.firstGame = firstGame;
    gameFlags.gameOver = true;
    paintFreshBoard();
    EXPECT_EQ(window().at(betweenThePanels.x, betweenThePanels.y),
              firstGame ? kBackground : 0x000000u);
    EXPECT_EQ(surface().at(betweenThePanels.x, betweenThePanels.y), kBackground);
    EXPECT_TRUE(showsImage(window(), 0, client.height() - 72, IDB_COUNTER_PANEL));
    EXPECT_FALSE(gameFlags.gameOver);
    EXPECT_EQ(platform.windowContextsHeld(), 0);
  }
}

// Incrementally every fresh board reaches the window whole, in one copy.
TEST_F(BoardPainting, FreshBoardReachesTheWindowWholeInOneCopy) {
  startBoard(10, 6);
  for (bool firstGame : {false, true}) {
    SCOPED_TRACE(firstGame ? "first game" : "later game");
    blackenWindow();
    gameFlags.firstGame = firstGame;
    gameFlags.gameOver = true;
    const int taken = platform.windowContextsTaken();
    paintFreshBoard();
    EXPECT_TRUE(windowShowsSurface());
    EXPECT_EQ(platform.windowContextsTaken() - taken, 1);
    EXPECT_FALSE(gameFlags.gameOver);
  }
}

// Flags are judged, mines shown, question marks dropped, and the mine that was opened
// explodes; the engine's loss also stops the clock and drops the position table.
TEST_F(BoardPainting, LossPaintsTheFinalBoard) {
  startBoard(8, 8);
  std::vector<CellPosition> mines;
  std::vector<CellPosition> numbers;
  for (int c = 1; c <= board.columns; ++c) {
    for (int r = 1; r <= board.rows; ++r) {
      const char content = board.cell(c, r).content;
      if (content == '9') mines.push_back({c, r});
      if (content >= '1' && content <= '6') numbers.push_back({c, r});
    }
  }
  ASSERT_GE(mines.size(), 4u);
  ASSERT_GE(numbers.size(), 3u);

  struct Expect {
    CellPosition cell;
    int pictureId;
  };
  std::vector<Expect> expected;
  setState(mines[0].column, mines[0].row, true, false, false);
  expected.push_back({mines[0], IDB_BIG_FLAG});
  setState(numbers[0].column, numbers[0].row, true, false, false);
  expected.push_back({numbers[0], IDB_BIG_WRONG_FLAG});
  setState(mines[1].column, mines[1].row, false, false, true);
  expected.push_back({mines[1], IDB_BIG_MINE});
  setState(numbers[1].column, numbers[1].row, false, false, true);
  expected.push_back({numbers[1], IDB_BIG_COVERED});
  setState(numbers[2].column, numbers[2].row, false, true, false);
  const char shown = board.cell(numbers[2].column, numbers[2].row).content;
  expected.push_back({numbers[2], IDB_BIG_OPEN0 + (shown - '0')});
  expected.push_back({mines[2], IDB_BIG_MINE});
  expected.push_back({mines[3], IDB_BIG_EXPLODED});
  std::vector<PixelPoint> origins;
  for (const Expect& e : expected) origins.push_back(*cellOrigins.entry(e.cell.column, e.cell.row));

  const RgbImage surfaceBefore = surface();
  const RgbImage windowBefore = window();
  board.action = 'c';
  board.actionColumn = static_cast<uint16_t>(mines[3].column);
  board.actionRow = static_cast<uint16_t>(mines[3].row);
  board.apply();

  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(testing::Message() << expected[i].cell.column << "," << expected[i].cell.row);
    EXPECT_TRUE(showsTile(surfaceBefore, surface(), origins[i], expected[i].pictureId, false));
    EXPECT_TRUE(showsTile(windowBefore, window(), origins[i], expected[i].pictureId, false));
  }
  EXPECT_TRUE(gameFlags.gameOver);
  EXPECT_FALSE(platform.timerRunning(300));
  EXPECT_FALSE(cellOrigins.present());
  EXPECT_EQ(platform.windowContextsHeld(), 0);
}

TEST_F(BoardPainting, LiterallyRepaintDrawsEveryCellFromTheModelAndCopiesTheSurface) {
  usePaintingMode(PaintingMode::Literal);
  startBoard(8, 8);
  const std::optional<CellPosition> number =
      findCell([](const Cell& cell) { return cell.content >= '1' && cell.content <= '6'; });
  const std::optional<CellPosition> mine =
      findCell([](const Cell& cell) { return cell.holdsMine(); });
  ASSERT_TRUE(number && mine);
  const int numberId = IDB_BIG_OPEN0 + (board.cell(number->column, number->row).content - '0');
  setState(number->column, number->row, false, true, false);
  setState(mine->column, mine->row, true, false, false);
  const PixelPoint numberAt = *cellOrigins.entry(number->column, number->row);
  const PixelPoint mineAt = *cellOrigins.entry(mine->column, mine->row);
  const RgbImage surfaceBefore = surface();
  blackenWindow();

  repaintAllCells();
  EXPECT_TRUE(showsTile(surfaceBefore, surface(), numberAt, numberId, false));
  EXPECT_TRUE(showsTile(surfaceBefore, surface(), mineAt, IDB_BIG_FLAG, false));
  EXPECT_TRUE(windowShowsSurface());
  EXPECT_EQ(platform.windowContextsHeld(), 0);
}

// Incrementally the repaint draws the cells whose picture changed, and copies to the window
// the rectangle around them and nothing else.
TEST_F(BoardPainting, RepaintDrawsTheChangedCellsAndCopiesTheirRectangleOnly) {
  startBoard(8, 8);
  // The counter panels were drawn over the lowest cells of the odd columns, which the first
  // repaint draws again.
  repaintAllCells();
  const CellPosition first{3, 3};
  const CellPosition second{4, 5};
  setState(first.column, first.row, true, false, false);
  setState(second.column, second.row, false, false, true);
  const PixelPoint firstAt = *cellOrigins.entry(first.column, first.row);
  const PixelPoint secondAt = *cellOrigins.entry(second.column, second.row);
  const RgbImage surfaceBefore = surface();
  blackenWindow();
  const int taken = platform.windowContextsTaken();

  repaintAllCells();
  EXPECT_TRUE(showsTile(surfaceBefore, surface(), firstAt, IDB_BIG_FLAG, false));
  EXPECT_TRUE(showsTile(surfaceBefore, surface(), secondAt, IDB_BIG_QUESTION, false));
  EXPECT_EQ(platform.windowContextsTaken() - taken, 1);
  const int32_t size = 24;
  const Rect changed{firstAt.x, std::min(firstAt.y, secondAt.y), secondAt.x + size,
                     std::max(firstAt.y, secondAt.y) + size};
  int wrong = 0;
  for (int32_t y = 0; y < window().height; ++y) {
    for (int32_t x = 0; x < window().width; ++x) {
      const bool inside = x >= changed.left && x < changed.right && y >= changed.top && y < changed.bottom;
      if (window().at(x, y) != (inside ? surface().at(x, y) : 0x000000u)) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);

  // Nothing differs now, so nothing is drawn or copied.
  const RgbImage surfaceAfter = surface();
  repaintAllCells();
  EXPECT_TRUE(samePixels(surfaceAfter, surface()));
  EXPECT_EQ(platform.windowContextsTaken() - taken, 1);
}

TEST_F(BoardPainting, LiterallyRepaintWithoutAGameStillCopiesTheSurface) {
  usePaintingMode(PaintingMode::Literal);
  startBoard(8, 8);
  board.cell(1, 1).flagged = 1;
  cellOrigins.release();
  const RgbImage surfaceBefore = surface();
  blackenWindow();

  repaintAllCells();
  EXPECT_TRUE(samePixels(surfaceBefore, surface()));
  EXPECT_TRUE(windowShowsSurface());
}

TEST_F(BoardPainting, LiterallyTheEngineCopyRequestPutsTheWholeSurfaceOnTheWindow) {
  usePaintingMode(PaintingMode::Literal);
  startBoard(8, 8);
  blackenWindow();
  engineRequests().copyOffscreenToWindow();
  EXPECT_TRUE(windowShowsSurface());
  EXPECT_EQ(platform.windowContextsHeld(), 0);
}

// The cells a chord opens wait on their way to the window; its closing request shows them.
TEST_F(BoardPainting, EngineCopyRequestShowsTheCellsDrawnSinceTheLastCopy) {
  startBoard(8, 8);
  const RgbImage windowBefore = window();
  board.action = 'm';
  board.actionColumn = 2;
  board.actionRow = 2;
  board.apply();
  const PixelPoint at = *cellOrigins.entry(2, 2);
  engineRequests().copyOffscreenToWindow();
  EXPECT_TRUE(drawnAlone(windowBefore, window(), at, IDB_BIG_FLAG, false));
  EXPECT_TRUE(windowShowsSurface());
  EXPECT_EQ(platform.windowContextsHeld(), 0);
}

// Before the first game start there is no surface; painting then reaches the window only.
TEST_F(BoardPainting, PaintingBeforeTheSurfaceExistsReachesTheWindowOnly) {
  gameFlags.firstGame = true;
  paintFreshBoard();
  showFlagsLeft(-12);
  repaintAllCells();
  EXPECT_FALSE(offscreenSurfaceExists());
  EXPECT_EQ(window().at(100, 100), kBackground);
  EXPECT_EQ(platform.windowContextsHeld(), 0);
}

}  // namespace
