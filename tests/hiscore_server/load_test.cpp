// Many players submitting at once over loopback: 50 clients send 2,000 submissions in all,
// each on its own connection as the game does, and neighbouring submissions share half their
// rows. Afterwards every row must be stored exactly once, and no answer may be an error.
// Prints the throughput; the figure is reported, not checked.

#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "hiscores/hiscore_table.h"
#include "hiscores/score_request.h"
#include "raw_client.h"
#include "score_store.h"
#include "scratch_folder.h"
#include "server_process.h"

namespace {

constexpr int kClients = 50;
constexpr int kSubmissions = 2000;
constexpr int kRowStep = 5;  // a submission's first five rows are the previous one's last five
constexpr auto kTimeLimit = std::chrono::seconds(240);

using Row = std::pair<std::string, uint32_t>;

// Row k of the pool, as the game's table holds it; scores fall as k grows.
Row poolRow(int k) {
  return {"Player #" + std::to_string(k) + " & co_" + std::to_string(k % 7),
          10000000u - static_cast<uint32_t>(k)};
}

std::string submission(int index) {
  HiscoreTable table(kHiscoreRows);
  for (int row = 0; row < kHiscoreRows; ++row) {
    const Row pooled = poolRow(index * kRowStep + row);
    table.entries[row].setName(pooled.first);
    table.entries[row].score = pooled.second;
  }
  return buildScoreRequest(table, ScoreServer{index % 2 == 1, "xxx.xxx.xxx", 8080,
                                              "/examples/servlet/TessaraHST"})
      .value();
}

}  // namespace

int main() {
  ScratchFolder folder;
  std::vector<std::string> requests;
  for (int index = 0; index < kSubmissions; ++index) requests.push_back(submission(index));

  ServerProcess server({"--port", "0", "--database", "load.sqlite"});
  const int port = server.port();
  if (port == 0) {
    std::fprintf(stderr, "the server did not start: %s\n", server.errorOutput().c_str());
    return 1;
  }

  std::atomic<int> answered{0};
  std::atomic<int> failed{0};
  std::atomic<bool> late{false};
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::thread> clients;
  for (int client = 0; client < kClients; ++client) {
    clients.emplace_back([&, client] {
      // Client c sends submissions c, c + 50, ...: neighbours overlap and run at once.
      for (int index = client; index < kSubmissions; index += kClients) {
        if (std::chrono::steady_clock::now() - start > kTimeLimit) {
          late = true;
          return;
        }
        const std::string reply = roundTrip(port, requests[index]);
        if (statusOf(reply) == 200) {
          ++answered;
        } else {
          if (failed++ < 5)
            std::fprintf(stderr, "submission %d: %s\n", index, reply.substr(0, 60).c_str());
        }
      }
    });
  }
  for (std::thread& client : clients) client.join();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const int stopped = server.stop(SIGTERM);

  std::printf("%d submissions from %d clients in %.2f s: %.0f submissions per second\n",
              answered.load(), kClients, seconds, answered / seconds);
  bool passed = !late && failed == 0 && answered == kSubmissions && stopped == 0;
  if (late)
    std::fprintf(stderr, "stopped after %lld s\n", static_cast<long long>(kTimeLimit.count()));
  if (failed != 0)
    std::fprintf(stderr, "%d submissions were not answered with 200\n", failed.load());
  if (stopped != 0)
    std::fprintf(stderr, "the server ended with %d: %s\n", stopped, server.errorOutput().c_str());

  std::string error;
  const std::unique_ptr<ScoreStore> store = ScoreStore::open("load.sqlite", error);
  const std::optional<std::vector<StoredScore>> stored =
      store ? store->best(1000000) : std::nullopt;
  if (!stored) {
    std::fprintf(stderr, "cannot read the scores: %s\n", error.c_str());
    return 1;
  }
  std::map<Row, int> counts;
  for (const StoredScore& row : *stored) {
    std::string name = row.name;
    for (char& c : name) {
      if (c == ':') c = ' ';
    }
    ++counts[{name, row.score}];
  }
  const int poolRows = (kSubmissions - 1) * kRowStep + kHiscoreRows;
  int missing = 0;
  for (int k = 0; k < poolRows; ++k) {
    if (counts.count(poolRow(k)) == 0) ++missing;
  }
  std::printf("%zu rows stored, %d expected\n", stored->size(), poolRows);
  if (missing != 0 || stored->size() != static_cast<size_t>(poolRows) ||
      counts.size() != stored->size()) {
    std::fprintf(stderr, "%d rows missing, %zu stored in all, %zu of them distinct\n", missing,
                 stored->size(), counts.size());
    passed = false;
  }
  std::printf("%s\n", passed ? "load test passed" : "load test FAILED");
  return passed ? 0 : 1;
}
