#include "hiscore_service.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "hiscores/hiscore_table.h"
#include "hiscores/score_request.h"
#include "raw_client.h"
#include "request_head.h"
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

// The game's SetScores request for the default table, with these header lines after its own.
std::string gameRequestWith(const std::string& lines) {
  return "GET " + kPath + "?Op=SetScores&V=" + kDefaultValue + kGameHeaders.substr(0, kGameHeaders.size() - 2) +
         lines + "\r\n";
}

std::string manyFields(size_t count) {
  std::string lines;
  for (size_t field = 0; field < count; ++field)
    lines += "X-Field-" + std::to_string(field) + ": " + std::to_string(field) + "\r\n";
  return lines;
}

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
                    405},
        RefusedCase{"100 KB target",
                    "GET " + kPath + "?Op=SetScores&V=" + std::string(100 * 1024, 'a') + "_1_" +
                        kGameHeaders,
                    414},
        RefusedCase{"target one byte over 8 KiB",
                    "GET /" + std::string(8192, 'a') + kGameHeaders, 414},
        RefusedCase{"100 KB header",
                    "GET " + kPath + "?Op=GetHTML HTTP/1.1\r\nX-Filler: " +
                        std::string(100 * 1024, 'x') + "\r\n\r\n",
                    431},
        RefusedCase{"101 header fields", gameRequestWith(manyFields(95)), 431},
        RefusedCase{"20,000 header fields", gameRequestWith(manyFields(20000)), 431},
        RefusedCase{"header section over 16 KiB",
                    gameRequestWith("X-A: " + std::string(8100, 'a') + "\r\nX-B: " +
                                    std::string(8300, 'b') + "\r\n"),
                    431},
        RefusedCase{"field line without a colon", gameRequestWith("Just some words\r\n"), 400},
        RefusedCase{"space before the colon", gameRequestWith("X-Name : value\r\n"), 400},
        RefusedCase{"folded field line", gameRequestWith("X-Name: one\r\n two\r\n"), 400},
        RefusedCase{"two different lengths",
                    gameRequestWith("Content-Length: 1\r\nContent-Length: 2\r\n") + "xx", 400},
        RefusedCase{"length with chunked",
                    gameRequestWith("Content-Length: 5\r\nTransfer-Encoding: chunked\r\n") +
                        "0\r\n\r\n",
                    400},
        RefusedCase{"chunked with length",
                    gameRequestWith("Transfer-Encoding: chunked\r\nContent-Length: 5\r\n") +
                        "0\r\n\r\n",
                    400},
        RefusedCase{"coding other than chunked",
                    gameRequestWith("Transfer-Encoding: gzip\r\n") + "xyz", 400},
        RefusedCase{"control byte in a field", gameRequestWith("X-Name: a\x01b\r\n"), 400},
        RefusedCase{"bare line feeds",
                    "GET " + kPath + "?Op=SetScores&V=" + kDefaultValue +
                        " HTTP/1.1\nHost: x\n\n",
                    400},
        RefusedCase{"broken chunk",
                    gameRequestWith("Transfer-Encoding: chunked\r\n") + "zz\r\nhello\r\n", 400},
        RefusedCase{"body over 64 KiB",
                    gameRequestWith("Content-Length: 70000\r\n") + std::string(70000, 'b'), 413},
        RefusedCase{"HTTP/2.0", "GET " + kPath + "?Op=SetScores&V=" + kDefaultValue +
                                    " HTTP/2.0\r\nHost: x\r\n\r\n",
                    400},
        RefusedCase{"not HTTP", "HELLO THERE\r\n\r\n", 400},
        RefusedCase{"asterisk target", "GET * HTTP/1.1\r\nHost: x\r\n\r\n", 404}));

// Refused for how it was sent, the request leaves the connection unusable: the server closes it.
TEST_F(HiscoreServiceTest, RefusedHeadsCloseTheConnection) {
  RunningServer server;
  for (const std::string& request :
       {gameRequestWith("X-Name : value\r\n"), gameRequestWith(manyFields(101))}) {
    const RawReply reply = exchange(server.port(), {request});
    EXPECT_EQ(headerOf(reply.text, "Connection"), "close");
    EXPECT_TRUE(reply.closed);
  }
}

