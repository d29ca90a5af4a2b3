#include "report_listing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

TEST(ReportListing, ShowsEachReportWithItsNumberTimeAndIndentedLines) {
  const std::string text = listReports({{7, {"It froze.\nTwice.", "", "Expert level", 1700000000}}});
  EXPECT_EQ(text,
            "Report 7, received 2023-11-14 22:13:20 UTC\n"
            "What happened:\n"
            "  It froze.\n"
            "  Twice.\n"
            "What was expected:\n"
            "  (empty)\n"
            "Steps:\n"
            "  Expert level\n"
            "\n");
  EXPECT_EQ(listReports({}), "No bug reports.\n");
}

// A report is a player's text printed on the operator's terminal.
TEST(ReportListing, NoReportCanControlTheTerminal) {
  const std::string hostile =
      "a\x1B]0;owned\x07"
      "b\x1B[2Jc\rd\x7F"
      "e\xC2\x9B"
      "31mf\xE2\x80\xAEg\xFF\xC3h\xC0\xAFi\xED\xA0\x80j";
  const std::string text = listReports({{1, {hostile, "caf\xC3\xA9\t\xE2\x82\xAC", "", 0}}});
  for (const char* control : {"\x1B", "\x07", "\r", "\x7F", "\xC2\x9B", "\xE2\x80\xAE"})
    EXPECT_THAT(text, Not(HasSubstr(control)));
  EXPECT_THAT(text, HasSubstr("  a\xEF\xBF\xBD]0;owned\xEF\xBF\xBD"
                              "b"));
  EXPECT_THAT(text, HasSubstr("g\xEF\xBF\xBD\xEF\xBF\xBDh\xEF\xBF\xBD\xEF\xBF\xBDi"));
  EXPECT_THAT(text, HasSubstr("  caf\xC3\xA9\t\xE2\x82\xAC\n"));
}

}  // namespace
