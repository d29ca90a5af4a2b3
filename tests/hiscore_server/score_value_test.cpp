#include "score_value.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "hiscores/hiscore_table.h"
#include "hiscores/score_request.h"
#include "raw_client.h"
#include "request_target.h"

namespace {

struct Row {
  std::string name;
  uint32_t score;
};

// What the server should read back from the table: the names as sent, spaces as colons.
std::vector<ScoreRow> sentRows(const std::vector<Row>& rows) {
  std::vector<ScoreRow> sent;
  for (const Row& row : rows) {
    std::string name = row.name;
    for (char& c : name) {
      if (c == ' ') c = ':';
    }
    sent.push_back({name, row.score});
  }
  return sent;
}

// The value V as the server finds it in the request line that the game builds for the rows.
std::string valueOfGameRequest(const std::vector<Row>& rows, const ScoreServer& server) {
  HiscoreTable table(kHiscoreRows);
  for (size_t index = 0; index < rows.size(); ++index) {
    table.entries[index].setName(rows[index].name);
    table.entries[index].score = rows[index].score;
  }
  const std::optional<std::string> request = buildScoreRequest(table, server);
  if (!request) return {};
  const std::string target = targetOfGameRequest(*request);
  const ServletCall call = servletCall(splitTarget(target).query);
  return call.operation == Operation::SetScores ? std::string(call.scoreValue) : std::string();
}

// Builds V row by row with the game's own row encoder.
std::string valueOf(const std::vector<Row>& rows) {
  std::string value;
  for (const Row& row : rows) {
    HiscoreEntry entry;
    entry.setName(row.name);
    entry.score = row.score;
    appendScoreRow(value, entry);
    value += '_';
  }
  return value;
}

const std::vector<Row> kDefaultRows = {{"Anonymous", 500}, {"Anonymous", 450}, {"Anonymous", 400},
                                       {"Anonymous", 350}, {"Anonymous", 300}, {"Anonymous", 250},
                                       {"Anonymous", 200}, {"Anonymous", 150}, {"Anonymous", 100},
                                       {"Anonymous", 50}};

// Every character the name box lets a player type that the request carries unusually.
const std::vector<Row> kAwkwardRows = {
    {"Jo Ann  Smith", 3000000000u},
    {"snake_case_name", 90000},
    {"mike_1987", 1987},
    {"x_5", 10},
    {"A&B=C", 5},
    {"100% #1 ?x", 5},
    {"", 4},
    {"_lead_and_trail_", 3},
    {"tab\there", 2},
    {"a__b_42", 1},
};

struct FormCase {
  const char* label;
  ScoreServer server;
};

void PrintTo(const FormCase& c, std::ostream* out) { *out << c.label; }

class GameRequestForms : public ::testing::TestWithParam<FormCase> {};

TEST_P(GameRequestForms, DefaultTableReadsBackRowForRow) {
  EXPECT_EQ(parseScoreValue(valueOfGameRequest(kDefaultRows, GetParam().server)),
            sentRows(kDefaultRows));
}

TEST_P(GameRequestForms, AwkwardNamesReadBackRowForRow) {
  const std::optional<std::vector<ScoreRow>> rows =
      parseScoreValue(valueOfGameRequest(kAwkwardRows, GetParam().server));
  ASSERT_TRUE(rows);
  EXPECT_EQ(*rows, sentRows({{"Jo Ann  Smith", 3000000000u},
                             {"snake_case_name", 90000},
                             {"mike_1987", 1987},
                             {"x_5", 10},
                             {"A&B=C", 5},
                             {"100% #1 ?x", 5},
                             {"", 4},
                             {"_lead_and_trail_", 3},
                             {"tab%09here", 2},
                             {"a__b_42", 1}}));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, GameRequestForms,
    ::testing::Values(FormCase{"origin form",
                               {false, "127.0.0.1", 8080, "/examples/servlet/TessaraHST"}},
                      FormCase{"absolute form on port 80",
                               {true, "scores.example", 80, "/examples/servlet/TessaraHST"}},
                      FormCase{"absolute form with a port",
                               {true, "scores.example", 8080, "/examples/servlet/TessaraHST"}}));

TEST(ScoreValue, LongestNamesOfTheGameAreAccepted) {
  const std::string plain(kMaxNameLength, 'W');
  const std::string controls(kMaxNameLength, '\x01');  // sent as 93 bytes of %01
  const std::vector<Row> rows = {{plain, 900}, {controls, 800}, {plain, 700}, {plain, 600},
                                 {plain, 500}, {plain, 400},    {plain, 300}, {plain, 200},
                                 {plain, 100}, {controls, 1}};
  std::vector<ScoreRow> expected = sentRows(rows);
  std::string escaped;
  for (size_t i = 0; i < kMaxNameLength; ++i) escaped += "%01";
  expected[1].name = expected[9].name = escaped;
  EXPECT_EQ(parseScoreValue(valueOf(rows)), expected);
}

// A value that fits more than one cut into ten ordered rows.
struct AmbiguousCase {
  const char* label;
  std::string value;
  std::vector<ScoreRow> rows;
};

void PrintTo(const AmbiguousCase& c, std::ostream* out) { *out << c.label; }

class AmbiguousValues : public ::testing::TestWithParam<AmbiguousCase> {};

TEST_P(AmbiguousValues, NamesTakeAsManyUnderscoresAsTheyCan) {
  EXPECT_EQ(parseScoreValue(GetParam().value), GetParam().rows);
}

const std::string kTail = "c_4_d_3_e_3_f_2_g_2_h_1_i_1_";
const std::vector<ScoreRow> kTailRows = {{"c", 4}, {"d", 3}, {"e", 3}, {"f", 2},
                                         {"g", 2}, {"h", 1}, {"i", 1}};

// The rows before kTail, then those of kTail, then the rows after it.
std::vector<ScoreRow> around(std::vector<ScoreRow> head, const std::vector<ScoreRow>& last = {}) {
  head.insert(head.end(), kTailRows.begin(), kTailRows.end());
  head.insert(head.end(), last.begin(), last.end());
  return head;
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, AmbiguousValues,
    ::testing::Values(
        // Also readable as (x, 5), (10_b, 5): the number ending the name stays in it.
        AmbiguousCase{"name ending in a number", "a_12_x_5_10_b_5_" + kTail,
                      around({{"a", 12}, {"x_5", 10}, {"b", 5}})},
        AmbiguousCase{"name ending in the next row's score", "a_12_x_5_5_b_5_" + kTail,
                      around({{"a", 12}, {"x_5", 5}, {"b", 5}})},
        // The price of the rule: a name that starts with a number and an underscore gives it
        // to the row above when the order allows, here (a, 12), (6_b, 5).
        AmbiguousCase{"name starting with a number", "a_12_6_b_5_" + kTail + "j_1_",
                      around({{"a_12", 6}, {"b", 5}}, {{"j", 1}})},
        // Two rows whose names fit one name of the game's length are read as one row, so
        // eleven short rows pass as ten.
        AmbiguousCase{"eleven short rows", "a_9_b_8_" + kTail + "j_1_k_1_",
                      around({{"a_9_b", 8}}, {{"j", 1}, {"k", 1}})}));

TEST(ScoreValue, ScoresRunUpToThe32BitLimit) {
  EXPECT_EQ(parseScoreValue("a_4294967295_" + kTail + "j_1_k_1_"),
            around({{"a", 4294967295u}}, {{"j", 1}, {"k", 1}}));
}

// The game prints a score of 2^31 or more as a negative number; the row holds that number
// modulo 2^32, and the order is that of the unsigned scores.
TEST(ScoreValue, ScoresPrintedNegativeAreReadModulo2To32) {
  const std::vector<Row> rows = {{"Big", 3000000000u}, {"Top", 4294967295u}, {"Half", 0x80000000u},
                                 {"Max", 2147483647u}, {"a", 8},             {"b", 7},
                                 {"c", 6},             {"d", 5},             {"e", 4},
                                 {"f", 1}};
  const std::string value = valueOf(rows);
  EXPECT_EQ(value.substr(0, 46), "Big_-1294967296_Top_-1_Half_-2147483648_Max_21");
  // Rows as a table holds them: highest first.
  EXPECT_EQ(parseScoreValue(valueOf({rows[1], rows[0], rows[2], rows[3], rows[4], rows[5],
                                     rows[6], rows[7], rows[8], rows[9]})),
            sentRows({rows[1], rows[0], rows[2], rows[3], rows[4], rows[5], rows[6], rows[7],
                      rows[8], rows[9]}));
  EXPECT_EQ(parseScoreValue(value), std::nullopt);  // 3000000000 above 4294967295: rising
}

struct MalformedCase {
  const char* label;
  std::string value;
};

void PrintTo(const MalformedCase& c, std::ostream* out) { *out << c.label; }

class MalformedValues : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedValues, AreRefused) { EXPECT_EQ(parseScoreValue(GetParam().value), std::nullopt); }