// The limits themselves are allowed: 100 fields, 16 KiB of field lines, a target of 8 KiB.
TEST_F(HiscoreServiceTest, RequestsAtTheLimitsAreServed) {
  RunningServer server;
  EXPECT_EQ(statusOf(roundTrip(server.port(), gameRequestWith(manyFields(94)))), 200);
  // The game's field lines: without " HTTP/1.1\r\n" before them and the empty line after.
  const size_t gameFieldLines = kGameHeaders.size() - 13;
  const std::string filler(kMaxHeaderSectionBytes - gameFieldLines - 7, 'f');
  EXPECT_EQ(statusOf(roundTrip(server.port(), gameRequestWith("X-F: " + filler + "\r\n"))), 200);
  EXPECT_EQ(statusOf(roundTrip(server.port(), "GET /" + std::string(8191, 'a') + kGameHeaders)),
            404);
  EXPECT_EQ(server.store().rowCount(), 10u);
}

// A body on the game's GET is read and left aside; the table is stored.
TEST_F(HiscoreServiceTest, ABodyOnASubmissionIsIgnored) {
  RunningServer server;
  EXPECT_EQ(statusOf(roundTrip(server.port(),
                               gameRequestWith("Content-Length: 11\r\n") + "hello there")),
            200);
  EXPECT_EQ(statusOf(roundTrip(server.port(), gameRequestWith("Transfer-Encoding: chunked\r\n") +
                                                  "5\r\nhello\r\n0\r\n\r\n")),
            200);
  EXPECT_EQ(server.store().rowCount(), 10u);
}

struct MethodCase {
  const char* label;
  std::string request;
  int status;
  std::string allow;
};

void PrintTo(const MethodCase& c, std::ostream* out) { *out << c.label; }

class Methods : public HiscoreServiceTest, public ::testing::WithParamInterface<MethodCase> {};

