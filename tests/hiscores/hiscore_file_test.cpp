#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "hiscores/hiscore_file.h"
#include "hiscores/hiscore_state.h"
#include "scratch_folder.h"
#include "table_rows.h"

namespace {

const std::vector<uint32_t> kDefaultScores{500, 450, 400, 350, 300, 250, 200, 150, 100, 50};

// Every byte value against every position key: 128 and 65 (the period of i % 13 + i % 5) are
// coprime, so i % 128 and i % 65 run through all pairs.
std::string everyValueAtEveryKey(unsigned base) {
  std::string bytes(128 * 65 + 1, '\0');
  for (size_t i = 0; i + 1 < bytes.size(); ++i) bytes[i] = static_cast<char>(base + i % 128);
  return bytes;
}

TEST(HiscoreTransform, StoredFormDoublesAndAddsThePositionKey) {
  std::string plain(66, 'a');
  plain[64] = 'z';  // 2 * 0x7A + 64 % 13 + 64 % 5 = 260 wraps to 4
  plain[65] = '\0';
  const std::string stored = storedFormOf(plain);
  EXPECT_EQ(static_cast<unsigned char>(stored[64]), 0x04);
  EXPECT_EQ(static_cast<unsigned char>(stored[0]), 0xC2);
  EXPECT_EQ(static_cast<unsigned char>(stored[12]), 0xC2 + 12 + 2);
  EXPECT_EQ(plainLayoutOf(stored), plain);
}

TEST(HiscoreTransform, LastByteIsNeverTransformed) {
  EXPECT_EQ(storedFormOf(std::string("ab\x05", 3)), std::string("\xC2\xC6\0", 3));
  EXPECT_EQ(plainLayoutOf(std::string("\xC2\xC6\xFF", 3)), std::string("ab\0", 3));
  EXPECT_EQ(storedFormOf(std::string("\x40", 1)), std::string("\0", 1));
  EXPECT_EQ(storedFormOf(""), "");
  EXPECT_EQ(plainLayoutOf(""), "");
}

TEST(HiscoreTransform, BytesBelow0x80RoundTripExactly) {
  const std::string plain = everyValueAtEveryKey(0);
  EXPECT_EQ(plainLayoutOf(storedFormOf(plain)), plain);
}

TEST(HiscoreTransform, BytesFrom0x80LoseTheirTopBit) {
  const std::string high = everyValueAtEveryKey(0x80);
  EXPECT_EQ(plainLayoutOf(storedFormOf(high)), everyValueAtEveryKey(0));
}

struct TextCase {
  const char* text;
  uint32_t value;
};

TEST(ScoreFromText, FollowsThe32BitStrtoul) {
  const TextCase cases[] = {
      {"500", 500},
      {"007", 7},
      {" \t\n\v\f\r42", 42},
      {"+42", 42},
      {"12abc", 12},
      {"12 34", 12},
      {"4294967295", 4294967295u},
      {"4294967296", 4294967295u},
      {"99999999999999999999999", 4294967295u},
      {"-1", 4294967295u},
      {"-4294967295", 1},
      {"-4294967296", 4294967295u},
      {"-0", 0},
      {"0", 0},
      {"", 0},
      {"abc", 0},
      {"+", 0},
      {"+ 5", 0},
      {"--5", 0},
      {"0x10", 0},
  };
  for (const TextCase& c : cases) EXPECT_EQ(scoreFromText(c.text), c.value) << '"' << c.text << '"';
}

// A plain layout made of name and score strings, as the file holds them.
std::string plainOf(const std::vector<std::string>& strings) {
  std::string plain;
  for (const std::string& s : strings) {
    plain += s;
    plain += '\0';
  }
  return plain;
}

std::vector<std::string> defaultStrings() {
  std::vector<std::string> strings;
  for (uint32_t score : kDefaultScores) {
    strings.push_back("Anonymous");
    strings.push_back(std::to_string(score));
  }
  return strings;
}

class HiscoreFile : public ::testing::Test {
 protected:
  // A table that is neither empty nor the default, so a load must replace every row.
  void SetUp() override {
    for (uint16_t i = 0; i < table.count; ++i) {
      table.entries[i].setName("old");
      table.entries[i].score = 7;
    }
  }

