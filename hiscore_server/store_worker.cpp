#include "store_worker.h"

#include <utility>

StoreWorker::StoreWorker(ScoreStore& store, size_t scoreboardRows)
    : store_(store), scoreboardRows_(scoreboardRows), thread_([this] { run(); }) {}

StoreWorker::~StoreWorker() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void StoreWorker::submitTable(SubmittedTable table, StoredCallback done) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    pending_.additions.tables.push_back(std::move(table));
    pending_.tableCallbacks.push_back(std::move(done));
  }
  wake_.notify_one();
}

void StoreWorker::submitReport(BugReport report, StoredCallback done) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    pending_.additions.reports.push_back(std::move(report));
    pending_.reportCallbacks.push_back(std::move(done));
  }
  wake_.notify_one();
}

void StoreWorker::readScoreboard(ScoreboardCallback done) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    pending_.scoreboardCallbacks.push_back(std::move(done));
  }
  wake_.notify_one();
}

uint64_t StoreWorker::commits() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return commits_;
}

void StoreWorker::run() {
  for (;;) {
    Pending work;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
      if (pending_.empty()) return;  // stopping, and nothing left to do
      std::swap(work, pending_);
    }
    commit(work);
    showScoreboard(work);
  }
}

void StoreWorker::commit(Pending& work) {
  if (work.tableCallbacks.empty() && work.reportCallbacks.empty()) return;
  const std::optional<Added> added = store_.add(work.additions);
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    ++commits_;
  }
  for (size_t index = 0; index < work.tableCallbacks.size(); ++index) {
    work.tableCallbacks[index](added ? std::optional<int64_t>(added->rowsPerTable[index])
                                     : std::nullopt);
  }
  for (size_t index = 0; index < work.reportCallbacks.size(); ++index) {
    work.reportCallbacks[index](added ? std::optional<int64_t>(added->reportNumbers[index])
                                      : std::nullopt);
  }
}

void StoreWorker::showScoreboard(Pending& work) {
  if (work.scoreboardCallbacks.empty()) return;
  const std::optional<Scoreboard> board = store_.scoreboard(scoreboardRows_);
  for (const ScoreboardCallback& done : work.scoreboardCallbacks) done(board);
}
