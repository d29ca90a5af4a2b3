#include "view/shown_cells.h"

#include <algorithm>

ShownCells shownCells;

void ShownCells::reset(int columns, int rows) {
  columns_ = columns;
  rows_ = rows;
  const size_t cells = static_cast<size_t>(columns) * static_cast<size_t>(rows);
  shown_.assign(cells, kUnknown);
  waiting_.assign(cells, 0);
  waitingCount_ = 0;
}

void ShownCells::queue(int column, int row, TileImage image) {
  const size_t at = index(column, row);
  shown_[at] = static_cast<uint8_t>(image);
  if (waiting_[at]) return;
  waiting_[at] = 1;
  if (waitingCount_++ == 0) {
    firstWaitingColumn_ = column;
    lastWaitingColumn_ = column;
  } else {
    firstWaitingColumn_ = std::min(firstWaitingColumn_, column);
    lastWaitingColumn_ = std::max(lastWaitingColumn_, column);
  }
}
