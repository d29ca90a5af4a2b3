#pragma once

#include <optional>
#include <string>

#include "raw_target_server.h"
#include "score_store.h"

// The servlet over HTTP: "?Op=SetScores&V=..." stores a submitted table, "?Op=GetHTML"
// shows the scoreboard. Requests are served on the library's worker threads.
class HiscoreService {
 public:
  HiscoreService(ScoreStore& store, std::string servletPath);

  // Binds to the address and port (0 picks a free port); the port bound, or nothing.
  std::optional<int> bind(const std::string& address, int port);
  // Serves until stop() is called; false when serving could not start.
  bool run();
  void stop();

 private:
  void answerGet(const httplib::Request& request, httplib::Response& response);
  void storeScores(std::string_view value, httplib::Response& response);
  void showScoreboard(httplib::Response& response);

  ScoreStore& store_;
  const std::string servletPath_;
  RawTargetServer server_;
};
