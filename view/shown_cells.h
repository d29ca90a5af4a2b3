#pragma once

#include <algorithm>
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
  int waitingCount() const { return waitingCount_; }

  // The cell is to show the image; its draw waits until the waiting cells are drawn.
  void queue(int column, int row, TileImage image);
  // The surface has been drawn over at the cell by something else.
  void forget(int column, int row) { shown_[index(column, row)] = kUnknown; }

  // Column by column from the top, for each stretch of waiting cells that lie one below the
  // other: first masks(column, firstRow, cells) over the whole stretch, then
  // pictures(column, firstRow, cells, image) for each run of it that shows the same picture;
  // no call covers more than longestRun cells. Afterwards no cell waits.
  template <typename Masks, typename Pictures>
  void takeWaitingRuns(int longestRun, Masks&& masks, Pictures&& pictures);

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

template <typename Masks, typename Pictures>
void ShownCells::takeWaitingRuns(int longestRun, Masks&& masks, Pictures&& pictures) {
  if (waitingCount_ == 0) return;
  for (int column = firstWaitingColumn_; column <= lastWaitingColumn_; ++column) {
    const size_t top = index(column, 1);
    int row = 1;
    while (row <= rows_) {
      if (!waiting_[top + static_cast<size_t>(row - 1)]) {
        ++row;
        continue;
      }
      int end = row;
      while (end <= rows_ && waiting_[top + static_cast<size_t>(end - 1)]) {
        waiting_[top + static_cast<size_t>(end - 1)] = 0;
        ++end;
      }
      for (int first = row; first < end; first += longestRun) {
        masks(column, first, std::min(longestRun, end - first));
      }
      for (int first = row; first < end;) {
        const uint8_t picture = shown_[top + static_cast<size_t>(first - 1)];
        int cells = 1;
        while (first + cells < end && cells < longestRun &&
               shown_[top + static_cast<size_t>(first + cells - 1)] == picture) {
          ++cells;
        }
        pictures(column, first, cells, static_cast<TileImage>(picture));
        first += cells;
      }
      row = end;
    }
  }
  waitingCount_ = 0;
}
