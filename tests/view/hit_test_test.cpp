#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "engine/engine_state.h"
#include "hexagon_outline.h"
#include "view/cell_placement.h"
#include "view/hit_test.h"
#include "view/view_state.h"

namespace {

struct HitCase {
  const TileMetrics* metrics;
  int32_t x;
  int32_t y;
  std::pair<int, int> expected;  // (column, row); a 0 in either is no cell
};

// A 10 by 10 board; m is the position within the strip, k within the row band.
const HitCase kHitCases[] = {
    {&kBigTileMetrics, 10, 12, {1, 1}},
    {&kBigTileMetrics, 10, 11, {1, 0}},  // above the lowered first hexagon of column 1
    {&kBigTileMetrics, 25, 0, {2, 1}},
    {&kBigTileMetrics, 19, 3, {2, 1}},   // slant left of an even column
    {&kBigTileMetrics, 38, 3, {0, 0}},   // upper slant left of an odd column, neighbour's part
    {&kBigTileMetrics, 40, 2, {3, 0}},   // upper slant, moved to the row above row 1
    {&kBigTileMetrics, 40, 20, {3, 1}},  // lower slant, the odd column's part
    {&kBigTileMetrics, 40, 19, {2, 1}},  // lower slant, passed to the even neighbour
    {&kBigTileMetrics, 0, 12, {0, 0}},
    {&kBigTileMetrics, 4, 13, {0, 1}},
    {&kBigTileMetrics, 194, 38, {10, 2}},  // slant right of the last column
    {&kBigTileMetrics, 195, 30, {0, 1}},   // body strip of column 11
    {&kBigTileMetrics, -5, 40, {0, 2}},
    {&kSmallTileMetrics, 10, 12, {2, 2}},
    {&kSmallTileMetrics, 19, 3, {0, 0}},
    {&kSmallTileMetrics, 40, 20, {5, 2}},
    // The edges of the slant split left of odd column 3, in its second row band.
    {&kBigTileMetrics, 40, 36, {0, 0}},  // half height belongs to the upper half
    {&kBigTileMetrics, 40, 28, {0, 0}},  // k = 2m
    {&kBigTileMetrics, 40, 27, {3, 1}},  // k = 2m - 1
    {&kBigTileMetrics, 40, 44, {3, 2}},  // k = h - 2m
    {&kBigTileMetrics, 40, 43, {2, 2}},  // k = h - 2m - 1
    {&kBigTileMetrics, 43, 35, {3, 1}},  // first body pixel
    {&kBigTileMetrics, 42, 35, {0, 0}},  // last slant pixel
};

TEST(HitTest, FindsTheCellsOfTheWorkedPoints) {
  for (const HitCase& c : kHitCases) {
    SCOPED_TRACE(testing::Message()
                 << c.metrics->tileWidth << " px, (" << c.x << ", " << c.y << ")");
    EXPECT_EQ(asPair(hitTestOn(*c.metrics, 10, 10, c.x, c.y)), c.expected);
  }
}

bool noCell(CellPosition hit) { return hit.column == 0 || hit.row == 0; }

class HitTestOnTileSet : public testing::TestWithParam<TileSet> {};

// Only the body strips are compared with the pictures: in the slanted strips the rule gives
// whole pieces to one column (all of the strip left of an even column, for instance), which
// the drawn outline does not. The outline's own pixels are left out because the rule ignores
// the one-pixel offset of the placement, which moves them into the next strip or band.
TEST_P(HitTestOnTileSet, InnerBodyPixelsHitTheirOwnCell) {
  const TileSet& set = GetParam();
  const TileMetrics& m = set.metrics;
  for (int c = 1; c <= 10; ++c) {
    for (int r = 1; r <= 10; ++r) {
      const PixelPoint origin = cellOriginWith(m, c, r);
      int checked = 0;
      for (int ty = 0; ty < m.tileHeight; ++ty) {
        for (int tx = 0; tx < m.tileWidth; ++tx) {
          const int32_t x = origin.x + tx;
          const int32_t y = origin.y + ty;
          if (!set.innerPixel(tx, ty) || x % m.pitch() < m.slantWidth) continue;
          ++checked;
          const CellPosition hit = hitTestOn(m, 10, 10, x, y);
          if (hit.column != c || hit.row != r) {
            ADD_FAILURE() << "cell (" << c << ", " << r << ") at (" << x << ", " << y << ") hits ("
                          << hit.column << ", " << hit.row << ")";
          }
        }
      }
      // Nearly all of the flat-edged middle of the hexagon is checked.
      EXPECT_GE(checked, (m.bodyWidth - 1) * (m.tileHeight - 2));
    }
  }
}

// Positions arrive as signed 16-bit values widened to 32 bits.
TEST_P(HitTestOnTileSet, NegativePositionsHitNothing) {
  const TileMetrics& m = GetParam().metrics;
  const int32_t negatives[] = {-1, -2, -3, -5, -6, -12, -13, -19, -24, -100, -1000, -32768};
  for (int32_t n : negatives) {
    for (int32_t p = 0; p < 300; ++p) {
      EXPECT_TRUE(noCell(hitTestOn(m, 10, 10, n, p))) << "(" << n << ", " << p << ")";
      EXPECT_TRUE(noCell(hitTestOn(m, 10, 10, p, n))) << "(" << p << ", " << n << ")";
      EXPECT_TRUE(noCell(hitTestOn(m, 10, 10, n, n - p))) << "(" << n << ", " << n - p << ")";
    }
  }
}

// Right of the field's width (the strip right of the last column still counts) and below
// the bottom edge of the lowered columns' last hexagons nothing is hit, whatever the parity
// of the last column.
TEST_P(HitTestOnTileSet, PointsBeyondTheFieldHitNothing) {
  const TileMetrics& m = GetParam().metrics;
  for (const auto& [columns, rows] : {std::pair{10, 10}, std::pair{5, 7}, std::pair{8, 5}}) {
    SCOPED_TRACE(testing::Message() << columns << " x " << rows);
    const int32_t width = m.pitch() * columns + m.slantWidth;
    const int32_t bottom = m.tileHeight * rows + m.halfHeight();
    for (int32_t x = width; x < width + 3 * m.tileWidth; ++x) {
      for (int32_t y = 0; y < bottom + m.tileHeight; ++y) {
        ASSERT_TRUE(noCell(hitTestOn(m, columns, rows, x, y))) << "(" << x << ", " << y << ")";
      }
    }
    for (int32_t y = bottom + 1; y < bottom + 3 * m.tileHeight; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        ASSERT_TRUE(noCell(hitTestOn(m, columns, rows, x, y))) << "(" << x << ", " << y << ")";
      }
    }
    // The last cell itself is still there.
    const PixelPoint last = cellOriginWith(m, columns, rows);
    EXPECT_EQ(
        asPair(hitTestOn(m, columns, rows, last.x + m.tileWidth / 2, last.y + m.halfHeight())),
        (std::pair{columns, rows}));
  }
}