  void writeStored(const std::string& plain) {
    ScratchFolder::writeFile(kHiscoreFileName, storedFormOf(plain));
  }

  void expectDefaultTable() {
    EXPECT_EQ(scoresOf(table), kDefaultScores);
    EXPECT_EQ(namesOf(table), std::vector<std::string>(10, "Anonymous"));
  }

  ScratchFolder folder;
  HiscoreTable table{10};
};

TEST_F(HiscoreFile, MissingFileGivesTheDefaultTable) {
  table.load();
  expectDefaultTable();
  EXPECT_FALSE(ScratchFolder::exists(kHiscoreFileName));
}

TEST_F(HiscoreFile, LocalTableLoadsTenDefaultRowsWithoutAFile) {
  localHiscores.load();
  EXPECT_EQ(scoresOf(localHiscores), kDefaultScores);
}

TEST_F(HiscoreFile, SaveWritesTheTransformedLayout) {
  table.fillDefaultTable();
  table.entries[0].setName("abc");
  table.entries[0].score = 500;
  ASSERT_TRUE(table.save());
  const std::string stored = ScratchFolder::readFile(kHiscoreFileName);
  EXPECT_EQ(stored.substr(0, 8), "\xC2\xC6\xCA\x06\x72\x65\x67\x09");
  std::vector<std::string> strings = defaultStrings();
  strings[0] = "abc";
  EXPECT_EQ(plainLayoutOf(stored), plainOf(strings));
  EXPECT_EQ(stored.back(), '\0');
}

struct RoundTripCase {
  const char* label;
  std::vector<std::string> names;
  std::vector<uint32_t> scores;
  std::vector<std::string> namesRead;
};

void PrintTo(const RoundTripCase& c, std::ostream* out) { *out << c.label; }

const std::vector<std::string> kAnonymous(10, "Anonymous");

const RoundTripCase kRoundTrips[] = {
    {"default table", kAnonymous, kDefaultScores, kAnonymous},
    {"names of 31 characters",
     std::vector<std::string>(10, std::string(31, 'z')),
     std::vector<uint32_t>(10, 4294967295u),
     std::vector<std::string>(10, std::string(31, 'z'))},
    {"empty names",
     std::vector<std::string>(10, ""),
     {10, 9, 8, 7, 6, 5, 4, 3, 2, 1},
     std::vector<std::string>(10, "")},
    {"high bytes lose their top bit",
     {"Ren\xE9", "\xFF", "\xC1\xC2", "a b_c", "x", "y", "z", "~", "\x7F", "\x81!"},
     kDefaultScores,
     {"Ren\x69", "\x7F", "AB", "a b_c", "x", "y", "z", "~", "\x7F", "\x01!"}},
};

class HiscoreRoundTrip : public HiscoreFile, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(HiscoreRoundTrip, SaveThenLoadGivesTheRowsBack) {
  const RoundTripCase& c = GetParam();
  HiscoreTable written(10);
  for (uint16_t i = 0; i < written.count; ++i) {
    written.entries[i].setName(c.names[i]);
    written.entries[i].score = c.scores[i];
  }
  ASSERT_TRUE(written.save());
  size_t plainLength = 0;
  for (uint16_t i = 0; i < written.count; ++i) {
    plainLength += c.names[i].size() + std::to_string(c.scores[i]).size() + 2;
  }
  EXPECT_EQ(ScratchFolder::readFile(kHiscoreFileName).size(), plainLength);

