#include <gtest/gtest.h>

#include "engine/board.h"
#include "engine/random.h"

TEST(Random, Seed0) {
  seedRandom(0);
  EXPECT_EQ(nextRandom(), 38);
}
