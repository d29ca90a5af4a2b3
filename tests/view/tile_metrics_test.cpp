#include <gtest/gtest.h>

#include "view/view_state.h"

namespace {

struct MetricsCase {
  int32_t small;
  TileMetrics expected;
  int32_t pitch;
  int32_t halfHeight;
};

// Any non-zero setting means small tiles, not just 1.
const MetricsCase kMetricsCases[] = {
    {0, {24, 24, 14, 5}, 19, 12},
    {1, {12, 12, 6, 3}, 9, 6},
    {-1, {12, 12, 6, 3}, 9, 6},
    {2, {12, 12, 6, 3}, 9, 6},
};

TEST(TileMetrics, FollowTheSmallSetting) {
  for (const MetricsCase& c : kMetricsCases) {
    SCOPED_TRACE(c.small);
    const TileMetrics metrics = tileMetricsFor(c.small);
    EXPECT_EQ(metrics.tileWidth, c.expected.tileWidth);
    EXPECT_EQ(metrics.tileHeight, c.expected.tileHeight);
    EXPECT_EQ(metrics.bodyWidth, c.expected.bodyWidth);
    EXPECT_EQ(metrics.slantWidth, c.expected.slantWidth);
    EXPECT_EQ(metrics.pitch(), c.pitch);
    EXPECT_EQ(metrics.halfHeight(), c.halfHeight);
  }
}

TEST(TileMetrics, SetterReplacesTheCurrentSet) {
  setTileMetricsFor(1);
  EXPECT_EQ(tileMetrics.tileWidth, 12);
  EXPECT_EQ(tileMetrics.slantWidth, 3);
  setTileMetricsFor(0);
  EXPECT_EQ(tileMetrics.tileWidth, 24);
  EXPECT_EQ(tileMetrics.slantWidth, 5);
}

}  // namespace
