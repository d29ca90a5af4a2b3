#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "hiscores/hiscore_state.h"
#include "table_rows.h"

namespace {

TEST(HiscoreEntry, SetNameCopiesUpToTheTerminatorWithinTheField) {
  struct Case {
    std::string text;
    std::string stored;
  };
  const Case cases[] = {
      {"", ""},
      {"Jo Ann", "Jo Ann"},
      {std::string(31, 'x'), std::string(31, 'x')},
      {std::string(32, 'y'), std::string(31, 'y')},
      {std::string(200, 'z'), std::string(31, 'z')},
      {std::string("ab\0cd", 5), "ab"},
  };
  for (const Case& c : cases) {
    HiscoreEntry entry;
    entry.setName(std::string(40, '#'));
    entry.setName(c.text);
    EXPECT_EQ(entry.nameText(), c.stored) << c.text;
    for (size_t i = c.stored.size(); i < kNameFieldBytes; ++i) {
      EXPECT_EQ(entry.name[i], '\0') << c.text << " byte " << i;
    }
  }
}

TEST(HiscoreEntry, SetNameFromItsOwnFieldKeepsTheName) {
  HiscoreEntry entry;
  entry.setName("Jo Ann");
  entry.setName(entry.nameText());
  EXPECT_EQ(entry.nameText(), "Jo Ann");
}

TEST(HiscoreTable, DefaultTableIsTenAnonymousRowsFrom500To50) {
  HiscoreTable table(10);
  table.fillDefaultTable();
  EXPECT_EQ(scoresOf(table),
            (std::vector<uint32_t>{500, 450, 400, 350, 300, 250, 200, 150, 100, 50}));
  EXPECT_EQ(namesOf(table), std::vector<std::string>(10, "Anonymous"));
}

// The default scores under distinct names, so that moved and dropped rows can be told apart.
class NamedDefaultTable : public ::testing::Test {
 protected:
  void SetUp() override {
    table.fillDefaultTable();
    for (uint16_t i = 0; i < table.count; ++i) table.entries[i].setName("r" + std::to_string(i));
    highlightRow = kNoHighlightRow;
  }
  void TearDown() override { highlightRow = kNoHighlightRow; }

  HiscoreTable table{10};
};

struct InsertCase {
  const char* label;
  uint32_t score;
  bool qualified;
  int row;
  std::vector<uint32_t> scores;
  std::vector<std::string> names;
};

const std::vector<uint32_t> kDefaultScores{500, 450, 400, 350, 300, 250, 200, 150, 100, 50};
const std::vector<std::string> kDefaultNames{"r0", "r1", "r2", "r3", "r4",
                                             "r5", "r6", "r7", "r8", "r9"};

const InsertCase kInsertCases[] = {
    {"equal to the tenth row", 50, false, kNoHighlightRow, kDefaultScores, kDefaultNames},
    {"below the tenth row", 49, false, kNoHighlightRow, kDefaultScores, kDefaultNames},
    {"zero", 0, false, kNoHighlightRow, kDefaultScores, kDefaultNames},
    {"just above the tenth row",
     51,
     true,
     9,
     {500, 450, 400, 350, 300, 250, 200, 150, 100, 51},
     {"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "new"}},
    {"equal to a row higher up lands below it",
     300,
     true,
     5,
     {500, 450, 400, 350, 300, 300, 250, 200, 150, 100},
     {"r0", "r1", "r2", "r3", "r4", "new", "r5", "r6", "r7", "r8"}},
    {"equal to the top row",
     500,
     true,
     1,
     {500, 500, 450, 400, 350, 300, 250, 200, 150, 100},
     {"r0", "new", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8"}},
    {"above every row",
     501,
     true,
     0,
     {501, 500, 450, 400, 350, 300, 250, 200, 150, 100},
     {"new", "r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8"}},
    {"largest score compares unsigned",
     4294967295u,
     true,
     0,
     {4294967295u, 500, 450, 400, 350, 300, 250, 200, 150, 100},
     {"new", "r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8"}},
};

void PrintTo(const InsertCase& c, std::ostream* out) { *out << c.label; }

class InsertPlacement : public NamedDefaultTable,
                        public ::testing::WithParamInterface<InsertCase> {};

TEST_P(InsertPlacement, QualifiesAndPlaces) {
  const InsertCase& c = GetParam();
  highlightRow = 7;  // a score that does not qualify must leave it alone
  const InsertOutcome outcome = table.insert(c.score, "new");
  EXPECT_EQ(outcome.qualified, c.qualified);
  if (c.qualified) {
    EXPECT_EQ(outcome.row, c.row);
  }
  EXPECT_EQ(highlightRow, c.qualified ? c.row : 7);
  EXPECT_EQ(scoresOf(table), c.scores);
  EXPECT_EQ(namesOf(table), c.names);
}

INSTANTIATE_TEST_SUITE_P(DefaultTable, InsertPlacement, ::testing::ValuesIn(kInsertCases));

TEST_F(NamedDefaultTable, EqualScoresKeepTheirOrderOfArrival) {
  table.insert(300, "first");
  const InsertOutcome second = table.insert(300, "second");
  EXPECT_EQ(second.row, 6);
  EXPECT_EQ(highlightRow, 6);
  EXPECT_EQ(namesOf(table), (std::vector<std::string>{"r0", "r1", "r2", "r3", "r4", "first",
                                                      "second", "r5", "r6", "r7"}));
}

TEST_F(NamedDefaultTable, InsertTruncatesALongName) {
  table.insert(1000, std::string(40, 'n'));
  EXPECT_EQ(table.row(0).nameText(), std::string(31, 'n'));
}

}  // namespace
