#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "engine/engine_state.h"
#include "engine/game_flow.h"
#include "engine/random.h"
#include "recording_view.h"

TEST(ElapsedSeconds, TruncatesAndCapsAtTheDisplayLimit) {
  struct Case {
    int32_t now, start, seconds;
  };
  const Case cases[] = {
      {0, 0, 0},          {999, 0, 0},           {1000, 0, 1},
      {5600, 600, 5},     {9999999, 0, 9999},    {10000000, 0, 9999},
      {100000000, 0, 9999}, {1500, 2000, 0},  // a clock read before the start truncates to 0
  };
  for (const Case& c : cases) {
    EXPECT_EQ(elapsedSecondsAt(c.now, c.start), c.seconds) << c.now << " - " << c.start;
  }
}

TEST(SafeStart, WorkedExampleSkipsTheNumberAndFloodsFromTheZero) {
  RecordingView view;
  buildWorkedExample();
  safeStart();
  ASSERT_FALSE(view.drawn.empty());
  EXPECT_EQ(std::make_pair(view.drawn[0].column, view.drawn[0].row), std::make_pair(4, 7));
  EXPECT_EQ(view.drawn.size(), 68u);
  const std::set<std::pair<int, int>> closedSafe = {{6, 1}, {7, 1}, {8, 1}, {1, 7}, {1, 8}, {7, 8}};
  for (const auto& p : closedSafe) EXPECT_FALSE(board.cell(p.first, p.second).isRevealed());
}

TEST(SafeStart, OpensTheThousandthCandidateWhenNoZeroIsFound) {
  RecordingView view;
  buildWorkedExample();
  for (int c = 1; c <= board.columns; ++c) {
    for (int r = 1; r <= board.rows; ++r) {
      if (!board.cell(c, r).holdsMine()) board.cell(c, r).content = '1';
    }
  }
  seedRandom(99);
  int column = 0, row = 0;
  for (int i = 0; i < 1000; ++i) {
    column = nextRandom() % (board.columns - 1) + 1;
    row = nextRandom() % (board.rows - 1) + 1;
  }
  seedRandom(99);
  safeStart();
  ASSERT_EQ(view.drawn.size(), 1u);
  EXPECT_EQ(std::make_pair(view.drawn[0].column, view.drawn[0].row), std::make_pair(column, row));
}

TEST(SafeStart, NeverPicksTheLastColumnOrRow) {
  RecordingView view;
  for (int64_t seconds = 0; seconds < 200; ++seconds) {
    buildBoardAt(seconds, 5, 5, 10);
    view.clear();
    safeStart();
    ASSERT_FALSE(view.drawn.empty());
    EXPECT_LT(view.drawn[0].column, 5);
    EXPECT_LT(view.drawn[0].row, 5);
  }
}

TEST(WinTest, NeedsEverySafeCellOpenWhateverTheFlags) {
  RecordingView view;
  buildWorkedExample();
  for (int c = 1; c <= board.columns; ++c) {
    for (int r = 1; r <= board.rows; ++r) {
      if (!board.cell(c, r).holdsMine()) board.cell(c, r).revealed = 1;
    }
  }
  EXPECT_TRUE(isGameWon());
  board.cell(6, 2).flagged = 1;
  EXPECT_TRUE(isGameWon()) << "a flag on a mine does not matter";

  board.cell(1, 1).revealed = 0;
  board.cell(1, 1).flagged = 1;
  EXPECT_FALSE(isGameWon()) << "a flagged safe cell must still be opened";
}
