#include "score_store.h"

#include <sqlite3.h>

#include <cstdio>

namespace {

// Marks the file as ours ("TSHS"), so that a mistyped --database never writes into another
// program's database.
constexpr int64_t kApplicationId = 1414744147;

// WAL with synchronous FULL: a commit returns once the log is flushed to disk, so an answered
// submission survives a kill or a power cut, at one flush per submission where a rollback
// journal needs several.
constexpr const char* kSetup =
    "PRAGMA journal_mode = WAL;"
    "PRAGMA synchronous = FULL;"
    "CREATE TABLE IF NOT EXISTS scores ("
    "  id INTEGER PRIMARY KEY,"
    "  name BLOB NOT NULL,"
    "  score INTEGER NOT NULL CHECK (score BETWEEN 1 AND 4294967295),"
    "  first_submitted INTEGER NOT NULL,"
    "  UNIQUE (name, score));"
    "CREATE INDEX IF NOT EXISTS scores_by_rank ON scores (score DESC, first_submitted, id);";

// An operator's backup or query may hold the file for a moment.
constexpr int kBusyTimeoutMs = 5000;

// Prepared for one call and finalised when it ends.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr); }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  explicit operator bool() const { return statement_ != nullptr; }
  sqlite3_stmt* get() const { return statement_; }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

std::optional<int64_t> integer(sqlite3* db, const char* sql) {
  const Statement query(db, sql);
  if (!query || sqlite3_step(query.get()) != SQLITE_ROW) return std::nullopt;
  return sqlite3_column_int64(query.get(), 0);
}

bool execute(sqlite3* db, const char* sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

void report(sqlite3* db, const char* what) {
  std::fprintf(stderr, "tessara-hiscore-server: %s: %s\n", what, sqlite3_errmsg(db));
}

bool insertRows(sqlite3* db, const std::vector<ScoreRow>& rows, int64_t submittedAt,
                size_t& added) {
  const Statement insert(
      db, "INSERT OR IGNORE INTO scores (name, score, first_submitted) VALUES (?, ?, ?)");
  if (!insert) return false;
  for (const ScoreRow& row : rows) {
    sqlite3_reset(insert.get());
    sqlite3_bind_blob(insert.get(), 1, row.name.data(), static_cast<int>(row.name.size()),
                      SQLITE_TRANSIENT);
    sqlite3_bind_int64(insert.get(), 2, row.score);
    sqlite3_bind_int64(insert.get(), 3, submittedAt);
    if (sqlite3_step(insert.get()) != SQLITE_DONE) return false;
    added += static_cast<size_t>(sqlite3_changes(db));
  }
  return true;
}

}  // namespace

std::unique_ptr<ScoreStore> ScoreStore::open(const std::string& file, std::string& error) {
  sqlite3* db = nullptr;
  const int opened =
      sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (opened == SQLITE_OK) {
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    const std::optional<int64_t> id = integer(db, "PRAGMA application_id");
    const std::optional<int64_t> objects = integer(db, "SELECT count(*) FROM sqlite_schema");
    if (id && objects && *id != kApplicationId && (*id != 0 || *objects != 0)) {
      error = "not a Tessara hiscore database";
      sqlite3_close(db);
      return nullptr;
    }
    const std::string setup =
        "PRAGMA application_id = " + std::to_string(kApplicationId) + ";" + kSetup;
    if (id && objects && execute(db, setup.c_str())) {
      return std::unique_ptr<ScoreStore>(new ScoreStore(db));
    }
  }
  error = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(opened);
  sqlite3_close(db);
  return nullptr;
}

ScoreStore::~ScoreStore() { sqlite3_close(db_); }

std::optional<size_t> ScoreStore::submit(const std::vector<ScoreRow>& rows, int64_t submittedAt) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (!execute(db_, "BEGIN IMMEDIATE")) {
    report(db_, "cannot store scores");
    return std::nullopt;
  }
  size_t added = 0;
  if (insertRows(db_, rows, submittedAt, added) && execute(db_, "COMMIT")) return added;
  report(db_, "cannot store scores");
  execute(db_, "ROLLBACK");
  return std::nullopt;
}

std::optional<std::vector<StoredScore>> ScoreStore::best(size_t limit) {
  const std::lock_guard<std::mutex> lock(mutex_);
  const Statement select(db_,
                         "SELECT name, score, first_submitted FROM scores "
                         "ORDER BY score DESC, first_submitted, id LIMIT ?");
  if (!select) return std::nullopt;
  sqlite3_bind_int64(select.get(), 1, static_cast<sqlite3_int64>(limit));
  std::vector<StoredScore> rows;
  int step;
  while ((step = sqlite3_step(select.get())) == SQLITE_ROW) {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(select.get(), 0));
    const auto length = static_cast<size_t>(sqlite3_column_bytes(select.get(), 0));
    rows.push_back({bytes != nullptr ? std::string(bytes, length) : std::string(),
                    static_cast<uint32_t>(sqlite3_column_int64(select.get(), 1)),
                    sqlite3_column_int64(select.get(), 2)});
  }
  if (step != SQLITE_DONE) {
    report(db_, "cannot read scores");
    return std::nullopt;
  }
  return rows;
}

std::optional<size_t> ScoreStore::rowCount() {
  const std::lock_guard<std::mutex> lock(mutex_);
  const Statement count(db_, "SELECT count(*) FROM scores");
  if (!count || sqlite3_step(count.get()) != SQLITE_ROW) return std::nullopt;
  return static_cast<size_t>(sqlite3_column_int64(count.get(), 0));
}
