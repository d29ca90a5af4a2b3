#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "score_value.h"

struct sqlite3;

struct StoredScore {
  std::string name;  // as the game sent it, spaces as ':'
  uint32_t score = 0;
  int64_t firstSubmitted = 0;  // seconds since 1970-01-01 UTC
};

// The scores in one SQLite file. Every submission resends the player's whole table, so a
// (name, score) pair is kept once, with the time it first arrived. One connection serves
// every thread, one call at a time.
class ScoreStore {
 public:
  // Opens or creates the file; nothing, with a reason, when it is no usable score database.
  static std::unique_ptr<ScoreStore> open(const std::string& file, std::string& error);
  ~ScoreStore();
  ScoreStore(const ScoreStore&) = delete;
  ScoreStore& operator=(const ScoreStore&) = delete;

  // Adds the rows not stored yet in one transaction that is on disk when this returns; the
  // number of rows added, or nothing when the database failed and nothing was added.
  std::optional<size_t> submit(const std::vector<ScoreRow>& rows, int64_t submittedAt);

  // The best rows: highest score first, among equal scores the earliest submitted first.
  std::optional<std::vector<StoredScore>> best(size_t limit);

  std::optional<size_t> rowCount();

 private:
  explicit ScoreStore(sqlite3* db) : db_(db) {}

  std::mutex mutex_;
  sqlite3* db_;
};
