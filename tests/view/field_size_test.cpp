#include <gtest/gtest.h>

#include "view/field_size.h"

namespace {

struct FieldCase {
  const TileMetrics* metrics;
  int32_t columns;
  int32_t rows;
  int32_t width;
  int32_t height;
};

const FieldCase kFieldCases[] = {
    {&kBigTileMetrics, 6, 5, 119, 168},        {&kBigTileMetrics, 5, 5, 100, 168},
    {&kSmallTileMetrics, 6, 5, 57, 84},        {&kBigTileMetrics, 30, 16, 575, 432},
    {&kSmallTileMetrics, 131, 95, 1182, 1164},
};

TEST(FieldSize, FitsTheColumnsAndATileMoreThanTheRows) {
  for (const FieldCase& c : kFieldCases) {
    SCOPED_TRACE(testing::Message()
                 << c.metrics->tileWidth << " px, " << c.columns << " x " << c.rows);
    const FieldSize size = fieldSize(*c.metrics, c.columns, c.rows);
    EXPECT_EQ(size.width, c.width);
    EXPECT_EQ(size.height, c.height);
    // Every column's pitch and the last column's right slant.
    EXPECT_EQ(size.width, c.metrics->pitch() * c.columns + c.metrics->slantWidth);
  }
}

}  // namespace
