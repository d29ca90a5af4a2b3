#include "view/cell_origins.h"

void CellOriginTable::create(uint16_t columns, uint16_t rows) {
  present_ = true;
  columns_ = columns;
  rows_ = rows;
  entries_.assign(size_t{columns} * rows, std::nullopt);
}

void CellOriginTable::release() {
  present_ = false;
  columns_ = 0;
  rows_ = 0;
  entries_.clear();
  entries_.shrink_to_fit();
}

void CellOriginTable::store(int column, int row, PixelPoint origin) {
  if (holds(column, row)) entries_[index(column, row)] = origin;
}

std::optional<PixelPoint> CellOriginTable::entry(int column, int row) const {
  if (!holds(column, row)) return std::nullopt;
  return entries_[index(column, row)];
}

bool CellOriginTable::holds(int column, int row) const {
  return present_ && column >= 1 && column <= columns_ && row >= 1 && row <= rows_;
}

size_t CellOriginTable::index(int column, int row) const {
  return static_cast<size_t>(column - 1) * rows_ + static_cast<size_t>(row - 1);
}
