#include "request_target.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace {

struct TargetCase {
  const char* label;
  std::string target;
  std::string path;
  std::optional<std::string> query;
};

void PrintTo(const TargetCase& c, std::ostream* out) { *out << c.label; }

class Targets : public ::testing::TestWithParam<TargetCase> {};

TEST_P(Targets, SplitIntoRawPathAndQuery) {
  const TargetParts parts = splitTarget(GetParam().target);
  EXPECT_EQ(parts.path, GetParam().path);
  EXPECT_EQ(parts.query ? std::optional<std::string>(*parts.query) : std::nullopt,
            GetParam().query);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, Targets,
    ::testing::Values(
        TargetCase{"origin form", "/ex/TessaraHST?Op=GetHTML", "/ex/TessaraHST", "Op=GetHTML"},
        TargetCase{"later question marks stay in the query", "/p?Op=SetScores&V=what?_1_", "/p",
                   "Op=SetScores&V=what?_1_"},
        TargetCase{"a hash before a question mark cuts nothing", "/p?Op=SetScores&V=#1?_5_",
                   "/p", "Op=SetScores&V=#1?_5_"},
        TargetCase{"no query", "/p", "/p", std::nullopt},
        TargetCase{"empty query", "/p?", "/p", ""},
        TargetCase{"nothing decoded", "/p%2Fq?V=%41", "/p%2Fq", "V=%41"},
        TargetCase{"absolute form with port", "http://xxx.xxx.xxx:8080/p?Op=GetHTML", "/p",
                   "Op=GetHTML"},
        TargetCase{"absolute form without port", "http://scores.example/p?x", "/p", "x"},
        TargetCase{"scheme in capitals", "HTTP://host/p?x", "/p", "x"},
        TargetCase{"absolute form without path", "http://host?Op=GetHTML", "", "Op=GetHTML"},
        TargetCase{"absolute form of the host alone", "http://host", "", std::nullopt},
        TargetCase{"another scheme is a path", "ftp://host/p", "ftp://host/p", std::nullopt}));

struct QueryCase {
  const char* label;
  std::optional<std::string> query;
  Operation operation;
  std::string value;
};

void PrintTo(const QueryCase& c, std::ostream* out) { *out << c.label; }

class Queries : public ::testing::TestWithParam<QueryCase> {};

TEST_P(Queries, NameTheOperation) {
  const ServletCall call = servletCall(GetParam().query);
  EXPECT_EQ(call.operation, GetParam().operation);
  EXPECT_EQ(call.scoreValue, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, Queries,
    ::testing::Values(QueryCase{"set scores keeps every byte", "Op=SetScores&V=A&B=1#2%_5_&x",
                                Operation::SetScores, "A&B=1#2%_5_&x"},
                      QueryCase{"set scores with an empty value",
                                "Op=SetScores&V=", Operation::SetScores, ""},
                      QueryCase{"scoreboard", "Op=GetHTML", Operation::GetHtml, ""},
                      QueryCase{"no query", std::nullopt, Operation::Unknown, ""},
                      QueryCase{"no Op", "V=a_1_", Operation::Unknown, ""},
                      QueryCase{"V before Op", "V=a_1_&Op=SetScores", Operation::Unknown, ""},
                      QueryCase{"set scores without V", "Op=SetScores", Operation::Unknown, ""},
                      QueryCase{"other operation", "Op=DeleteScores", Operation::Unknown, ""},
                      QueryCase{"names are case-sensitive", "op=gethtml", Operation::Unknown, ""},
                      QueryCase{"scoreboard with more", "Op=GetHTML&x=1", Operation::Unknown, ""}));

}  // namespace
