#include "score_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "scratch_folder.h"

namespace {

using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::IsEmpty;

std::vector<ScoreRow> tableWith(const std::string& prefix, uint32_t topScore) {
  std::vector<ScoreRow> rows;
  for (uint32_t row = 0; row < kSubmittedRows; ++row)
    rows.push_back({prefix + std::to_string(row), topScore - row});
  return rows;
}

class ScoreStoreTest : public ::testing::Test {
 protected:
  std::unique_ptr<ScoreStore> openStore() {
    std::string error;
    std::unique_ptr<ScoreStore> store = ScoreStore::open(kFile, error);
    EXPECT_TRUE(store) << error;
    return store;
  }

  const std::string kFile = "scores.sqlite";
  ScratchFolder folder;
};

TEST_F(ScoreStoreTest, ResentRowsAreStoredOnceWithTheirFirstTime) {
  const std::unique_ptr<ScoreStore> store = openStore();
  std::vector<ScoreRow> table = tableWith("p", 100);
  EXPECT_EQ(store->submit(table, 1000), 10u);
  EXPECT_EQ(store->submit(table, 2000), 0u);
  // The player's next table: one new row in the middle, the last row dropped off.
  table.insert(table.begin() + 3, ScoreRow{"new", 98});
  table.pop_back();
  EXPECT_EQ(store->submit(table, 3000), 1u);
  EXPECT_EQ(store->rowCount(), 11u);

  const std::optional<std::vector<StoredScore>> best = store->best(3);
  ASSERT_TRUE(best);
  EXPECT_THAT(*best, ElementsAre(Field(&StoredScore::firstSubmitted, 1000),
                                 Field(&StoredScore::firstSubmitted, 1000),
                                 Field(&StoredScore::firstSubmitted, 1000)));
}

TEST_F(ScoreStoreTest, SameNameWithAnotherScoreAndSameScoreWithAnotherNameAreOtherRows) {
  const std::unique_ptr<ScoreStore> store = openStore();
  EXPECT_EQ(
      store->submit({{"Ann", 500}, {"Ann", 400}, {"Bob", 500}, {"ann", 500}, {"Ann:", 500}}, 1),
      5u);
}

TEST_F(ScoreStoreTest, BestRowsComeByScoreThenByFirstArrival) {
  const std::unique_ptr<ScoreStore> store = openStore();
  store->submit({{"late", 300}, {"low", 100}}, 50);
  store->submit({{"early", 300}, {"top", 900}}, 10);
  store->submit({{"middle", 300}}, 30);
  const std::optional<std::vector<StoredScore>> best = store->best(4);
  ASSERT_TRUE(best);
  EXPECT_THAT(*best,
              ElementsAre(Field(&StoredScore::name, "top"), Field(&StoredScore::name, "early"),
                          Field(&StoredScore::name, "middle"), Field(&StoredScore::name, "late")));
}

TEST_F(ScoreStoreTest, NamesKeepEveryByteAndScoresTheirFull32Bits) {
  const std::string bytes("\x80\xE9\xFF%00:_#&\"<", 11);
  {
    const std::unique_ptr<ScoreStore> store = openStore();
    store->submit({{bytes, 4294967295u}, {"", 1}}, 1);
  }
  const std::optional<std::vector<StoredScore>> best = openStore()->best(10);
  ASSERT_TRUE(best);
  ASSERT_EQ(best->size(), 2u);
  EXPECT_EQ((*best)[0].name, bytes);
  EXPECT_EQ((*best)[0].score, 4294967295u);
  EXPECT_EQ((*best)[1].name, "");
}

TEST_F(ScoreStoreTest, RowsOutliveTheStore) {
  openStore()->submit(tableWith("keep", 50), 7);
  const std::unique_ptr<ScoreStore> reopened = openStore();
  EXPECT_EQ(reopened->rowCount(), 10u);
  EXPECT_EQ(reopened->submit(tableWith("keep", 50), 8), 0u);
}

TEST_F(ScoreStoreTest, ThreadsSubmittingAtOnceStoreEachRowOnce) {
  const std::unique_ptr<ScoreStore> store = openStore();
  std::vector<std::thread> threads;
  for (int thread = 0; thread < 8; ++thread) {
    threads.emplace_back([&store, thread] {
      // Neighbouring threads share half their rows.
      for (uint32_t round = 0; round < 20; ++round) {
        std::vector<ScoreRow> rows;
        for (uint32_t row = 0; row < kSubmittedRows; ++row) {
          const uint32_t id = static_cast<uint32_t>(thread) * 5 + row;
          rows.push_back({"t" + std::to_string(id), 1000000 - id * 100 - round});
        }
        store->submit(rows, 1);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(store->rowCount(), (7 * 5 + 10) * 20u);
}

TEST_F(ScoreStoreTest, AnEmptyStoreHasNoBestRows) {
  const std::optional<std::vector<StoredScore>> best = openStore()->best(100);
  ASSERT_TRUE(best);
  EXPECT_THAT(*best, IsEmpty());
}

TEST_F(ScoreStoreTest, FilesThatAreNoScoreDatabaseAreRefused) {
  ScratchFolder::writeFile("notes.txt", "This is not a database, just some text in a file.\n");
  sqlite3* other = nullptr;
  sqlite3_open("other.sqlite", &other);
  sqlite3_exec(other, "CREATE TABLE accounts (id INTEGER)", nullptr, nullptr, nullptr);
  sqlite3_close(other);

  for (const char* file : {"notes.txt", "other.sqlite", "missing-folder/scores.sqlite", "."}) {
    std::string error;
    EXPECT_EQ(ScoreStore::open(file, error), nullptr) << file;
    EXPECT_FALSE(error.empty()) << file;
  }
  std::string error;
  ScoreStore::open("other.sqlite", error);
  EXPECT_EQ(error, "not a Tessara hiscore database");
}

TEST_F(ScoreStoreTest, OneCommitStoresTablesAndReportsInTheOrderTheyCame) {
  const std::unique_ptr<ScoreStore> store = openStore();
  const BugReport first{"froze", "", "click", 5};
  const BugReport second{std::string("\x1B\0\xFF", 3), "x", "", 6};
  const std::optional<Added> added = store->add(
      {{{tableWith("a", 100), 1}, {tableWith("a", 100), 2}, {tableWith("b", 300), 3}},
       {first, second}});
  ASSERT_TRUE(added);
  EXPECT_EQ(added->rowsPerTable, (std::vector<size_t>{10, 0, 10}));
  EXPECT_EQ(added->reportNumbers, (std::vector<int64_t>{1, 2}));
  EXPECT_EQ(store->rowCount(), 20u);

  const std::optional<std::vector<StoredReport>> reports = openStore()->reports();
  ASSERT_TRUE(reports);
  ASSERT_EQ(reports->size(), 2u);
  EXPECT_EQ((*reports)[0].number, 1);
  EXPECT_EQ((*reports)[0].report, first);
  EXPECT_EQ((*reports)[1].report, second);
}

TEST_F(ScoreStoreTest, TheScoreboardCountsEveryRow) {
  const std::unique_ptr<ScoreStore> store = openStore();
  store->submit(tableWith("a", 100), 1);
  store->submit(tableWith("b", 50), 1);
  const std::optional<Scoreboard> board = store->scoreboard(3);
  ASSERT_TRUE(board);
  EXPECT_EQ(board->best.size(), 3u);
  EXPECT_EQ(board->best[0].score, 100u);
  EXPECT_EQ(board->totalRows, 20u);
}

// A database of the server before bug reports keeps its scores and gains the reports.
TEST_F(ScoreStoreTest, AnOlderDatabaseGainsTheReports) {
  openStore()->submit(tableWith("old", 100), 1);
  sqlite3* db = nullptr;
  sqlite3_open(kFile.c_str(), &db);
  ASSERT_EQ(sqlite3_exec(db, "DROP TABLE reports", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);

  const std::unique_ptr<ScoreStore> store = openStore();
  EXPECT_EQ(store->rowCount(), 10u);
  ASSERT_TRUE(store->add({{}, {{"x", "", "", 1}}}));
  EXPECT_EQ(store->reports()->size(), 1u);
}

TEST_F(ScoreStoreTest, OpeningForReadingCreatesNoFile) {
  std::string error;
  EXPECT_EQ(ScoreStore::open("missing.sqlite", error, true), nullptr);
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(ScratchFolder::exists("missing.sqlite"));
  openStore();
  EXPECT_NE(ScoreStore::open(kFile, error, true), nullptr);
}

}  // namespace
