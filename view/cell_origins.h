#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "view/pixel_point.h"

// Where each cell's tile of the current game is drawn. It exists from the game start to the
// end of the game; while it is absent nothing is drawn.
class CellOriginTable {
 public:
  // Replaces any previous table; every entry starts unset.
  void create(uint16_t columns, uint16_t rows);
  void release();
  bool present() const { return present_; }

  // Only inner cells of a present table have entries: anything else stores and reads nothing.
  void store(int column, int row, PixelPoint origin);
  std::optional<PixelPoint> entry(int column, int row) const;

 private:
  bool holds(int column, int row) const;
  size_t index(int column, int row) const;

  bool present_ = false;
  uint16_t columns_ = 0;
  uint16_t rows_ = 0;
  std::vector<std::optional<PixelPoint>> entries_;  // column by column
};