INSTANTIATE_TEST_SUITE_P(TileSets, HitTestOnTileSet, testing::Values(bigTiles(), smallTiles()),
                         [](const auto& info) { return std::string(info.param.name); });

// The program-wide form reads the current tile set and the board's size.
class ProgramWideHitTest : public testing::Test {
 protected:
  void SetUp() override {
    savedColumns_ = board.columns;
    savedRows_ = board.rows;
    savedMetrics_ = tileMetrics;
    board.columns = 10;
    board.rows = 10;
  }
  void TearDown() override {
    board.columns = savedColumns_;
    board.rows = savedRows_;
    tileMetrics = savedMetrics_;
  }

 private:
  uint16_t savedColumns_ = 0;
  uint16_t savedRows_ = 0;
  TileMetrics savedMetrics_{};
};

TEST_F(ProgramWideHitTest, FollowsTheTileSet) {
  setTileMetricsFor(0);
  EXPECT_EQ(asPair(hitTest(10, 12)), (std::pair{1, 1}));
  setTileMetricsFor(1);
  EXPECT_EQ(asPair(hitTest(10, 12)), (std::pair{2, 2}));
}

TEST_F(ProgramWideHitTest, FollowsTheBoardSize) {
  setTileMetricsFor(0);
  EXPECT_EQ(asPair(hitTest(25, 30)), (std::pair{2, 2}));
  board.columns = 1;
  EXPECT_EQ(asPair(hitTest(25, 30)), (std::pair{0, 2}));
  board.columns = 10;
  board.rows = 1;
  EXPECT_EQ(asPair(hitTest(25, 30)), (std::pair{2, 0}));
}

}  // namespace
