#include <gtest/gtest.h>

#include "engine/game_flags.h"
#include "hexagon_outline.h"
#include "painting_program.h"
#include "resources/resource_ids.h"
#include "shell/settings.h"
#include "view/board_painting.h"
#include "view/cell_origins.h"
#include "view/game_start.h"
#include "view/window_outline.h"

namespace {

class GameStart : public PaintingProgram {
 protected:
  // The board a later game starts, at (left, top) before the start.
  void startAt(int32_t left, int32_t top, uint32_t columns, uint32_t rows, bool small = false) {
    platform.moveWindow(left, top, 800, 600);
    startBoard(columns, rows, small);
  }

  Rect lastMove() const { return platform.windowMoves().back(); }

  void answerNovice() {
    platform.answerDialog(IDD_LEVEL, [](MemoryDialog& dialog) { dialog.click(IDC_LEVEL_NOVICE); });
  }

  unsigned revealedCells() const {
    return static_cast<unsigned>(board.columns) * board.rows - board.unrevealedCount();
  }
};

void expectRect(const Rect& actual, const Rect& expected) {
  EXPECT_EQ(actual.left, expected.left);
  EXPECT_EQ(actual.top, expected.top);
  EXPECT_EQ(actual.right, expected.right);
  EXPECT_EQ(actual.bottom, expected.bottom);
}

TEST_F(GameStart, FitsTheWindowToTheField) {
  struct Case {
    const char* name;
    uint32_t columns;
    uint32_t rows;
    bool small;
    WindowFit fit;
  };
  const Case cases[] = {
      {"big 6 x 5", 6, 5, false, {127, 214, 42, 0}},
      {"big 5 x 5", 5, 5, false, {108, 214, 42, 0}},
      {"small 6 x 5", 6, 5, true, {65, 130, 42, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    startAt(100, 50, c.columns, c.rows, c.small);
    EXPECT_EQ(windowFit.windowWidth, c.fit.windowWidth);
    EXPECT_EQ(windowFit.windowHeight, c.fit.windowHeight);
    EXPECT_EQ(windowFit.clientTop, c.fit.clientTop);
    EXPECT_EQ(windowFit.captionExtra, c.fit.captionExtra);
    // 36 pixels taller than the fit, for the counter feet.
    expectRect(lastMove(), {100, 50, 100 + c.fit.windowWidth, 50 + c.fit.windowHeight + 36});
  }
}

TEST_F(GameStart, MovesTheWindowBackOnlyFromTheRightAndBottomScreenEdges) {
  // The big 6 x 5 board: 127 by 214, on a 1280 by 1024 screen.
  struct Case {
    const char* name;
    int32_t left, top;
    int32_t newLeft, newTop;
  };
  const Case cases[] = {
      {"inside", 100, 50, 100, 50},
      {"one pixel short of the right edge", 1152, 50, 1152, 50},
      {"reaching the right edge", 1153, 50, 1152, 50},
      {"past the right edge", 1250, 50, 1152, 50},
      {"one pixel short of the bottom edge", 100, 809, 100, 809},
      {"reaching the bottom edge", 100, 810, 100, 749},
      {"past both edges", 1300, 1000, 1152, 749},
      {"left of and above the screen", -30, -20, -30, -20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    startAt(c.left, c.top, 6, 5);
    expectRect(lastMove(), {c.newLeft, c.newTop, c.newLeft + 127, c.newTop + 250});
  }
}

// A board taller than the screen ends with its top above the screen's top edge.
TEST_F(GameStart, AWindowTallerThanTheScreenGoesAboveIt) {
  platform.screenHeight = 200;
  startAt(0, 0, 6, 5);
  EXPECT_EQ(lastMove().top, 200 - 61 - 214);
}

TEST_F(GameStart, CutsTheWindowToTheOutlineOfItsBoard) {
  struct Case {
    uint32_t columns;
    uint32_t rows;
    bool small;
    int32_t captionHeight;
  };
  const Case cases[] = {{6, 5, false, 19}, {5, 5, false, 19}, {6, 5, true, 19}, {7, 9, false, 23}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.columns << " x " << c.rows << (c.small ? " small" : "")
                                    << ", caption " << c.captionHeight);
    platform.captionHeight = c.captionHeight;
    startAt(100, 50, c.columns, c.rows, c.small);
    const WindowOutline expected =
        windowOutline(c.small ? kSmallTileMetrics : kBigTileMetrics, c.columns, c.rows, 42,
                      c.captionHeight - 19, windowFit.windowWidth);
    ASSERT_EQ(platform.windowRegion().size(), 4 * c.rows + 13);
    EXPECT_EQ(platform.windowRegion(), expected);
  }
}

TEST_F(GameStart, StartsTheClockAndThePlayTimer) {
  platform.clockMilliseconds = 123456;
  startBoard(6, 5);
  EXPECT_EQ(gameFlags.startClock, 123456);
  EXPECT_TRUE(platform.timerRunning(300));
  EXPECT_EQ(platform.timerPeriod(300), 100u);
  EXPECT_FALSE(gameFlags.gameOver);
}

TEST_F(GameStart, FillsThePositionTableForTheNewTileSize) {
  startBoard(6, 5);
  EXPECT_EQ(cellOrigins.entry(1, 1), (PixelPoint{1, 13}));
  EXPECT_EQ(cellOrigins.entry(6, 5), (PixelPoint{96, 97}));
  startBoard(6, 5, true);
  EXPECT_EQ(cellOrigins.entry(1, 1), (PixelPoint{1, 7}));
  EXPECT_EQ(cellOrigins.entry(6, 5), (PixelPoint{46, 49}));
  for (int c = 1; c <= 6; ++c) {
    for (int r = 1; r <= 5; ++r) EXPECT_TRUE(cellOrigins.entry(c, r).has_value()) << c << "," << r;
  }
}

TEST_F(GameStart, OnlyTheFirstGameShowsTheLevelDialogAndCreatesTheSurface) {
  answerNovice();
  startNewGame();
  ASSERT_EQ(platform.dialogsRun().size(), 1u);
  EXPECT_EQ(platform.dialogsRun()[0], IDD_LEVEL);
  ASSERT_TRUE(platform.offscreen().has_value());
  EXPECT_EQ(offscreenSurface(), *platform.offscreen());
  const RgbImage& created = platform.surfacePixels(offscreenSurface());
  EXPECT_EQ(created.width, 1600);
  EXPECT_EQ(created.height, 1200);
  EXPECT_EQ(board.columns, 22);
  EXPECT_EQ(board.rows, 12);
  EXPECT_EQ(windowFit.windowWidth, 22 * 14 + 23 * 5 + 8);

  const DrawContext first = offscreenSurface();
  gameFlags.firstGame = false;
  endGame();
  startNewGame();
  EXPECT_EQ(platform.dialogsRun().size(), 1u);
  EXPECT_EQ(offscreenSurface(), first);
  EXPECT_EQ(*platform.offscreen(), first);
  EXPECT_EQ(board.columns, 22);
}

// The first board of the run is opened at the window's first paint, every later one here.
TEST_F(GameStart, SafeStartOpensACellOnLaterBoardsOnly) {
  gameSettings.safe = 1;
  answerNovice();
  startNewGame();
  EXPECT_EQ(revealedCells(), 0u) << "first board";

  gameFlags.firstGame = false;
  endGame();
  startNewGame();
  EXPECT_GT(revealedCells(), 0u) << "later board, safe start on";

  gameSettings.safe = 0;
  endGame();
  startNewGame();
  EXPECT_EQ(revealedCells(), 0u) << "later board, safe start off";
  EXPECT_EQ(platform.windowContextsHeld(), 0);
}

}  // namespace
