#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "hiscores/hiscore_table.h"
#include "hiscores/score_request.h"
#include "raw_client.h"
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

}  // namespace
