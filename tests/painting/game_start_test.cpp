#include <gtest/gtest.h>

#include "engine/engine_state.h"
#include "hexagon_outline.h"
#include "painting_program.h"
#include "resources/resource_ids.h"
#include "shell/shell_state.h"
#include "view/board_painting.h"
#include "view/game_start.h"
#include "view/view_state.h"
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
    int32_t menuBarWidth;
    WindowFit fit;
  };
  const Case cases[] = {
      {"big 10 x 5", 10, 5, false, 119, {203, 214, 42, 0}},
      {"big 9 x 5", 9, 5, false, 119, {184, 214, 42, 0}},
      // Narrower fields get the width of the two counter panels side by side...
      {"big 6 x 5", 6, 5, false, 119, {172, 214, 42, 0}},
      {"big 5 x 5", 5, 5, false, 119, {172, 214, 42, 0}},
      {"small 6 x 5", 6, 5, true, 119, {172, 130, 42, 0}},
      {"small 17 x 5", 17, 5, true, 119, {172, 130, 42, 0}},
      {"small 18 x 5", 18, 5, true, 119, {173, 130, 42, 0}},
      // ... or of the menu bar on one line, when that is wider.
      {"big 5 x 5, wide menu", 5, 5, false, 190, {198, 214, 42, 0}},
      {"big 10 x 5, wide menu", 10, 5, false, 200, {208, 214, 42, 0}},
      {"big 11 x 5, wide menu", 11, 5, false, 200, {222, 214, 42, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform.menuLineWidth = c.menuBarWidth;
    startAt(100, 50, c.columns, c.rows, c.small);
    EXPECT_EQ(windowFit.windowWidth, c.fit.windowWidth);
    EXPECT_EQ(windowFit.windowHeight, c.fit.windowHeight);
    EXPECT_EQ(windowFit.clientTop, c.fit.clientTop);
    EXPECT_EQ(windowFit.captionExtra, c.fit.captionExtra);
    // 36 pixels taller than the fit, for the counter feet.
    expectRect(lastMove(), {100, 50, 100 + c.fit.windowWidth, 50 + c.fit.windowHeight + 36});
  }
}

// Both counters show whole, side by side, on a field narrower than the two of them.
TEST_F(GameStart, NarrowFieldsShowBothCounterPanelsWhole) {
  for (const bool small : {false, true}) {
    SCOPED_TRACE(small ? "small tiles" : "big tiles");
    startAt(100, 50, 5, 5, small);
    const int32_t top = window().height - (small ? 54 : 72);
    EXPECT_TRUE(showsImage(window(), 0, top, IDB_COUNTER_PANEL));
    EXPECT_TRUE(showsImage(window(), 82, top, IDB_COUNTER_PANEL));
    EXPECT_EQ(window().width, 164);
  }
}

TEST_F(GameStart, MovesTheWindowBackFromTheRightAndBottomEdgesOfTheWorkArea) {
  // The big 10 x 5 board: 203 by 214, 250 with the feet, on a 1280 by 1024 screen.
  struct Case {
    const char* name;
    Rect workArea;
    int32_t left, top;
    int32_t newLeft, newTop;
  };
  const Rect screen{0, 0, 1280, 1024};
  const Rect belowTaskbar{0, 0, 1280, 984};
  const Rect besideBars{60, 40, 1280, 1024};
  const Case cases[] = {
      {"inside", screen, 100, 50, 100, 50},
      {"one pixel short of the right edge", screen, 1076, 50, 1076, 50},
      {"reaching the right edge", screen, 1077, 50, 1076, 50},
      {"past the right edge", screen, 1250, 50, 1076, 50},
      {"feet one pixel short of the bottom edge", screen, 100, 773, 100, 773},
      {"feet reaching the bottom edge", screen, 100, 774, 100, 749},
      {"past both edges", screen, 1300, 1000, 1076, 749},
      {"feet reaching the taskbar", belowTaskbar, 100, 734, 100, 709},
      {"left of and above the screen", screen, -30, -20, 0, 0},
      {"left of and above the work area", besideBars, 10, 20, 60, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform.workAreaRect = c.workArea;
    startAt(c.left, c.top, 10, 5);
    expectRect(lastMove(), {c.newLeft, c.newTop, c.newLeft + 203, c.newTop + 250});
  }
}

// A board taller than the work area keeps its caption and menu in it, at the top.
TEST_F(GameStart, AWindowTallerThanTheWorkAreaStartsAtItsTop) {
  platform.screenHeight = 200;
  startAt(0, 0, 6, 5);
  EXPECT_EQ(lastMove().top, 0);
  platform.workAreaRect = Rect{0, 30, 1280, 200};
  startAt(0, 0, 6, 5);
  EXPECT_EQ(lastMove().top, 30);
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
  EXPECT_EQ(playClock.startClock, 123456);
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
