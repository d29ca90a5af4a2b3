#include <gtest/gtest.h>

#include <vector>

#include "engine/mine_seed.h"
#include "engine/random.h"

TEST(Random, FirstResultsOfKnownSeeds) {
  struct Case {
    uint32_t seed;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {0, {38, 7719, 21238, 2437, 8855, 11797}},
      {1, {41, 18467, 6334, 26500, 19169, 15724}},
  };
  for (const Case& c : cases) {
    seedRandom(c.seed);
    std::vector<int> got;
    for (size_t i = 0; i < c.expected.size(); ++i) got.push_back(nextRandom());
    EXPECT_EQ(got, c.expected) << "seed " << c.seed;
  }
}

TEST(Random, StaysWithinFifteenBitsOverAFullStateCycleSample) {
  seedRandom(0xFFFFFFFFu);
  for (int i = 0; i < 100000; ++i) {
    const int value = nextRandom();
    ASSERT_GE(value, 0);
    ASSERT_LE(value, 32767);
  }
}

TEST(MineSeed, IsTheSignedRemainderOfTheCalendarSeconds) {
  struct Case {
    int64_t seconds;
    uint32_t seed;
  };
  const Case cases[] = {
      {12345, 12345},
      {31683, 0},
      {31683 + 12345, 12345},
      {1796000000, static_cast<uint32_t>(1796000000 % 31683)},
      // Past 2038 the seconds no longer fit a signed 32-bit number and wrap negative.
      {int64_t{1} << 31, static_cast<uint32_t>(INT32_MIN % 31683)},
  };
  for (const Case& c : cases) EXPECT_EQ(mineSeed(c.seconds), c.seed) << c.seconds;
}
