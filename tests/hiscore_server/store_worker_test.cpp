#include "store_worker.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "scratch_folder.h"

namespace {

std::vector<ScoreRow> tableWith(const std::string& prefix, uint32_t topScore) {
  std::vector<ScoreRow> rows;
  for (uint32_t row = 0; row < kSubmittedRows; ++row)
    rows.push_back({prefix + std::to_string(row), topScore - row});
  return rows;
}

// Rows in the file as another program sees them.
int64_t rowsOnDisk(const char* file) {
  sqlite3* db = nullptr;
  sqlite3_open(file, &db);
  sqlite3_stmt* count = nullptr;
  sqlite3_prepare_v2(db, "SELECT count(*) FROM scores", -1, &count, nullptr);
  const int64_t rows = sqlite3_step(count) == SQLITE_ROW ? sqlite3_column_int64(count, 0) : -1;
  sqlite3_finalize(count);
  sqlite3_close(db);
  return rows;
}

// Counts answers and waits for a number of them.
class Answers {
 public:
  StoreWorker::StoredCallback expect(std::optional<int64_t> wanted) {
    return [this, wanted](std::optional<int64_t> got) {
      const std::lock_guard<std::mutex> lock(mutex_);
      if (got != wanted) ++wrong_;
      ++count_;
      done_.notify_all();
    };
  }
  void waitFor(int count) {
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait_for(lock, std::chrono::seconds(20), [&] { return count_ >= count; });
  }
  int count() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return count_;
  }
  int wrong() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return wrong_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable done_;
  int count_ = 0;
  int wrong_ = 0;
};

class StoreWorkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    store = ScoreStore::open("scores.sqlite", error);
    ASSERT_TRUE(store) << error;
  }

  ScratchFolder folder;
  std::unique_ptr<ScoreStore> store;
};

// While one commit waits on the disk (here: on another program's lock), the submissions that
// arrive go into the next commit together, and each is answered once its rows are on disk.
TEST_F(StoreWorkerTest, SubmissionsArrivingDuringACommitShareTheNextOne) {
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open("scores.sqlite", &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

  std::atomic<int> answeredBeforeOnDisk{0};
  Answers answers;
  {
    StoreWorker worker(*store, 100);
    constexpr int kTables = 30;
    for (int table = 0; table < kTables; ++table) {
      auto counted = answers.expect(10);
      worker.submitTable({tableWith("t" + std::to_string(table) + "-", 1000), 1},
                         [&, counted, table](std::optional<int64_t> added) {
                           if (rowsOnDisk("scores.sqlite") < 10 * (table + 1)) ++answeredBeforeOnDisk;
                           counted(added);
                         });
      // The first one is under way before the others arrive.
      if (table == 0) std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    EXPECT_EQ(answers.count(), 0);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    answers.waitFor(kTables);
    EXPECT_EQ(answers.wrong(), 0);
    EXPECT_EQ(worker.commits(), 2u);
  }
  sqlite3_close(other);
  EXPECT_EQ(answeredBeforeOnDisk, 0);
  EXPECT_EQ(store->rowCount(), 300u);
}

TEST_F(StoreWorkerTest, ReportsAreNumberedAndTheScoreboardRead) {
  Answers answers;
  std::optional<Scoreboard> board;
  {
    StoreWorker worker(*store, 3);
    worker.submitTable({tableWith("a", 100), 1}, answers.expect(10));
    worker.submitReport({"froze", "", "", 1}, answers.expect(1));
    worker.submitReport({"again", "", "", 2}, answers.expect(2));
    answers.waitFor(3);
    worker.readScoreboard([&](const std::optional<Scoreboard>& read) { board = read; });
  }  // finishes the read before it ends
  EXPECT_EQ(answers.wrong(), 0);
  ASSERT_TRUE(board);
  EXPECT_EQ(board->best.size(), 3u);
  EXPECT_EQ(board->totalRows, 10u);
}

TEST_F(StoreWorkerTest, EndingFinishesEverySubmissionAskedFor) {
  Answers answers;
  {
    StoreWorker worker(*store, 100);
    for (int table = 0; table < 20; ++table)
      worker.submitTable({tableWith("t" + std::to_string(table) + "-", 1000), 1},
                         answers.expect(10));
  }
  EXPECT_EQ(answers.count(), 20);
  EXPECT_EQ(answers.wrong(), 0);
  EXPECT_EQ(store->rowCount(), 200u);
}

}  // namespace
