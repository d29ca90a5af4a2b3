#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "hiscores/hiscore_table.h"
#include "hiscores/score_request.h"
#include "raw_client.h"
#include "score_store.h"
#include "scratch_folder.h"
#include "server_process.h"

namespace {

using ::testing::HasSubstr;
using ::testing::MatchesRegex;

const std::string kPath = "/examples/servlet/TessaraHST";

std::string defaultTableRequest() {
  HiscoreTable table(kHiscoreRows);
  table.fillDefaultTable();
  table.insert(420, "Killed # Midway");
  return buildScoreRequest(table, ScoreServer{false, "xxx.xxx.xxx", 8080, kPath}).value();
}

std::string scoreboardPage(int port) {
  return bodyOf(roundTrip(port, "GET " + kPath + "?Op=GetHTML HTTP/1.1\r\nHost: x\r\n\r\n"));
}

class ServerProgram : public ::testing::Test {
 protected:
  ScratchFolder folder;
};

TEST_F(ServerProgram, SaysWhereItListensAndEndsCleanlyOnTerm) {
  ServerProcess server({"--port", "0"});
  EXPECT_THAT(
      server.firstLine(),
      MatchesRegex(
          "Tessara hiscore server listening on http://127\\.0\\.0\\.1:[0-9]+/examples/servlet/"
          "TessaraHST"));
  ASSERT_NE(server.port(), 0) << server.errorOutput();
  EXPECT_EQ(statusOf(roundTrip(server.port(), defaultTableRequest())), 200);
  EXPECT_EQ(server.stop(SIGTERM), 0) << server.errorOutput();
  EXPECT_TRUE(ScratchFolder::exists("tessara-hiscores.sqlite"));
}

// The row was answered with 200, so it must be on disk although the process had no chance
// to close the database.
TEST_F(ServerProgram, AnsweredScoresSurviveAKill) {
  {
    ServerProcess server({"--port", "0", "--database", "kept.sqlite"});
    ASSERT_NE(server.port(), 0) << server.errorOutput();
    ASSERT_EQ(statusOf(roundTrip(server.port(), defaultTableRequest())), 200);
    EXPECT_EQ(server.stop(SIGKILL), 128 + SIGKILL);
  }
  ServerProcess restarted({"--port", "0", "--database", "kept.sqlite", "--path", kPath});
  ASSERT_NE(restarted.port(), 0) << restarted.errorOutput();
  const std::string page = scoreboardPage(restarted.port());
  EXPECT_THAT(page, HasSubstr(">Killed # Midway<"));
  EXPECT_THAT(page, HasSubstr(">10.<"));
}

TEST_F(ServerProgram, ServesTheChosenPathOnly) {
  ServerProcess server({"--port=0", "--path=/hst"});
  ASSERT_NE(server.port(), 0) << server.errorOutput();
  EXPECT_EQ(statusOf(roundTrip(server.port(), "GET /hst?Op=GetHTML HTTP/1.1\r\nHost: x\r\n\r\n")),
            200);
  EXPECT_EQ(statusOf(roundTrip(server.port(),
                               "GET " + kPath + "?Op=GetHTML HTTP/1.1\r\nHost: x\r\n\r\n")),
            404);
}

TEST_F(ServerProgram, RefusesAPortInUse) {
  const int holder = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(holder, 1), 0);
  ::getsockname(holder, reinterpret_cast<sockaddr*>(&address), &length);
  const std::string port = std::to_string(ntohs(address.sin_port));

  ServerProcess server({"--port", port});
  EXPECT_EQ(server.wait(), 1);
  EXPECT_THAT(server.errorOutput(), HasSubstr("cannot listen on 127.0.0.1 port " + port));
  ::close(holder);
}

TEST_F(ServerProgram, ASecondServerCannotShareThePort) {
  ServerProcess first({"--port", "0", "--database", "first.sqlite"});
  ASSERT_NE(first.port(), 0) << first.errorOutput();
  ServerProcess second({"--port", std::to_string(first.port()), "--database", "second.sqlite"});
  EXPECT_EQ(second.wait(), 1);
  EXPECT_THAT(second.errorOutput(), HasSubstr("cannot listen"));
}

TEST_F(ServerProgram, RefusesADatabaseItCannotOpen) {
  ScratchFolder::writeFile("notes.txt", "These are notes, not a database of any kind at all.\n");
  for (const char* file : {"missing-folder/scores.sqlite", "notes.txt"}) {
    ServerProcess server({"--port", "0", "--database", file});
    EXPECT_EQ(server.wait(), 1) << file;
    EXPECT_THAT(server.errorOutput(), HasSubstr(std::string("cannot open the database ") + file));
    EXPECT_EQ(server.firstLine(), "");
  }
}

