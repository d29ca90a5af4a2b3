#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "score_store.h"

// Runs every call on the store on one thread of its own, so that no request waits on disk
// while holding the thread that serves the connections. Submissions are committed together:
// all that arrived while the previous commit ran go into the next one, which costs one flush
// to disk however many they are. Each is answered only once its commit is on disk. Pages that
// were asked for meanwhile are served by one read.
class StoreWorker {
 public:
  // Called on the worker's thread: the rows added or the report's number, or nothing when
  // the commit failed and nothing of it was stored.
  using StoredCallback = std::function<void(std::optional<int64_t>)>;
  using ScoreboardCallback = std::function<void(const std::optional<Scoreboard>&)>;

  StoreWorker(ScoreStore& store, size_t scoreboardRows);
  // Finishes everything asked for so far, then ends the thread.
  ~StoreWorker();
  StoreWorker(const StoreWorker&) = delete;
  StoreWorker& operator=(const StoreWorker&) = delete;

  void submitTable(SubmittedTable table, StoredCallback done);
  void submitReport(BugReport report, StoredCallback done);
  void readScoreboard(ScoreboardCallback done);

  // How many commits have run; for tests.
  uint64_t commits() const;

 private:
  struct Pending {
    Additions additions;
    std::vector<StoredCallback> tableCallbacks;
    std::vector<StoredCallback> reportCallbacks;
    std::vector<ScoreboardCallback> scoreboardCallbacks;

    bool empty() const {
      return tableCallbacks.empty() && reportCallbacks.empty() && scoreboardCallbacks.empty();
    }
  };

  void run();
  void commit(Pending& work);
  void showScoreboard(Pending& work);

  ScoreStore& store_;
  const size_t scoreboardRows_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  Pending pending_;
  bool stopping_ = false;
  uint64_t commits_ = 0;
  std::thread thread_;  // last: starts once everything above exists
};
