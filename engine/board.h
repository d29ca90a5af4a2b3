#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/cell.h"

struct CellPosition {
  int column;
  int row;
};

// The one mine field of the program. The cells are stored column by column with a border
// ring of one cell on every side, so that every inner cell has six readable neighbours.
struct Board {
  char action = 'c';  // 'c' open, 'm' flag, anything else question mark
  uint16_t actionRow = 0;
  uint16_t actionColumn = 0;
  uint16_t mines = 0;
  std::vector<Cell> cells;  // (columns + 2) columns of (rows + 2) cells
  uint16_t columns = 0;
  uint16_t rows = 0;
  int32_t flagsLeft = 0;

  void build(unsigned columns, unsigned rows, unsigned difficulty);
  void destroy();
  void placeMines(unsigned difficulty);
  void countNeighbours();

  // Carries out `action` on the cell (actionColumn, actionRow).
  void apply();
  void floodOpen(int column, int row);
  unsigned unrevealedCount() const;
  // False until the run's first game start, which a failed sockets start-up skips; until
  // then there is no board, surface or window fit, so releases and paints do nothing.
  bool isBuilt() const { return !cells.empty(); }

  bool isInner(int column, int row) const {
    return column >= 1 && column <= columns && row >= 1 && row <= rows;
  }
  // Valid for inner and ring cells.
  Cell& cell(int column, int row) { return cells[index(column, row)]; }
  const Cell& cell(int column, int row) const { return cells[index(column, row)]; }

 private:
  size_t index(int column, int row) const {
    return static_cast<size_t>(column) * (rows + 2u) + static_cast<size_t>(row);
  }
};

// The six neighbours in the order the game visits them: left, right, above, below, then the
// two that depend on the column's parity (odd columns sit half a cell lower).
constexpr int8_t kNeighbourColumnStep[2][6] = {{-1, 1, 0, 0, -1, 1}, {-1, 1, 0, 0, 1, -1}};
constexpr int8_t kNeighbourRowStep[2][6] = {{0, 0, -1, 1, -1, -1}, {0, 0, -1, 1, 1, 1}};

inline CellPosition neighbourOf(int c, int r, int index) {
  const int parity = c & 1;
  return {c + kNeighbourColumnStep[parity][index], r + kNeighbourRowStep[parity][index]};
}

template <int Parity>
std::array<CellPosition, 6> neighboursWithParity(int c, int r) {
  std::array<CellPosition, 6> all{};
  for (int i = 0; i < 6; ++i) {
    all[static_cast<size_t>(i)] = {c + kNeighbourColumnStep[Parity][i],
                                   r + kNeighbourRowStep[Parity][i]};
  }
  return all;
}

// All six at once; with the parity known the steps fold into constants.
inline std::array<CellPosition, 6> neighboursOf(int c, int r) {
  return (c & 1) ? neighboursWithParity<1>(c, r) : neighboursWithParity<0>(c, r);
}
