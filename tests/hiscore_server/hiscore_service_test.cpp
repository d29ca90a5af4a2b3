#include "hiscore_service.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "hiscores/hiscore_table.h"
#include "hiscores/score_request.h"
#include "raw_client.h"
#include "scratch_folder.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

const std::string kPath = "/examples/servlet/TessaraHST";
const std::string kGameHeaders =
    " HTTP/1.1\r\nAccept: */*\r\nAccept-Language: en-gb\r\nAccept-Encoding: gzip, deflate\r\n"
    "User-Agent: Mozilla/4.0 (compatible; TessaraHiscores)\r\nConnection: Keep-Alive\r\n"
    "Host: xxx.xxx.xxx\r\n\r\n";

// The server on a free loopback port, in this process, over a database in a scratch folder.
class RunningServer {
 public:
  RunningServer() {
    std::string error;
    store_ = ScoreStore::open("scores.sqlite", error);
    if (!store_) throw std::runtime_error(error);
    service_ = std::make_unique<HiscoreService>(*store_, kPath);
    port_ = service_->bind("127.0.0.1", 0).value_or(0);
    thread_ = std::thread([this] { service_->run(); });
  }
  ~RunningServer() {
    service_->stop();
    thread_.join();
  }

  int port() const { return port_; }
  ScoreStore& store() { return *store_; }

 private:
  std::unique_ptr<ScoreStore> store_;
  std::unique_ptr<HiscoreService> service_;
  int port_ = 0;
  std::thread thread_;
};

using Rows = std::vector<std::pair<std::string, uint32_t>>;

// Names that the library alone would cut at '#' or decode at '%'.
const Rows kAwkwardRows = {
    {"Jo Ann", 900}, {"#1 & only", 800},     {"100%", 700},    {"%41%", 600}, {"mike_1987", 500},
    {"a#b#c", 400},  {"<b>x</b>&amp;", 300}, {"Ren\xE9", 200}, {"", 100},     {"end_", 1}};

std::string gameRequest(const HiscoreTable& table, bool proxy) {
  return buildScoreRequest(table, ScoreServer{proxy, "xxx.xxx.xxx", 8080, kPath}).value();
}

std::string gameRequest(const Rows& rows, bool proxy) {
  HiscoreTable table(kHiscoreRows);
  for (size_t index = 0; index < rows.size(); ++index) {
    table.entries[index].setName(rows[index].first);
    table.entries[index].score = rows[index].second;
  }
  return gameRequest(table, proxy);
}

std::string scoreboard(int port) {
  return roundTrip(port, "GET " + kPath + "?Op=GetHTML HTTP/1.1\r\nHost: localhost\r\n\r\n");
}

class HiscoreServiceTest : public ::testing::Test {
 protected:
  ScratchFolder folder;
};

struct FormCase {
  const char* label;
  bool proxy;
};

void PrintTo(const FormCase& c, std::ostream* out) { *out << c.label; }

class GameSubmission : public HiscoreServiceTest, public ::testing::WithParamInterface<FormCase> {};

TEST_P(GameSubmission, StoresTheTableExactlyAsTheGameSentIt) {
  RunningServer server;
  const std::string reply = roundTrip(server.port(), gameRequest(kAwkwardRows, GetParam().proxy));
  EXPECT_EQ(statusOf(reply), 200) << reply;
  EXPECT_EQ(bodyOf(reply), "OK\n");
  EXPECT_EQ(headerOf(reply, "Connection"), "close");

  const std::optional<std::vector<StoredScore>> rows = server.store().best(20);
  ASSERT_TRUE(rows);
  Rows stored;
  for (const StoredScore& row : *rows) stored.emplace_back(row.name, row.score);
  EXPECT_EQ(stored, (Rows{{"Jo:Ann", 900},
                          {"#1:&:only", 800},
                          {"100%", 700},
                          {"%41%", 600},
                          {"mike_1987", 500},
                          {"a#b#c", 400},
                          {"<b>x</b>&amp;", 300},
                          {"Ren\xE9", 200},
                          {"", 100},
                          {"end_", 1}}));
}

TEST_P(GameSubmission, ResendingTheTableStoresNothingNew) {
  RunningServer server;
  const std::string request = gameRequest(kAwkwardRows, GetParam().proxy);
  for (int round = 0; round < 3; ++round)
    EXPECT_EQ(statusOf(roundTrip(server.port(), request)), 200);
  EXPECT_EQ(server.store().rowCount(), 10u);
}

INSTANTIATE_TEST_SUITE_P(Forms, GameSubmission,
                         ::testing::Values(FormCase{"origin form", false},
                                           FormCase{"absolute form", true}));

TEST_F(HiscoreServiceTest, ARequestLineArrivingInPiecesIsReadWhole) {
  RunningServer server;
  const std::string request = gameRequest(kAwkwardRows, false);
  const size_t hash = request.find('#');
  const std::string reply = roundTrip(
      server.port(), {request.substr(0, hash), request.substr(hash, 7), request.substr(hash + 7)});
  EXPECT_EQ(statusOf(reply), 200) << reply;
  EXPECT_EQ(server.store().rowCount(), 10u);
}

TEST_F(HiscoreServiceTest, TheNextTableAddsOnlyItsNewRows) {
  RunningServer server;
  HiscoreTable table(kHiscoreRows);
  table.fillDefaultTable();
  roundTrip(server.port(), gameRequest(table, false));
  table.insert(320, "Jo Ann");
  EXPECT_EQ(statusOf(roundTrip(server.port(), gameRequest(table, false))), 200);
  EXPECT_EQ(server.store().rowCount(), 11u);
}

struct RefusedCase {
  const char* label;
  std::string request;
  int status;
};

