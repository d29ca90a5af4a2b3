#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "engine/engine_state.h"
#include "recording_view.h"

namespace {

using Position = std::pair<int, int>;

std::vector<Position> positions(const std::vector<CellPosition>& cells) {
  std::vector<Position> out;
  for (const CellPosition& p : cells) out.emplace_back(p.column, p.row);
  return out;
}

void openAt(int column, int row) {
  board.action = 'c';
  board.actionColumn = static_cast<uint16_t>(column);
  board.actionRow = static_cast<uint16_t>(row);
  board.apply();
}

// The flood as a plain recursion, to hold the engine's explicit stack to the same order.
void recursiveFlood(int c, int r, std::vector<Position>& order, std::vector<std::vector<bool>>& open) {
  for (const CellPosition& n : neighboursOf(c, r)) {
    if (!board.isInner(n.column, n.row)) continue;
    const Cell& next = board.cell(n.column, n.row);
    if (open[n.column][n.row] || next.holdsMine() || next.isFlagged()) continue;
    open[n.column][n.row] = true;
    order.emplace_back(n.column, n.row);
    if (next.content == '0') recursiveFlood(n.column, n.row, order, open);
  }
}

}  // namespace

TEST(Flood, WorkedExampleOpensSixtyEightCellsDepthFirst) {
  RecordingView view;
  buildWorkedExample();
  openAt(1, 1);

  const std::vector<Position> opened = positions(view.drawn);
  ASSERT_EQ(opened.size(), 68u);
  const std::vector<Position> start = {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {4, 2}};
  EXPECT_EQ(std::vector<Position>(opened.begin(), opened.begin() + 6), start);

  const std::set<Position> closedSafe = {{6, 1}, {7, 1}, {8, 1}, {1, 7}, {1, 8}, {7, 8}};
  for (int c = 1; c <= 10; ++c) {
    for (int r = 1; r <= 8; ++r) {
      const Cell& cell = board.cell(c, r);
      const bool shouldBeClosed = cell.holdsMine() || closedSafe.count({c, r}) > 0;
      EXPECT_EQ(cell.isRevealed(), !shouldBeClosed) << c << "," << r;
    }
  }
  EXPECT_EQ(board.unrevealedCount(), 12u);
}

TEST(Flood, MatchesTheRecursiveOrderOnManyBoards) {
  RecordingView view;
  for (int64_t seconds = 1; seconds <= 60; ++seconds) {
    buildBoardAt(seconds * 104729, 30, 20, 1 + seconds % 3);
    // A few flags steer the flood around them.
    for (int i = 0; i < 5; ++i) board.cell(3 + i * 5, 2 + i * 3).flagged = 1;
    int startColumn = 0, startRow = 0;
    for (int c = 1; c <= board.columns && !startColumn; ++c) {
      for (int r = 1; r <= board.rows; ++r) {
        if (board.cell(c, r).content == '0' && !board.cell(c, r).isFlagged()) {
          startColumn = c;
          startRow = r;
          break;
        }
      }
    }
    ASSERT_NE(startColumn, 0);

    std::vector<std::vector<bool>> open(board.columns + 2, std::vector<bool>(board.rows + 2));
    std::vector<Position> expected = {{startColumn, startRow}};
    open[startColumn][startRow] = true;
    recursiveFlood(startColumn, startRow, expected, open);

    view.clear();
    openAt(startColumn, startRow);
    ASSERT_EQ(positions(view.drawn), expected) << "seconds " << seconds;
  }
}

TEST(Flood, LargestEmptyBoardOpensEverySafeCellWithoutDeepRecursion) {
  RecordingView view;
  buildBoardAt(7, 159, 95, 1);
  for (int c = 1; c <= board.columns; ++c) {
    for (int r = 1; r <= board.rows; ++r) board.cell(c, r).content = '0';
  }
  openAt(80, 50);
  EXPECT_EQ(board.unrevealedCount(), 0u);
  EXPECT_EQ(view.drawn.size(), 159u * 95u);
}

TEST(Flood, StopsAtFlagsOnlyAndKeepsQuestionMarks) {
  RecordingView view;
  buildWorkedExample();
  board.cell(2, 1).flagged = 1;
  board.cell(3, 3).questioned = 1;
  openAt(1, 1);
  EXPECT_FALSE(board.cell(2, 1).isRevealed());
  EXPECT_TRUE(board.cell(3, 3).isRevealed());
  EXPECT_TRUE(board.cell(3, 3).isQuestioned());
  for (int c = 0; c <= 11; ++c) {
    EXPECT_FALSE(board.cell(c, 0).isRevealed()) << "ring row 0, column " << c;
    EXPECT_FALSE(board.cell(c, 9).isRevealed()) << "ring row 9, column " << c;
  }
  for (int r = 0; r <= 9; ++r) {
    EXPECT_FALSE(board.cell(0, r).isRevealed()) << "ring column 0, row " << r;
    EXPECT_FALSE(board.cell(11, r).isRevealed()) << "ring column 11, row " << r;
  }
}

TEST(Flood, ReopeningAZeroOnlyReachesCellsThatLostTheirFlag) {
  RecordingView view;
  buildWorkedExample();
  board.cell(2, 1).flagged = 1;
  openAt(1, 1);
  ASSERT_FALSE(board.cell(2, 1).isRevealed());
  board.cell(2, 1).flagged = 0;
  view.clear();
  openAt(1, 1);
  // (1,1) is drawn again, then the flood reaches only the cell that was flagged.
  EXPECT_EQ(positions(view.drawn), (std::vector<Position>{{1, 1}, {2, 1}}));
}