TEST_F(ServerProgram, HelpAndBadOptions) {
  ServerProcess help({"--help"});
  EXPECT_THAT(help.firstLine(), HasSubstr("Usage: tessara-hiscore-server"));
  EXPECT_EQ(help.wait(), 0);

  ServerProcess bad({"--port", "http"});
  EXPECT_EQ(bad.wait(), 2);
  EXPECT_THAT(bad.errorOutput(), HasSubstr("--port"));
  EXPECT_FALSE(ScratchFolder::exists("tessara-hiscores.sqlite"));
}

// Many players at once and a kill in the middle: every submission answered with 200 was
// committed with the others of its commit before the answer, so each of its rows is there.
TEST_F(ServerProgram, NoAnsweredSubmissionIsLostToAKillUnderLoad) {
  constexpr int kPlayers = 16;
  std::vector<std::vector<int>> answered(kPlayers);
  {
    ServerProcess server({"--port", "0", "--database", "killed.sqlite"});
    ASSERT_NE(server.port(), 0) << server.errorOutput();
    const int port = server.port();
    std::atomic<bool> killed{false};
    std::vector<std::thread> players;
    for (int player = 0; player < kPlayers; ++player) {
      players.emplace_back([&, player] {
        for (int round = 0; !killed && round < 10000; ++round) {
          HiscoreTable table(kHiscoreRows);
          table.fillDefaultTable();
          table.insert(1000, "p" + std::to_string(player) + "r" + std::to_string(round));
          const std::string request =
              buildScoreRequest(table, ScoreServer{false, "xxx.xxx.xxx", 8080, kPath}).value();
          if (statusOf(roundTrip(port, request)) == 200) answered[player].push_back(round);
        }
      });
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    EXPECT_EQ(server.stop(SIGKILL), 128 + SIGKILL);
    killed = true;
    for (std::thread& player : players) player.join();
  }
  std::string error;
  const std::unique_ptr<ScoreStore> store = ScoreStore::open("killed.sqlite", error);
  ASSERT_TRUE(store) << error;
  const std::optional<std::vector<StoredScore>> rows = store->best(1000000);
  ASSERT_TRUE(rows);
  std::set<std::string> stored;
  for (const StoredScore& row : *rows) stored.insert(row.name);
  size_t answers = 0;
  for (int player = 0; player < kPlayers; ++player) {
    for (const int round : answered[player]) {
      ++answers;
      EXPECT_EQ(stored.count("p" + std::to_string(player) + "r" + std::to_string(round)), 1u);
    }
  }
  EXPECT_GT(answers, 0u);
  std::printf("%zu answered submissions, all of them stored\n", answers);
}

TEST_F(ServerProgram, ReportsSentOnThePageArePrintedWithReports) {
  {
    ServerProcess server({"--port", "0", "--database", "reports.sqlite"});
    ASSERT_NE(server.port(), 0) << server.errorOutput();
    const std::string body = "happened=It+froze%1B%5B2J&expected=&steps=Expert%0D%0Aclick";
    const std::string reply = roundTrip(
        server.port(), "POST /bugreport.html HTTP/1.1\r\nHost: x\r\nContent-Type: "
                       "application/x-www-form-urlencoded\r\nContent-Length: " +
                           std::to_string(body.size()) + "\r\n\r\n" + body);
    ASSERT_EQ(statusOf(reply), 200) << reply;
    EXPECT_EQ(server.stop(SIGTERM), 0);
  }
  ServerProcess listing({"--reports", "--database", "reports.sqlite"});
  EXPECT_EQ(listing.wait(), 0) << listing.errorOutput();
  EXPECT_THAT(listing.firstLine(), MatchesRegex("Report 1, received .* UTC"));
  const std::string rest = listing.remainingOutput();
  EXPECT_THAT(rest, HasSubstr("What happened:\n  It froze\xEF\xBF\xBD[2J\n"));
  EXPECT_THAT(rest, HasSubstr("Steps:\n  Expert\n  click\n"));
}

TEST_F(ServerProgram, ReportsOfAMissingDatabaseAreAnErrorAndCreateNothing) {
  ServerProcess listing({"--reports", "--database", "none.sqlite"});
  EXPECT_EQ(listing.wait(), 1);
  EXPECT_THAT(listing.errorOutput(), HasSubstr("cannot read the database none.sqlite"));
  EXPECT_FALSE(ScratchFolder::exists("none.sqlite"));
}

}  // namespace
