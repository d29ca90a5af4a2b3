#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "hexagon_outline.h"
#include "view/cell_placement.h"

namespace {

struct PlacementCase {
  const TileMetrics* metrics;
  int column;
  int row;
  PixelPoint origin;
};

const PlacementCase kPlacementCases[] = {
    {&kBigTileMetrics, 1, 1, {1, 13}},    {&kBigTileMetrics, 2, 1, {20, 1}},
    {&kBigTileMetrics, 3, 2, {39, 37}},   {&kBigTileMetrics, 10, 10, {172, 217}},
    {&kSmallTileMetrics, 1, 1, {1, 7}},   {&kSmallTileMetrics, 2, 1, {10, 1}},
    {&kSmallTileMetrics, 3, 2, {19, 19}}, {&kSmallTileMetrics, 10, 10, {82, 109}},
};

TEST(CellOrigin, PlacesOddColumnsHalfATileLower) {
  for (const PlacementCase& c : kPlacementCases) {
    SCOPED_TRACE(testing::Message()
                 << c.metrics->tileWidth << " px, cell (" << c.column << ", " << c.row << ")");
    EXPECT_EQ(cellOriginWith(*c.metrics, c.column, c.row), c.origin);
  }
}

TEST(CellOrigin, ProgramWideFormFollowsTheCurrentTileSet) {
  setTileMetricsFor(1);
  EXPECT_EQ(cellOrigin(1, 1), (PixelPoint{1, 7}));
  setTileMetricsFor(0);
  EXPECT_EQ(cellOrigin(1, 1), (PixelPoint{1, 13}));
}

// Laying every cell's hexagon picture at its place must fill the field without overlap and,
// away from the zig-zag border, without gaps; otherwise the masked drawing would leave holes
// or paint over a neighbour.
class HexagonTiling : public testing::TestWithParam<TileSet> {};

TEST_P(HexagonTiling, HexagonsTessellate) {
  const TileSet& set = GetParam();
  const TileMetrics& m = set.metrics;
  for (const auto& [columns, rows] : {std::pair{6, 5}, std::pair{7, 4}}) {
    SCOPED_TRACE(testing::Message() << columns << " x " << rows);
    const int width = m.pitch() * columns + m.tileWidth;
    const int height = m.tileHeight * (rows + 2);
    std::vector<int> cover(static_cast<size_t>(width) * height, 0);
    for (int c = 1; c <= columns; ++c) {
      for (int r = 1; r <= rows; ++r) {
        const PixelPoint origin = cellOriginWith(m, c, r);
        for (int ty = 0; ty < m.tileHeight; ++ty) {
          for (int tx = 0; tx < m.tileWidth; ++tx) {
            if (set.inside(tx, ty)) ++cover[(origin.y + ty) * width + origin.x + tx];
          }
        }
      }
    }

    int overlaps = 0;
    for (int count : cover) overlaps += count > 1;
    EXPECT_EQ(overlaps, 0);

    // From column 2's tile to the end of the last column's flat edge, and from the top of
    // the even columns' second hexagon to the bottom of their last one.
    int gaps = 0;
    for (int y = m.tileHeight + 1; y <= m.tileHeight * rows; ++y) {
      for (int x = m.pitch() + 1; x <= m.pitch() * columns; ++x) gaps += cover[y * width + x] == 0;
    }
    EXPECT_EQ(gaps, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(TileSets, HexagonTiling, testing::Values(bigTiles(), smallTiles()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
