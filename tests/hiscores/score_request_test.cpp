#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "hiscores/hiscore_table.h"
#include "hiscores/score_request.h"

namespace {

const std::string kDefaultV =
    "Anonymous_500_Anonymous_450_Anonymous_400_Anonymous_350_Anonymous_300_Anonymous_250_"
    "Anonymous_200_Anonymous_150_Anonymous_100_Anonymous_50_";

const std::string kHeaders =
    " HTTP/1.1\r\n"
    "Accept: */*\r\n"
    "Accept-Language: en-gb\r\n"
    "Accept-Encoding: gzip, deflate\r\n"
    "User-Agent: Mozilla/4.0 (compatible; TessaraHiscores)\r\n"
    "Connection: Keep-Alive\r\n"
    "Host: xxx.xxx.xxx\r\n"
    "\r\n";

class DefaultTableRequest : public ::testing::Test {
 protected:
  DefaultTableRequest() { table.fillDefaultTable(); }
  HiscoreTable table{10};
};

TEST_F(DefaultTableRequest, DirectRequestIsByteForByteTheKnownOne) {
  const ScoreServer server{false, "192.168.0.1", 8080, "/examples/servlet/TessaraHST"};
  const std::string expected =
      "GET /examples/servlet/TessaraHST?Op=SetScores&V=Anonymous_500_Anonymous_450_"
      "Anonymous_400_Anonymous_350_Anonymous_300_Anonymous_250_Anonymous_200_Anonymous_150_"
      "Anonymous_100_Anonymous_50_ HTTP/1.1\r\n"
      "Accept: */*\r\n"
      "Accept-Language: en-gb\r\n"
      "Accept-Encoding: gzip, deflate\r\n"
      "User-Agent: Mozilla/4.0 (compatible; TessaraHiscores)\r\n"
      "Connection: Keep-Alive\r\n"
      "Host: xxx.xxx.xxx\r\n"
      "\r\n";
  EXPECT_EQ(buildScoreRequest(table, server), expected);
}

struct HeadCase {
  const char* label;
  ScoreServer server;
  std::string head;
};

void PrintTo(const HeadCase& c, std::ostream* out) { *out << c.label; }

class RequestHead : public DefaultTableRequest, public ::testing::WithParamInterface<HeadCase> {};

TEST_P(RequestHead, NamesTheServerInTheRequestLine) {
  const HeadCase& c = GetParam();
  EXPECT_EQ(buildScoreRequest(table, c.server), c.head + "?Op=SetScores&V=" + kDefaultV + kHeaders);
}

INSTANTIATE_TEST_SUITE_P(
    Routes, RequestHead,
    ::testing::Values(
        HeadCase{"direct on port 80", {false, "scores.example", 80, "/hst"}, "GET /hst"},
        HeadCase{"direct with an empty path", {false, "scores.example", 80, ""}, "GET "},
        HeadCase{"proxy to port 80",
                 {true, "scores.example", 80, "/servlet/TessaraHST"},
                 "GET http://scores.example/servlet/TessaraHST"},
        HeadCase{"proxy to port 8080",
                 {true, "scores.example", 8080, "/servlet/TessaraHST"},
                 "GET http://scores.example:8080/servlet/TessaraHST"},
        HeadCase{"proxy port printed signed", {true, "h", -1, "/p"}, "GET http://h:-1/p"}));

struct RowCase {
  const char* label;
  std::string name;
  uint32_t score;
  std::string sent;
};

void PrintTo(const RowCase& c, std::ostream* out) { *out << c.label; }

class ScoreRow : public ::testing::TestWithParam<RowCase> {};

TEST_P(ScoreRow, AppendsNameAndSignedScore) {
  const RowCase& c = GetParam();
  HiscoreEntry row;
  row.setName(c.name);
  row.score = c.score;
  std::string request = "V=";
  appendScoreRow(request, row);
  EXPECT_EQ(request, "V=" + c.sent);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ScoreRow,
    ::testing::Values(
        RowCase{"spaces become colons", "Jo Ann  B", 1234, "Jo:Ann::B_1234"},
        RowCase{"query characters go unchanged", "a_b&c%d#e=f?g+h:i", 7,
                "a_b&c%d#e=f?g+h:i_7"},
        RowCase{"empty name", "", 50, "_50"},
        RowCase{"control bytes are percent-encoded", "a\r\nb\t\x01\x1F\x7F", 1,
                "a%0D%0Ab%09%01%1F%7F_1"},
        RowCase{"high bytes go unchanged", "Ren\xE9\x80\xFF", 1, "Ren\xE9\x80\xFF_1"},
        RowCase{"largest signed score", "x", 2147483647u, "x_2147483647"},
        RowCase{"2^31 prints negative", "x", 2147483648u, "x_-2147483648"},
        RowCase{"largest score prints -1", "x", 4294967295u, "x_-1"}));

TEST(ScoreRequest, ControlBytesCannotEndTheRequestLine) {
  HiscoreTable table(10);
  table.fillDefaultTable();
  table.entries[4].setName("evil\r\nHost: elsewhere");
  const std::optional<std::string> request =
      buildScoreRequest(table, {false, "h", 80, "/p"});
  ASSERT_TRUE(request);
  EXPECT_EQ(request->find("\r\n"), request->find(" HTTP/1.1\r\n") + 9);
  EXPECT_NE(request->find("evil%0D%0AHost::elsewhere_300_"), std::string::npos);
}

TEST_F(DefaultTableRequest, RefusesARequestThatDoesNotFitTheBuffer) {
  const size_t fixedPart = buildScoreRequest(table, {false, "h", 80, ""})->size();
  const std::string fits(kRequestBufferBytes - 1 - fixedPart, '/');
  const std::optional<std::string> longest = buildScoreRequest(table, {false, "h", 80, fits});
  ASSERT_TRUE(longest);
  EXPECT_EQ(longest->size(), kRequestBufferBytes - 1);
  EXPECT_FALSE(buildScoreRequest(table, {false, "h", 80, fits + "/"}));

  const std::string address(kRequestBufferBytes - 1 - fixedPart - 7, 'a');  // after "http://"
  EXPECT_TRUE(buildScoreRequest(table, {true, address, 80, ""}));
  EXPECT_FALSE(buildScoreRequest(table, {true, address + "a", 80, ""}));
}

}  // namespace
