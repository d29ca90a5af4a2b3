// The server program under clients that try to hold it: many connections that send nothing or
// a byte a second while players submit, and a stop while a client dribbles. Loopback only,
// bounded in connections and in time.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <future>
#include <string>
#include <thread>

#include "hiscores/hiscore_table.h"
#include "hiscores/score_request.h"
#include "http_server.h"
#include "raw_client.h"
#include "scratch_folder.h"
#include "server_process.h"
#include "slow_clients.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kHostileConnections = 1000;

std::string submission(int player) {
  HiscoreTable table(kHiscoreRows);
  table.fillDefaultTable();
  table.insert(1000 + static_cast<uint32_t>(player), "Player " + std::to_string(player));
  return buildScoreRequest(table, ScoreServer{false, "xxx.xxx.xxx", 8080,
                                              "/examples/servlet/TessaraHST"})
      .value();
}

class HostileClients : public ::testing::Test {
 protected:
  void SetUp() override {
    // This process holds the hostile connections, the server their other ends.
    fileLimit = raiseOpenFileLimit();
  }

  ScratchFolder folder;
  size_t fileLimit = 0;
};

// Half of the connections send nothing, half send the game's request a byte a second; the
// players' submissions go through all the same. The server then ends the idle connections
// after 5 s and the dribbling ones when their 10 s for a request are up.
TEST_F(HostileClients, SlowAndIdleConnectionsHoldUpNoSubmission) {
  ServerProcess server({"--port", "0", "--database", "hostile.sqlite"});
  ASSERT_NE(server.port(), 0) << server.errorOutput();
  const int connections =
      static_cast<int>(std::min<size_t>(kHostileConnections, fileLimit > 200 ? fileLimit - 100 : 0));
  ASSERT_GE(connections, 100) << "the file limit " << fileLimit << " leaves too few connections";
  const Clock::time_point opened = Clock::now();
  SlowClients slow(server.port(), connections / 2, connections - connections / 2,
                   std::chrono::seconds(1));
  ASSERT_EQ(slow.connected(), connections);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));

  for (int player = 0; player < 5; ++player) {
    const Clock::time_point start = Clock::now();
    const RawReply reply = exchange(server.port(), {submission(player)});
    EXPECT_EQ(statusOf(reply.text), 200) << reply.text;
    // For the record only; the benchmark measures it.
    std::printf("submission %d among %d slow connections answered in %.1f ms\n", player,
                connections,
                std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  EXPECT_EQ(slow.idleClosed(), 0);

  std::this_thread::sleep_until(opened + std::chrono::seconds(7));
  EXPECT_EQ(slow.idleClosed(), connections / 2);
  EXPECT_EQ(slow.dribblingClosed(), 0);
  std::this_thread::sleep_until(opened + std::chrono::seconds(13));
  EXPECT_EQ(slow.dribblingClosed(), connections - connections / 2);

  EXPECT_EQ(server.stop(SIGTERM), 0) << server.errorOutput();
}

// A stop lets the request under way finish (here held up by another program's lock on the
// database), answers it, closes the client that never finishes its request, and ends with 0.
TEST_F(HostileClients, StopFinishesTheRequestUnderWayAndClosesTheDribbler) {
  ServerProcess server({"--port", "0", "--database", "stopping.sqlite"});
  ASSERT_NE(server.port(), 0) << server.errorOutput();
  SlowClients dribbler(server.port(), 0, 1, std::chrono::milliseconds(200));

  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open("stopping.sqlite", &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  std::future<RawReply> pending = std::async(std::launch::async, [&server] {
    return exchange(server.port(), {submission(1)});
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  ::kill(server.pid(), SIGTERM);
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  EXPECT_EQ(dribbler.dribblingClosed(), 0);  // its grace has not run out yet
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);

  const RawReply reply = pending.get();
  EXPECT_EQ(statusOf(reply.text), 200) << reply.text;
  EXPECT_EQ(headerOf(reply.text, "Connection"), "close");
  EXPECT_EQ(server.wait(), 0) << server.errorOutput();
  EXPECT_EQ(dribbler.dribblingClosed(), 1);
  EXPECT_EQ(connectTo(server.port()), -1);

  ServerProcess restarted({"--port", "0", "--database", "stopping.sqlite"});
  ASSERT_NE(restarted.port(), 0) << restarted.errorOutput();
  EXPECT_THAT(roundTrip(restarted.port(),
                        "GET /examples/servlet/TessaraHST?Op=GetHTML HTTP/1.1\r\nHost: x\r\n\r\n"),
              ::testing::HasSubstr(">Player 1<"));
}

// Nothing under way: the stop is at once, whatever waits idle.
TEST_F(HostileClients, StopWithOnlyIdleConnectionsIsImmediate) {
  ServerProcess server({"--port", "0", "--database", "idle.sqlite"});
  ASSERT_NE(server.port(), 0) << server.errorOutput();
  SlowClients idle(server.port(), 50, 0, std::chrono::seconds(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(server.stop(SIGINT), 0) << server.errorOutput();
  EXPECT_EQ(idle.idleClosed(), 50);
}

}  // namespace
