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

// A table as one submission brought it.
struct SubmittedTable {
  std::vector<ScoreRow> rows;
  int64_t submittedAt = 0;
};

// What a player wrote on the bug-report page, as the browser sent it (normally UTF-8).
struct BugReport {
  std::string happened;
  std::string expected;
  std::string steps;
  int64_t receivedAt = 0;

  bool operator==(const BugReport& other) const {
    return happened == other.happened && expected == other.expected && steps == other.steps &&
           receivedAt == other.receivedAt;
  }
};

struct StoredReport {
  int64_t number = 0;
  BugReport report;
};

// Everything that one commit stores, in the order it arrived.
struct Additions {
  std::vector<SubmittedTable> tables;
  std::vector<BugReport> reports;
};

struct Added {
  std::vector<size_t> rowsPerTable;   // rows of each table that were new
  std::vector<int64_t> reportNumbers;  // the number each report is stored under
};

struct Scoreboard {
  std::vector<StoredScore> best;
  size_t totalRows = 0;
};

// The scores and bug reports in one SQLite file. Every submission resends the player's whole
// table, so a (name, score) pair is kept once, with the time it first arrived. One connection
// serves every thread, one call at a time.
class ScoreStore {
 public:
  // Opens or creates the file; nothing, with a reason, when it is no usable score database.
  // With mustExist, a missing file is such a reason instead of being created.
  static std::unique_ptr<ScoreStore> open(const std::string& file, std::string& error,
                                          bool mustExist = false);
  ~ScoreStore();
  ScoreStore(const ScoreStore&) = delete;
  ScoreStore& operator=(const ScoreStore&) = delete;

  // Stores all of it in one transaction that is on disk when this returns, or nothing at all
  // when the database failed.
  std::optional<Added> add(const Additions& additions);
  // One table on its own; the number of rows added.
  std::optional<size_t> submit(const std::vector<ScoreRow>& rows, int64_t submittedAt);

  // The best rows: highest score first, among equal scores the earliest submitted first.
  std::optional<std::vector<StoredScore>> best(size_t limit);
  std::optional<Scoreboard> scoreboard(size_t limit);

  std::optional<size_t> rowCount();

  // Every bug report, oldest first.
  std::optional<std::vector<StoredReport>> reports();

 private:
  explicit ScoreStore(sqlite3* db) : db_(db) {}

  std::optional<size_t> countRows();
  std::optional<std::vector<StoredScore>> readBest(size_t limit);

  std::mutex mutex_;
  sqlite3* db_;
};