void PrintTo(const RefusedCase& c, std::ostream* out) { *out << c.label; }

class RefusedRequests : public HiscoreServiceTest,
                        public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedRequests, GetAShortErrorStoreNothingAndLeaveTheServerServing) {
  RunningServer server;
  const std::string reply = roundTrip(server.port(), GetParam().request);
  EXPECT_EQ(statusOf(reply), GetParam().status) << reply.substr(0, 200);
  EXPECT_FALSE(bodyOf(reply).empty());
  EXPECT_LT(bodyOf(reply).size(), 100u);
  EXPECT_EQ(server.store().rowCount(), 0u);

  HiscoreTable table(kHiscoreRows);
  table.fillDefaultTable();
  EXPECT_EQ(statusOf(roundTrip(server.port(), gameRequest(table, false))), 200);
}

const std::string kDefaultValue =
    "Anonymous_500_Anonymous_450_Anonymous_400_Anonymous_350_Anonymous_300_Anonymous_250_"
    "Anonymous_200_Anonymous_150_Anonymous_100_Anonymous_50_";

INSTANTIATE_TEST_SUITE_P(
    Requests, RefusedRequests,
    ::testing::Values(
        RefusedCase{"nine rows",
                    "GET " + kPath + "?Op=SetScores&V=Anonymous_500_Anonymous_450_" + kGameHeaders,
                    400},
        RefusedCase{"value cut short",
                    "GET " + kPath + "?Op=SetScores&V=" +
                        kDefaultValue.substr(0, kDefaultValue.size() - 1) + kGameHeaders,
                    400},
        RefusedCase{"other operation",
                    "GET " + kPath + "?Op=DeleteScores&V=" + kDefaultValue + kGameHeaders, 400},
        RefusedCase{"no operation", "GET " + kPath + kGameHeaders, 400},
        RefusedCase{"other path",
                    "GET /examples/servlet/Other?Op=SetScores&V=" + kDefaultValue + kGameHeaders,
                    404},
        RefusedCase{
            "path in another case",
            "GET /examples/servlet/tessarahst?Op=SetScores&V=" + kDefaultValue + kGameHeaders, 404},
        RefusedCase{"root", "GET /" + kGameHeaders, 404},
        RefusedCase{"post",
                    "POST " + kPath + "?Op=SetScores&V=" + kDefaultValue +
                        " HTTP/1.1\r\nHost: x\r\nContent-Length: 5\r\n\r\nhello",
                    404},
        RefusedCase{"100 KB target",
                    "GET " + kPath + "?Op=SetScores&V=" + std::string(100 * 1024, 'a') + "_1_" +
                        kGameHeaders,
                    414},
        RefusedCase{"100 KB header",
                    "GET " + kPath + "?Op=GetHTML HTTP/1.1\r\nX-Filler: " +
                        std::string(100 * 1024, 'x') + "\r\n\r\n",
                    400},
        RefusedCase{"not HTTP", "HELLO THERE\r\n\r\n", 400},
        RefusedCase{"asterisk target", "GET * HTTP/1.1\r\nHost: x\r\n\r\n", 404}));

TEST_F(HiscoreServiceTest, ScoreboardShowsNamesAsEscapedText) {
  RunningServer server;
  roundTrip(server.port(), gameRequest(kAwkwardRows, false));
  for (const std::string& target :
       {kPath + "?Op=GetHTML", "http://xxx.xxx.xxx:8080" + kPath + "?Op=GetHTML"}) {
    const std::string reply = roundTrip(
        server.port(), "GET " + target + " HTTP/1.1\r\nHost: x\r\nAccept-Encoding: gzip\r\n\r\n");
    EXPECT_EQ(statusOf(reply), 200);
    EXPECT_EQ(headerOf(reply, "Content-Type"), "text/html; charset=utf-8");
    const std::string page = bodyOf(reply);
    EXPECT_THAT(page, HasSubstr("&lt;b&gt;x&lt;/b&gt;&amp;amp;"));
    EXPECT_THAT(page, Not(HasSubstr("<b>x</b>")));
    EXPECT_THAT(page, HasSubstr(">Jo Ann<"));
    EXPECT_THAT(page, HasSubstr(">Ren\u00E9<"));
    EXPECT_THAT(page, HasSubstr(">a#b#c<"));
  }
}

// While another program holds the database's write lock (until the store gives up waiting),
// the rows cannot be stored, so the answer must not be 200.
TEST_F(HiscoreServiceTest, NoOkWhileTheRowsCannotBeStored) {
  RunningServer server;
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open("scores.sqlite", &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  const std::string request = gameRequest(kAwkwardRows, false);
  EXPECT_EQ(statusOf(roundTrip(server.port(), request)), 503);
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);

  EXPECT_EQ(server.store().rowCount(), 0u);
  EXPECT_EQ(statusOf(roundTrip(server.port(), request)), 200);
  EXPECT_EQ(server.store().rowCount(), 10u);
}

TEST_F(HiscoreServiceTest, ScoresSurviveARestartOnTheSameFile) {
  {
    RunningServer server;
    ASSERT_EQ(statusOf(roundTrip(server.port(), gameRequest(kAwkwardRows, true))), 200);
  }
  RunningServer restarted;
  EXPECT_EQ(restarted.store().rowCount(), 10u);
  EXPECT_THAT(bodyOf(scoreboard(restarted.port())), HasSubstr(">#1 &amp; only<"));
  EXPECT_EQ(statusOf(roundTrip(restarted.port(), gameRequest(kAwkwardRows, false))), 200);
  EXPECT_EQ(restarted.store().rowCount(), 10u);
}

}  // namespace