  table.load();
  EXPECT_EQ(namesOf(table), c.namesRead);
  EXPECT_EQ(scoresOf(table), c.scores);
}

INSTANTIATE_TEST_SUITE_P(Rows, HiscoreRoundTrip, ::testing::ValuesIn(kRoundTrips));

struct FileCase {
  const char* label;
  std::string plain;
};

void PrintTo(const FileCase& c, std::ostream* out) { *out << c.label; }

std::string withString(size_t index, const std::string& text) {
  std::vector<std::string> strings = defaultStrings();
  strings[index] = text;
  return plainOf(strings);
}

std::string droppingLast() {
  std::vector<std::string> strings = defaultStrings();
  strings.pop_back();
  return plainOf(strings);
}

std::string withExtraString() {
  std::vector<std::string> strings = defaultStrings();
  strings.push_back("1");
  return plainOf(strings);
}

// The longest acceptable file plus one byte, in the first name.
std::string longerThan999() {
  const std::string plain = plainOf(defaultStrings());
  return withString(0, std::string(1000 - plain.size() + 9, 'L'));
}

class RejectedHiscoreFile : public HiscoreFile, public ::testing::WithParamInterface<FileCase> {};

TEST_P(RejectedHiscoreFile, GivesTheWholeDefaultTable) {
  writeStored(GetParam().plain);
  table.load();
  expectDefaultTable();
}

INSTANTIATE_TEST_SUITE_P(
    Invalid, RejectedHiscoreFile,
    ::testing::Values(FileCase{"empty file", ""},
                      FileCase{"one byte", std::string(1, '\0')},
                      FileCase{"score text 0", withString(1, "0")},
                      FileCase{"score without digits", withString(5, "abc")},
                      FileCase{"minus zero", withString(19, "-0")},
                      FileCase{"zero in the last row after good rows", withString(19, "")},
                      FileCase{"18 zero bytes before the last", droppingLast()},
                      FileCase{"20 zero bytes before the last", withExtraString()},
                      FileCase{"longer than 999 bytes", longerThan999()}));

TEST_F(HiscoreFile, AcceptsA999ByteFileAndTruncatesItsLongName) {
  const std::string plain = plainOf(defaultStrings());
  const std::string longName(999 - plain.size() + 9, 'L');
  const std::string file = withString(0, longName);
  ASSERT_EQ(file.size(), 999u);
  writeStored(file);
  table.load();
  EXPECT_EQ(table.row(0).nameText(), std::string(31, 'L'));
  EXPECT_EQ(table.row(0).score, 500u);
  EXPECT_EQ(table.row(1).nameText(), "Anonymous");
}

TEST_F(HiscoreFile, ScoreTextIsReadLikeStrtoul) {
  std::vector<std::string> strings = defaultStrings();
  strings[1] = "4294967296";
  strings[3] = "  +12xyz";
  strings[5] = "-1";
  writeStored(plainOf(strings));
  table.load();
  EXPECT_EQ(scoresOf(table), (std::vector<uint32_t>{4294967295u, 12, 4294967295u, 350, 300, 250,
                                                    200, 150, 100, 50}));
}

TEST_F(HiscoreFile, LastStoredByteIsTakenAsTheTerminatorWhateverItHolds) {
  std::string stored = storedFormOf(plainOf(defaultStrings()));
  stored.back() = '\xFF';
  ScratchFolder::writeFile(kHiscoreFileName, stored);
  table.load();
  EXPECT_EQ(scoresOf(table), kDefaultScores);
}

// 0x80 keeps no bit in the file; left alone it would read back as a terminator and the
// whole table would be lost, so it is saved as a question mark.
TEST_F(HiscoreFile, NameByte0x80ComesBackAsAQuestionMarkAndKeepsTheTable) {
  table.fillDefaultTable();
  table.entries[3].setName("a\x80" "b\xE9");
  table.entries[3].score = 350;
  ASSERT_TRUE(table.save());
  table.entries[0].score = 999;
  table.load();
  EXPECT_EQ(table.row(0).score, 500u);
  EXPECT_EQ(table.row(3).nameText(), "a?bi");
  EXPECT_EQ(table.row(3).score, 350u);
}

TEST_F(HiscoreFile, SaveReportsAFileThatCannotBeWritten) {
  std::filesystem::create_directory(kHiscoreFileName);
  ScratchFolder::writeFile(std::string(kHiscoreFileName) + "/keep", "x");
  table.fillDefaultTable();
  EXPECT_FALSE(table.save());
}

}  // namespace
