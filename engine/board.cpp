#include "engine/board.h"

#include "engine/mine_seed.h"
#include "engine/player_actions.h"
#include "engine/random.h"
#include "shell/services.h"

void Board::build(unsigned newColumns, unsigned newRows, unsigned difficulty) {
  columns = static_cast<uint16_t>(newColumns);
  rows = static_cast<uint16_t>(newRows);
  cells.assign(static_cast<size_t>(columns + 2u) * (rows + 2u), Cell{});
  placeMines(difficulty);
}

void Board::destroy() {
  cells.clear();
  cells.shrink_to_fit();
}

void Board::placeMines(unsigned difficulty) {
  const uint32_t weighted = (difficulty + 2u) * uint32_t{rows} * uint32_t{columns};
  mines = static_cast<uint16_t>(weighted / 35u);
  flagsLeft = mines;
  seedRandom(mineSeed(services().calendarSeconds()));

  unsigned placed = 0;
  while (placed < mines) {
    // The quotient can reach the count itself near the top of the generator's range;
    // such a pair is drawn again, like one that falls on a mine.
    const int row = nextRandom() / (32767 / rows) + 1;
    const int column = nextRandom() / (32767 / columns) + 1;
    if (column > columns || row > rows) continue;
    Cell& target = cell(column, row);
    if (target.holdsMine()) continue;
    target.content = kMineContent;
    ++placed;
  }
  countNeighbours();
}

void Board::countNeighbours() {
  for (int c = 1; c <= columns; ++c) {
    for (int r = 1; r <= rows; ++r) {
      Cell& here = cell(c, r);
      if (here.holdsMine()) continue;
      int count = 0;
      for (const CellPosition& n : neighboursOf(c, r)) {
        if (cell(n.column, n.row).holdsMine()) ++count;  // ring cells never hold a mine
      }
      here.content = static_cast<char>('0' + count);
    }
  }
}

void Board::apply() {
  const int c = actionColumn;
  const int r = actionRow;
  if (!isInner(c, r)) return;
  Cell& target = cell(c, r);
  switch (action) {
    case 'c':
      if (target.isQuestioned() || target.isFlagged()) return;
      target.open(c, r);
      if (target.holdsMine()) {
        endGameLost();
      } else if (target.content == '0') {
        floodOpen(c, r);
      }
      return;
    case 'm':
      if (target.isRevealed() && !target.holdsMine()) return;
      if (target.isQuestioned()) target.toggleQuestion(c, r);
      {
        const bool wasFlagged = target.isFlagged();
        target.toggleFlag(c, r);
        flagsLeft += wasFlagged ? 1 : -1;  // no lower bound: more flags than mines go negative
      }
      return;
    default:
      target.toggleQuestion(c, r);
      return;
  }
}

void Board::floodOpen(int column, int row) {
  if (!isInner(column, row)) return;
  if (!cell(column, row).isRevealed() || cell(column, row).content != '0') return;

  // Depth-first like the recursive rule, each frame resuming at its next neighbour, so the
  // cells open in the same order; an explicit stack keeps the largest board off the call stack.
  struct Frame {
    uint16_t column;
    uint16_t row;
    uint8_t nextNeighbour;
  };
  std::vector<Frame> stack;
  stack.push_back({static_cast<uint16_t>(column), static_cast<uint16_t>(row), 0});
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.nextNeighbour == 6) {
      stack.pop_back();
      continue;
    }
    const CellPosition n = neighbourOf(top.column, top.row, top.nextNeighbour++);
    if (!isInner(n.column, n.row)) continue;
    Cell& next = cell(n.column, n.row);
    if (next.isRevealed() || next.holdsMine() || next.isFlagged()) continue;
    next.open(n.column, n.row);
    if (next.content == '0') {
      stack.push_back({static_cast<uint16_t>(n.column), static_cast<uint16_t>(n.row), 0});
    }
  }
}

unsigned Board::unrevealedCount() const {
  unsigned count = 0;
  for (int c = 1; c <= columns; ++c) {
    for (int r = 1; r <= rows; ++r) {
      if (!cell(c, r).isRevealed()) ++count;
    }
  }
  return count;
}