const std::string kDefaultValue = valueOf(kDefaultRows);
// Names too long for two rows to pass as one.
const std::string kLongName = "Twentythree_characters";

std::string longRows(int count) {
  std::string value;
  for (int row = 0; row < count; ++row) value += kLongName + "_" + std::to_string(1000 - row) + "_";
  return value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, MalformedValues,
    ::testing::Values(
        MalformedCase{"empty", ""},
        MalformedCase{"nine rows", valueOf({kDefaultRows.begin(), kDefaultRows.end() - 1})},
        MalformedCase{"eleven rows", longRows(11)},
        MalformedCase{"increasing scores", valueOf({{"a", 1},
                                                    {"b", 2},
                                                    {"c", 3},
                                                    {"d", 4},
                                                    {"e", 5},
                                                    {"f", 6},
                                                    {"g", 7},
                                                    {"h", 8},
                                                    {"i", 9},
                                                    {"j", 10}})},
        MalformedCase{"one score rising", "a_9_b_8_c_7_d_6_e_5_f_4_g_3_h_2_i_1_j_2_"},
        MalformedCase{"score 0", "a_9_b_8_c_7_d_6_e_5_f_4_g_3_h_2_i_1_j_0_"},
        MalformedCase{"plus sign", "a_+9_b_8_c_7_d_6_e_5_f_4_g_3_h_2_i_1_j_1_"},
        MalformedCase{"minus zero", "a_9_b_8_c_7_d_6_e_5_f_4_g_3_h_2_i_1_j_-0_"},
        MalformedCase{"minus alone", "a_9_b_8_c_7_d_6_e_5_f_4_g_3_h_2_i_1_j_-_"},
        MalformedCase{"negative with a leading zero", "a_-01_b_8_c_7_d_6_e_5_f_4_g_3_h_2_i_1_j_1_"},
        // A signed 32-bit print goes no lower than -2147483648.
        MalformedCase{"below what 32 bits print",
                      "a_-2147483649_b_8_c_7_d_6_e_5_f_4_g_3_h_2_i_1_j_1_"},
        MalformedCase{"two minus signs", "a_--9_b_8_c_7_d_6_e_5_f_4_g_3_h_2_i_1_j_1_"},
        // 3000000000 (sent as -1294967296) above 4294967295 (sent as -1): rising.
        MalformedCase{"negative scores rising", "a_-1294967296_b_-1_" + kTail + "j_1_"},
        MalformedCase{"leading zero", "a_9_b_8_c_7_d_6_e_5_f_4_g_3_h_2_i_1_j_01_"},
        MalformedCase{"over 32 bits", "a_4294967296_b_8_c_7_d_6_e_5_f_4_g_3_h_2_i_1_j_1_"},
        MalformedCase{"non-digits", "a_9_b_8_c_7_d_6_e_5_f_4_g_3_h_2_i_1_j_x1_"},
        MalformedCase{"trailing garbage", kDefaultValue + "garbage"},
        MalformedCase{"trailing garbage row", kDefaultValue + "garbage_"},
        MalformedCase{"missing final underscore",
                      kDefaultValue.substr(0, kDefaultValue.size() - 1)},
        MalformedCase{"doubled final underscore", kDefaultValue + "_"},
        MalformedCase{"name of 32 characters",
                      std::string(32, 'n') + "_9_b_8_c_7_d_6_e_5_f_4_g_3_h_2_i_1_j_1_"},
        MalformedCase{"raw control byte", "a\x01_9_b_8_c_7_d_6_e_5_f_4_g_3_h_2_i_1_j_1_"},
        MalformedCase{"raw space", "a b_9_b_8_c_7_d_6_e_5_f_4_g_3_h_2_i_1_j_1_"},
        MalformedCase{"a 100 KB value", std::string(100 * 1024, 'a') + "_1_"}));

}  // namespace