TEST_P(Methods, OthersThanThoseServedGet405WithTheAllowedOnes) {
  RunningServer server;
  const std::string reply = roundTrip(server.port(), GetParam().request);
  EXPECT_EQ(statusOf(reply), GetParam().status) << reply;
  EXPECT_EQ(headerOf(reply, "Allow"), GetParam().allow);
  EXPECT_EQ(server.store().rowCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, Methods,
    ::testing::Values(
        MethodCase{"PUT on the servlet",
                   "PUT " + kPath + "?Op=SetScores&V=" + kDefaultValue +
                       " HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n\r\n",
                   405, "GET, HEAD"},
        MethodCase{"DELETE on the servlet",
                   "DELETE " + kPath + "?Op=GetHTML HTTP/1.1\r\nHost: x\r\n\r\n", 405,
                   "GET, HEAD"},
        MethodCase{"a method of its own", "BREW " + kPath + " HTTP/1.1\r\nHost: x\r\n\r\n",
                   405, "GET, HEAD"},
        MethodCase{"PUT on the report page",
                   "PUT /bugreport.html HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n\r\n",
                   405, "GET, HEAD, POST"},
        MethodCase{"POST elsewhere", "POST /other HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n\r\n",
                   404, ""}));

// HEAD gives the head that GET gives, length included, without the body.
TEST_F(HiscoreServiceTest, HeadAnswersAsGetWithoutTheBody) {
  RunningServer server;
  roundTrip(server.port(), gameRequest(kAwkwardRows, false));
  for (const std::string& target : {kPath + "?Op=GetHTML", std::string("/bugreport.html")}) {
    const std::string get = roundTrip(server.port(), "GET " + target + " HTTP/1.1\r\nHost: x\r\n\r\n");
    const RawReply head =
        exchange(server.port(), {"HEAD " + target + " HTTP/1.1\r\nHost: x\r\n\r\n"});
    EXPECT_EQ(statusOf(head.text), 200) << target;
    EXPECT_EQ(headerOf(head.text, "Content-Type"), "text/html; charset=utf-8");
    EXPECT_EQ(headerOf(head.text, "Content-Length"), std::to_string(bodyOf(get).size()));
    EXPECT_EQ(bodyOf(head.text), "") << target;
  }
}

// HEAD asks only for the head: the table is read, answered as GET would, and not stored.
TEST_F(HiscoreServiceTest, HeadOfASubmissionStoresNothing) {
  RunningServer server;
  std::string request = gameRequest(kAwkwardRows, false);
  request.replace(0, 3, "HEAD");
  const std::string reply = roundTrip(server.port(), request);
  EXPECT_EQ(statusOf(reply), 200);
  EXPECT_EQ(headerOf(reply, "Content-Length"), "3");
  EXPECT_EQ(server.store().rowCount(), 0u);
}

TEST_F(HiscoreServiceTest, AKeptAliveConnectionCarriesOneRequestAfterAnother) {
  RunningServer server;
  const std::string page = "GET " + kPath + "?Op=GetHTML HTTP/1.1\r\nHost: x\r\n\r\n";
  const int sock = connectTo(server.port());
  ASSERT_GE(sock, 0);
  // Two at once, then one more after the answers.
  for (const std::string& burst : {page + page, page}) {
    ASSERT_EQ(::send(sock, burst.data(), burst.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(burst.size()));
  }
  const auto answers = [](const std::string& text) {
    size_t count = 0;
    for (size_t at = text.find("</html>"); at != std::string::npos; at = text.find("</html>", at + 1))
      ++count;
    return count;
  };
  std::string received;
  char buffer[65536];
  while (answers(received) < 3) {
    const ssize_t got = ::recv(sock, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    received.append(buffer, static_cast<size_t>(got));
  }
  ::close(sock);
  EXPECT_EQ(answers(received), 3u);
}

// A name part between underscores that reads as a score makes a table that can be cut into
// rows in more than one way; the README's rule reads those, and the score value tests pin it.
// Here every such part gets a letter, so that each table has one reading.
std::string withoutScoreLikeParts(std::string name) {
  size_t start = 0;
  for (;;) {
    const size_t end = std::min(name.find('_', start), name.size());
    const std::string part = name.substr(start, end - start);
    const size_t sign = !part.empty() && part[0] == '-' ? 1 : 0;
    if (part.size() > sign && part.find_first_not_of("0123456789", sign) == std::string::npos)
      name[start] = 'x';
    if (end == name.size()) return name;
    start = end + 1;
  }
}

// What the server stores for a name: the game's encoding of it.
std::string sentName(const std::string& name) {
  HiscoreEntry entry;
  entry.setName(name);
  std::string row;
  appendScoreRow(row, entry);
  return row.substr(0, row.rfind('_'));
}

TEST_P(GameSubmission, RandomTablesWithEveryAwkwardByteAreStoredExactlyOnce) {
  RunningServer server;
  std::mt19937 random(20240517u + (GetParam().proxy ? 1 : 0));
  std::set<std::pair<std::string, uint32_t>> expected;
  int tables = 0;
  while (tables < 40) {
    // Falling scores over the whole 32 bits, so that many print negative; some repeat.
    std::vector<uint32_t> scores(kHiscoreRows);
    for (uint32_t& score : scores) score = 1 + random() % 0xFFFFFFFFu;
    if (tables % 4 == 0) scores[3] = scores[4];
    std::sort(scores.begin(), scores.end(), std::greater<uint32_t>());
    HiscoreTable table(kHiscoreRows);
    for (uint16_t row = 0; row < kHiscoreRows; ++row) {
      std::string name(random() % (kMaxNameLength + 1), ' ');
      for (char& c : name) c = static_cast<char>(1 + random() % 255);  // NUL ends a name
      table.entries[row].setName(withoutScoreLikeParts(name));
      table.entries[row].score = scores[row];
    }
    const std::optional<std::string> request = buildScoreRequest(
        table, ScoreServer{GetParam().proxy, "xxx.xxx.xxx", 8080, kPath});
    if (!request) continue;  // more than the game's request buffer holds
    ++tables;
    const std::string reply = roundTrip(server.port(), *request);
    ASSERT_EQ(statusOf(reply), 200) << reply << "\n" << targetOfGameRequest(*request);
    for (uint16_t row = 0; row < kHiscoreRows; ++row)
      expected.emplace(sentName(std::string(table.row(row).nameText())), table.row(row).score);
  }
  const std::optional<std::vector<StoredScore>> rows = server.store().best(1000);
  ASSERT_TRUE(rows);
  std::set<std::pair<std::string, uint32_t>> stored;
  for (const StoredScore& row : *rows) stored.emplace(row.name, row.score);
  EXPECT_EQ(rows->size(), stored.size());
  EXPECT_EQ(stored, expected);
}

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

std::string reportPost(const std::string& body,
                       const std::string& type = "application/x-www-form-urlencoded") {
  return "POST /bugreport.html HTTP/1.1\r\nHost: localhost:8080\r\nContent-Type: " + type +
         "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

TEST_F(HiscoreServiceTest, TheBugReportPageTakesAReportAndStoresIt) {
  RunningServer server;
  const std::string form =
      roundTrip(server.port(), "GET /bugreport.html HTTP/1.1\r\nHost: localhost:8080\r\n\r\n");
  EXPECT_EQ(statusOf(form), 200);
  EXPECT_THAT(bodyOf(form), HasSubstr("<form method=\"post\">"));

  const std::string reply = roundTrip(
      server.port(), reportPost("happened=The+board+froze+%26+%3Cbeeped%3E&expected=A+win"
                                "&steps=1.+Expert%0D%0A2.+Click+%C3%A9"));
  EXPECT_EQ(statusOf(reply), 200) << reply;
  EXPECT_THAT(bodyOf(reply), HasSubstr("number 1."));
  const std::optional<std::vector<StoredReport>> reports = server.store().reports();
  ASSERT_TRUE(reports);
  ASSERT_EQ(reports->size(), 1u);
  EXPECT_EQ((*reports)[0].report.happened, "The board froze & <beeped>");
  EXPECT_EQ((*reports)[0].report.expected, "A win");
  EXPECT_EQ((*reports)[0].report.steps, "1. Expert\n2. Click \xC3\xA9");
}

struct ReportRefusalCase {
  const char* label;
  std::string request;
  int status;
  std::string says;
};

void PrintTo(const ReportRefusalCase& c, std::ostream* out) { *out << c.label; }

class ReportRefusals : public HiscoreServiceTest,
                       public ::testing::WithParamInterface<ReportRefusalCase> {};

TEST_P(ReportRefusals, AreAnsweredWithAPolitePageAndStoreNothing) {
  RunningServer server;
  const std::string reply = roundTrip(server.port(), GetParam().request);
  EXPECT_EQ(statusOf(reply), GetParam().status) << reply.substr(0, 300);
  EXPECT_EQ(headerOf(reply, "Content-Type"), "text/html; charset=utf-8");
  EXPECT_THAT(bodyOf(reply), HasSubstr(GetParam().says));
  EXPECT_THAT(bodyOf(reply), HasSubstr("href=\"bugreport.html\""));
  EXPECT_EQ(server.store().reports()->size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Reports, ReportRefusals,
    ::testing::Values(
        ReportRefusalCase{"a box over 2,000 characters",
                          reportPost("happened=" + std::string(2001, 'x')), 413,
                          "each box holds up to 2000 characters"},
        // 2,000 characters of two bytes each are within the limit; one more is not.
        ReportRefusalCase{"2,001 accented characters",
                          reportPost("happened=ok&steps=" + [] {
                            std::string text;
                            for (int i = 0; i < 2001; ++i) text += "%C3%A9";
                            return text;
                          }()),
                          413, "too long"},
        ReportRefusalCase{"nothing said about what happened",
                          reportPost("happened=+%0D%0A&expected=x"), 400, "what happened"},
        ReportRefusalCase{"no fields at all", reportPost(""), 400, "what happened"},
        ReportRefusalCase{"a broken escape", reportPost("happened=100%"), 400, "garbled"},
        ReportRefusalCase{"not a form", reportPost("{\"happened\": \"x\"}", "application/json"),
                          415, "form"}));

TEST_F(HiscoreServiceTest, LineEndsOfTheBrowserCountAsOneCharacter) {
  RunningServer server;
  std::string lines;
  for (int i = 0; i < 1000; ++i) lines += "a%0D%0A";  // 2,000 characters once CR LF is LF
  EXPECT_EQ(statusOf(roundTrip(server.port(), reportPost("happened=" + lines))), 200);
}

}  // namespace
