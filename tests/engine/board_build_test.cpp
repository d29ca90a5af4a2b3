#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "recording_view.h"

namespace {

// The board's contents row by row, "*" for a mine, as the worked example is written down.
std::vector<std::string> contentRows() {
  std::vector<std::string> rows;
  for (int r = 1; r <= board.rows; ++r) {
    std::string line;
    for (int c = 1; c <= board.columns; ++c) {
      if (c > 1) line += ' ';
      const char content = board.cell(c, r).content;
      line += content == kMineContent ? '*' : content;
    }
    rows.push_back(line);
  }
  return rows;
}

}  // namespace

TEST(BoardBuild, WorkedExampleHasItsMinesAndCounts) {
  buildWorkedExample();
  EXPECT_EQ(board.mines, 6);
  EXPECT_EQ(board.flagsLeft, 6);
  const std::vector<std::string> expected = {
      "0 0 0 0 1 1 2 1 1 0",  //
      "0 0 0 0 1 * 2 * 1 0",  //
      "0 0 0 0 1 1 0 1 0 0",  //
      "0 0 0 1 * 1 0 0 0 0",  //
      "0 0 0 1 1 1 0 0 0 0",  //
      "1 1 1 0 0 0 1 0 0 0",  //
      "1 * 1 0 0 1 * 2 1 0",  //
      "0 1 0 0 0 1 2 * 1 0",
  };
  EXPECT_EQ(contentRows(), expected);
}

TEST(BoardBuild, MineCountFollowsTheDensityRule) {
  struct Case {
    unsigned columns, rows, difficulty, mines;
  };
  const Case cases[] = {
      {28, 16, 5, 89}, {15, 15, 5, 45}, {5, 5, 1, 2}, {5, 5, 10, 8},
      {22, 12, 1, 22}, {53, 27, 6, 327}, {159, 95, 10, 5178},
  };
  for (const Case& c : cases) {
    buildBoardAt(1000, c.columns, c.rows, c.difficulty);
    EXPECT_EQ(board.mines, c.mines) << c.columns << "x" << c.rows << " d" << c.difficulty;
    EXPECT_EQ(board.flagsLeft, static_cast<int32_t>(c.mines));
  }
}

TEST(BoardBuild, EveryLayoutHasExactlyItsMinesOnInnerCellsAndTrueCounts) {
  struct Size {
    unsigned columns, rows, difficulty;
  };
  const Size sizes[] = {{5, 5, 10}, {6, 5, 1}, {10, 8, 1}, {41, 20, 4}, {159, 95, 10}};
  for (const Size& size : sizes) {
    for (int64_t seconds = 0; seconds < 40; ++seconds) {
      buildBoardAt(seconds * 7919, size.columns, size.rows, size.difficulty);
      unsigned mines = 0;
      for (int c = 0; c <= board.columns + 1; ++c) {
        for (int r = 0; r <= board.rows + 1; ++r) {
          const Cell& cell = board.cell(c, r);
          if (!board.isInner(c, r)) {
            ASSERT_FALSE(cell.holdsMine()) << "ring cell " << c << "," << r;
            continue;
          }
          if (cell.holdsMine()) {
            ++mines;
            continue;
          }
          ASSERT_GE(cell.content, '0');
          ASSERT_LE(cell.content, '6');
          int around = 0;
          for (const CellPosition& n : neighboursOf(c, r)) {
            if (board.isInner(n.column, n.row) && board.cell(n.column, n.row).holdsMine()) {
              ++around;
            }
          }
          ASSERT_EQ(cell.content - '0', around) << c << "," << r;
        }
      }
      ASSERT_EQ(mines, board.mines);
    }
  }
}

TEST(BoardBuild, SameSecondOrSecondsACycleApartGiveTheSameLayout) {
  buildBoardAt(500, 22, 12, 1);
  const std::vector<std::string> first = contentRows();
  buildBoardAt(500 + 31683, 22, 12, 1);
  EXPECT_EQ(contentRows(), first);
  buildBoardAt(501, 22, 12, 1);
  EXPECT_NE(contentRows(), first);
}

TEST(BoardBuild, RebuildStartsFromFreshCells) {
  RecordingView view;
  buildWorkedExample();
  board.action = 'm';
  board.actionColumn = 1;
  board.actionRow = 1;
  board.apply();
  board.destroy();
  buildBoardAt(12345, 6, 5, 1);
  for (int c = 0; c <= 7; ++c) {
    for (int r = 0; r <= 6; ++r) {
      EXPECT_FALSE(board.cell(c, r).isFlagged());
      EXPECT_FALSE(board.cell(c, r).isRevealed());
    }
  }
  EXPECT_EQ(board.columns, 6);
  EXPECT_EQ(board.rows, 5);
}

TEST(Neighbours, AreMutualSoTheParityRuleDescribesOneGrid) {
  for (int c = 1; c <= 8; ++c) {
    for (int r = 1; r <= 8; ++r) {
      for (const CellPosition& n : neighboursOf(c, r)) {
        const auto back = neighboursOf(n.column, n.row);
        const bool found = std::any_of(back.begin(), back.end(), [&](const CellPosition& p) {
          return p.column == c && p.row == r;
        });
        EXPECT_TRUE(found) << c << "," << r << " -> " << n.column << "," << n.row;
      }
    }
  }
}

TEST(Neighbours, OddColumnTouchesItsOwnRowAndTheOneBelow) {
  const auto odd = neighboursOf(7, 1);
  const std::vector<std::pair<int, int>> expectedOdd = {{6, 1}, {8, 1}, {7, 0},
                                                        {7, 2}, {8, 2}, {6, 2}};
  const auto even = neighboursOf(6, 4);
  const std::vector<std::pair<int, int>> expectedEven = {{5, 4}, {7, 4}, {6, 3},
                                                         {6, 5}, {5, 3}, {7, 3}};
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(std::make_pair(odd[i].column, odd[i].row), expectedOdd[i]);
    EXPECT_EQ(std::make_pair(even[i].column, even[i].row), expectedEven[i]);
  }
}
