#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "http_exchange.h"
#include "http_server.h"
#include "score_store.h"
#include "store_worker.h"

// The servlet over HTTP: "?Op=SetScores&V=..." stores a submitted table, "?Op=GetHTML" shows
// the scoreboard; beside it, the bug-report page takes reports from players.
class HiscoreService {
 public:
  HiscoreService(ScoreStore& store, std::string servletPath);

  // Binds to the address and port (0 picks a free port); the port bound, or nothing.
  std::optional<int> bind(const std::string& address, int port);
  // Serves until stop() and the end of the requests under way; false when not bound.
  bool run();
  void stop();
  void stopOnSignals() { server_.stopOnSignals(); }
  size_t connectionLimit() const { return server_.connectionLimit(); }
  uint64_t commits() const { return worker_.commits(); }

 private:
  void handle(Request request, Respond respond);
  void answerServlet(const Request& request, std::optional<std::string_view> query,
                     Respond respond);
  void storeScores(std::string_view value, bool store, Respond respond);
  void showScoreboard(Respond respond);
  void answerBugReport(const Request& request, Respond respond);

  const std::string servletPath_;
  // Before the worker, which is destroyed first: what it still answers then goes to the
  // server's event loop, which must exist to take it.
  HttpServer server_;
  StoreWorker worker_;
};
