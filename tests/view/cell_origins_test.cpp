#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include "hexagon_outline.h"
#include "view/cell_origins.h"

namespace {

// Not square, so that a stride taken from the wrong dimension shows.
constexpr int kColumns = 3;
constexpr int kRows = 4;

PixelPoint markOf(int column, int row) { return {100 * column, row}; }

class CellOriginTableTest : public testing::Test {
 protected:
  void SetUp() override { table.create(kColumns, kRows); }

  void fill() {
    for (int c = 1; c <= kColumns; ++c) {
      for (int r = 1; r <= kRows; ++r) table.store(c, r, markOf(c, r));
    }
  }

  CellOriginTable table;
};

TEST(CellOriginTableLifetime, AbsentUntilCreated) {
  CellOriginTable table;
  EXPECT_FALSE(table.present());
  table.store(1, 1, {5, 5});
  EXPECT_EQ(table.entry(1, 1), std::nullopt);
}

TEST_F(CellOriginTableTest, StartsPresentWithEveryEntryUnset) {
  EXPECT_TRUE(table.present());
  for (int c = 1; c <= kColumns; ++c) {
    for (int r = 1; r <= kRows; ++r) EXPECT_EQ(table.entry(c, r), std::nullopt);
  }
}

TEST_F(CellOriginTableTest, EveryCellKeepsItsOwnEntry) {
  fill();
  for (int c = 1; c <= kColumns; ++c) {
    for (int r = 1; r <= kRows; ++r) {
      EXPECT_EQ(table.entry(c, r), markOf(c, r)) << "(" << c << ", " << r << ")";
    }
  }
}

// Cells of the border ring and beyond would land on a neighbouring column's entries, or
// outside the storage, in a flat array.
TEST_F(CellOriginTableTest, CellsOutsideTheBoardHaveNoEntry) {
  const std::pair<int, int> outside[] = {
      {0, 1},         {1, 0},  {0, 0},  {kColumns + 1, 1},         {1, kRows + 1}, {2, 0},
      {2, kRows + 1}, {-1, 2}, {2, -1}, {kColumns + 1, kRows + 1}, {1000, 1000},
  };
  for (const auto& [c, r] : outside) table.store(c, r, {-7, -7});
  for (int c = 1; c <= kColumns; ++c) {
    for (int r = 1; r <= kRows; ++r) EXPECT_EQ(table.entry(c, r), std::nullopt);
  }
  fill();
  for (const auto& [c, r] : outside) {
    EXPECT_EQ(table.entry(c, r), std::nullopt) << "(" << c << ", " << r << ")";
  }
}

TEST_F(CellOriginTableTest, ReleaseLeavesItAbsent) {
  fill();
  table.release();
  EXPECT_FALSE(table.present());
  EXPECT_EQ(table.entry(1, 1), std::nullopt);
  table.store(1, 1, {5, 5});
  EXPECT_EQ(table.entry(1, 1), std::nullopt);
}

// Nothing of the previous game survives into the next one, whatever its size.
TEST_F(CellOriginTableTest, CreateStartsAfresh) {
  fill();
  table.release();
  table.create(kRows, kColumns);
  EXPECT_TRUE(table.present());
  for (int c = 1; c <= kRows; ++c) {
    for (int r = 1; r <= kColumns; ++r) EXPECT_EQ(table.entry(c, r), std::nullopt);
  }
  EXPECT_EQ(table.entry(1, kRows), std::nullopt);
  table.store(kRows, kColumns, {5, 5});
  EXPECT_EQ(table.entry(kRows, kColumns), (PixelPoint{5, 5}));

  fill();
  table.create(kColumns, kRows);
  EXPECT_EQ(table.entry(1, 1), std::nullopt);
}

}  // namespace
