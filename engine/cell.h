#pragma once

#include <cstdint>

// One cell of the field; four bytes in this order.
struct Cell {
  uint8_t flagged = 0;
  uint8_t revealed = 0;
  char content = '0';  // '0'..'6' neighbouring mines, '9' a mine
  uint8_t questioned = 0;

  bool isFlagged() const { return flagged != 0; }
  bool isRevealed() const { return revealed != 0; }
  bool isQuestioned() const { return questioned != 0; }
  bool holdsMine() const { return content == '9'; }

  // Each change is drawn at once, so the screen follows the model cell by cell.
  void open(int column, int row);
  void toggleFlag(int column, int row);
  void toggleQuestion(int column, int row);
};

static_assert(sizeof(Cell) == 4, "a cell is four one-byte fields");

constexpr char kMineContent = '9';
