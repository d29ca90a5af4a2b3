#include "score_store.h"

#include <sqlite3.h>

#include <cstdio>
#include <utility>

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
    "CREATE INDEX IF NOT EXISTS scores_by_rank ON scores (score DESC, first_submitted, id);"
    // Blobs keep whatever bytes the browser sent; they are made safe where they are shown.
    "CREATE TABLE IF NOT EXISTS reports ("
    "  id INTEGER PRIMARY KEY,"
    "  received INTEGER NOT NULL,"
    "  happened BLOB NOT NULL,"
    "  expected BLOB NOT NULL,"
    "  steps BLOB NOT NULL);";

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

void logFailure(sqlite3* db, const char* what) {
  std::fprintf(stderr, "tessara-hiscore-server: %s: %s\n", what, sqlite3_errmsg(db));
}

void bindText(sqlite3_stmt* statement, int index, const std::string& text) {
  sqlite3_bind_blob(statement, index, text.data(), static_cast<int>(text.size()),
                    SQLITE_TRANSIENT);
}

std::string blobText(sqlite3_stmt* statement, int column) {
  const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
  const auto length = static_cast<size_t>(sqlite3_column_bytes(statement, column));
  return bytes != nullptr ? std::string(bytes, length) : std::string();
}

bool insertTables(sqlite3* db, const std::vector<SubmittedTable>& tables, Added& added) {
  const Statement insert(
      db, "INSERT OR IGNORE INTO scores (name, score, first_submitted) VALUES (?, ?, ?)");
  if (!insert) return false;
  for (const SubmittedTable& table : tables) {
    size_t rowsAdded = 0;
    for (const ScoreRow& row : table.rows) {
      sqlite3_reset(insert.get());
      bindText(insert.get(), 1, row.name);
      sqlite3_bind_int64(insert.get(), 2, row.score);
      sqlite3_bind_int64(insert.get(), 3, table.submittedAt);
      if (sqlite3_step(insert.get()) != SQLITE_DONE) return false;
      rowsAdded += static_cast<size_t>(sqlite3_changes(db));
    }
    added.rowsPerTable.push_back(rowsAdded);
  }
  return true;
}

bool insertReports(sqlite3* db, const std::vector<BugReport>& reports, Added& added) {
  const Statement insert(
      db, "INSERT INTO reports (received, happened, expected, steps) VALUES (?, ?, ?, ?)");
  if (!insert) return false;
  for (const BugReport& report : reports) {
    sqlite3_reset(insert.get());
    sqlite3_bind_int64(insert.get(), 1, report.receivedAt);
    bindText(insert.get(), 2, report.happened);
    bindText(insert.get(), 3, report.expected);
    bindText(insert.get(), 4, report.steps);
    if (sqlite3_step(insert.get()) != SQLITE_DONE) return false;
    added.reportNumbers.push_back(sqlite3_last_insert_rowid(db));
  }
  return true;
}

}  // namespace

std::unique_ptr<ScoreStore> ScoreStore::open(const std::string& file, std::string& error,
                                             bool mustExist) {
  sqlite3* db = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | (mustExist ? 0 : SQLITE_OPEN_CREATE);
  const int opened = sqlite3_open_v2(file.c_str(), &db, flags, nullptr);
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

std::optional<Added> ScoreStore::add(const Additions& additions) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (!execute(db_, "BEGIN IMMEDIATE")) {
    logFailure(db_, "cannot store scores");
    return std::nullopt;
  }
  Added added;
  if (insertTables(db_, additions.tables, added) &&
      insertReports(db_, additions.reports, added) && execute(db_, "COMMIT")) {
    return added;
  }
  logFailure(db_, "cannot store scores");
  execute(db_, "ROLLBACK");
  return std::nullopt;
}

std::optional<size_t> ScoreStore::submit(const std::vector<ScoreRow>& rows, int64_t submittedAt) {
  const std::optional<Added> added = add({{{rows, submittedAt}}, {}});
  if (!added) return std::nullopt;
  return added->rowsPerTable.front();
}

std::optional<std::vector<StoredScore>> ScoreStore::best(size_t limit) {
  const std::lock_guard<std::mutex> lock(mutex_);
  return readBest(limit);
}

std::optional<Scoreboard> ScoreStore::scoreboard(size_t limit) {
  const std::lock_guard<std::mutex> lock(mutex_);
  std::optional<std::vector<StoredScore>> best = readBest(limit);
  const std::optional<size_t> total = countRows();
  if (!best || !total) return std::nullopt;
  return Scoreboard{std::move(*best), *total};
}

std::optional<size_t> ScoreStore::rowCount() {
  const std::lock_guard<std::mutex> lock(mutex_);
  return countRows();
}

std::optional<std::vector<StoredReport>> ScoreStore::reports() {
  const std::lock_guard<std::mutex> lock(mutex_);
  const Statement select(
      db_, "SELECT id, received, happened, expected, steps FROM reports ORDER BY id");
  if (!select) return std::nullopt;
  std::vector<StoredReport> reports;
  int step;
  while ((step = sqlite3_step(select.get())) == SQLITE_ROW) {
    reports.push_back({sqlite3_column_int64(select.get(), 0),
                       {blobText(select.get(), 2), blobText(select.get(), 3),
                        blobText(select.get(), 4), sqlite3_column_int64(select.get(), 1)}});
  }
  if (step != SQLITE_DONE) {
    logFailure(db_, "cannot read the reports");
    return std::nullopt;
  }
  return reports;
}

std::optional<size_t> ScoreStore::countRows() {
  const std::optional<int64_t> count = integer(db_, "SELECT count(*) FROM scores");
  if (!count) return std::nullopt;
  return static_cast<size_t>(*count);
}

std::optional<std::vector<StoredScore>> ScoreStore::readBest(size_t limit) {
  const Statement select(db_,
                         "SELECT name, score, first_submitted FROM scores "
                         "ORDER BY score DESC, first_submitted, id LIMIT ?");
  if (!select) return std::nullopt;
  sqlite3_bind_int64(select.get(), 1, static_cast<sqlite3_int64>(limit));
  std::vector<StoredScore> rows;
  int step;
  while ((step = sqlite3_step(select.get())) == SQLITE_ROW) {
    rows.push_back({blobText(select.get(), 0),
                    static_cast<uint32_t>(sqlite3_column_int64(select.get(), 1)),
                    sqlite3_column_int64(select.get(), 2)});
  }
  if (step != SQLITE_DONE) {
    logFailure(db_, "cannot read scores");
    return std::nullopt;
  }
  return rows;
}
