#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "hiscores/scoreboard_address.h"

namespace {

TEST(ScoreboardAddress, PortAppearsUnlessItIs80) {
  struct Case {
    int32_t port;
    std::string address;
  };
  const Case cases[] = {
      {80, "http://scores.example/servlet/TessaraHST?Op=GetHTML"},
      {8080, "http://scores.example:8080/servlet/TessaraHST?Op=GetHTML"},
      {0, "http://scores.example:0/servlet/TessaraHST?Op=GetHTML"},
      {-1, "http://scores.example:-1/servlet/TessaraHST?Op=GetHTML"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(scoreboardAddress("scores.example", c.port, "/servlet/TessaraHST"), c.address)
        << c.port;
  }
}

TEST(ScoreboardAddress, NothingWhenTheBufferWouldOverflow) {
  const size_t fixed = std::string("http://h?Op=GetHTML").size();
  const std::string path(kScoreboardAddressBytes - 1 - fixed, '/');
  const std::optional<std::string> longest = scoreboardAddress("h", 80, path);
  ASSERT_TRUE(longest);
  EXPECT_EQ(longest->size(), kScoreboardAddressBytes - 1);
  EXPECT_FALSE(scoreboardAddress("h", 80, path + "/"));
  EXPECT_FALSE(scoreboardAddress("h", 8080, path.substr(4)));  // ":8080" takes five more
  EXPECT_TRUE(scoreboardAddress("h", 8080, path.substr(5)));
}

}  // namespace
