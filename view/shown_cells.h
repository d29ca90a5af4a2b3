#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "view/tile_images.h"

// What the incremental painting knows of the cells on the off-screen surface: the picture
// each one shows, or nothing where that is not known, and which cells still wait for their
// draw. A waiting cell counts as showing its new picture already.
//
// Drawing a cell again with the picture it shows changes no pixel: inside its hexagon the
// mask keeps only bits that the picture puts back, and outside it the picture's black sets
// bits that are set already. That is what lets a repaint skip such a cell.
class ShownCells {
 public:
  // A board of that size with every cell unknown and none waiting.
  void reset(int columns, int rows);
  bool fits(int columns, int rows) const { return columns == columns_ && rows == rows_; }

  bool shows(int column, int row, TileImage image) const {
    return shown_[index(column, row)] == static_cast<uint8_t>(image);
  }
  bool waits(int column, int row) const { return waiting_[index(column, row)] != 0; }
  bool anyWaiting() const { return waitingCount_ > 0; }

  // The cell is to show the image; its draw waits until the waiting cells are drawn.
  void queue(int column, int row, TileImage image);
  // The surface has been drawn over at the cell by something else.
  void forget(int column, int row) { shown_[index(column, row)] = kUnknown; }

  // Hands each run of waiting cells that lie one below the other in a column and show the
  // same picture to drawRun(column, firstRow, cells, image), column by column from the top,
  // no run longer than longestRun; afterwards no cell waits.
  template <typename DrawRun>
  void takeWaitingRuns(int longestRun, DrawRun&& drawRun);

 private:
  static constexpr uint8_t kUnknown = 0xFF;

  size_t index(int column, int row) const {
    return static_cast<size_t>(column - 1) * static_cast<size_t>(rows_) +
           static_cast<size_t>(row - 1);
  }

  int columns_ = 0;
  int rows_ = 0;
  std::vector<uint8_t> shown_;    // column by column: a TileImage, or kUnknown
  std::vector<uint8_t> waiting_;  // column by column: 1 while the cell's draw waits
  int waitingCount_ = 0;
  int firstWaitingColumn_ = 0;
  int lastWaitingColumn_ = 0;
};

// The cells of the current board, as the incremental painting has drawn them.
extern ShownCells shownCells;

template <typename DrawRun>
void ShownCells::takeWaitingRuns(int longestRun, DrawRun&& drawRun) {
  if (waitingCount_ == 0) return;
  for (int column = firstWaitingColumn_; column <= lastWaitingColumn_; ++column) {
    int row = 1;
    while (row <= rows_) {
      const size_t first = index(column, row);
      if (!waiting_[first]) {
        ++row;
        continue;
      }
      int cells = 0;
      while (row + cells <= rows_ && cells < longestRun && waiting_[first + cells] &&
             shown_[first + cells] == shown_[first]) {
        waiting_[first + cells] = 0;
        ++cells;
      }
      drawRun(column, row, cells, static_cast<TileImage>(shown_[first]));
      row += cells;
    }
  }
  waitingCount_ = 0;
}
