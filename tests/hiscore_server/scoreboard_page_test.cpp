#include "scoreboard_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ansi_text.h"

namespace {

size_t countOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
    ++count;
  return count;
}

// Well-formed UTF-8 without surrogates or overlong forms.
bool validUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80                   ? 1
                          : lead >= 0xC2 && lead < 0xE0 ? 2
                          : lead >= 0xE0 && lead < 0xF0 ? 3
                          : lead >= 0xF0 && lead < 0xF5 ? 4
                                                        : 0;
    if (length == 0 || i + length > text.size()) return false;
    uint32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
    for (size_t k = 1; k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) ||
        (code >= 0xD800 && code < 0xE000)) {
      return false;
    }
    i += length;
  }
  return true;
}

TEST(ScoreboardPage, NamesAreShownAsTextNeverAsMarkup) {
  const std::string page = renderScoreboardPage({{"<b>x</b>&amp;", 10, 0}, {"\"'><script>", 9, 0}}, 2);
  EXPECT_NE(page.find("&lt;b&gt;x&lt;/b&gt;&amp;amp;"), std::string::npos);
  EXPECT_NE(page.find("&quot;&#39;&gt;&lt;script&gt;"), std::string::npos);
  EXPECT_EQ(page.find("<b>"), std::string::npos);
  EXPECT_EQ(page.find("<script"), std::string::npos);
}

TEST(ScoreboardPage, ColonsAreShownAsTheSpacesTheyStandFor) {
  const std::string page = renderScoreboardPage({{"Jo:Ann::Smith", 10, 0}}, 1);
  EXPECT_NE(page.find(">Jo Ann  Smith<"), std::string::npos);
}

TEST(ScoreboardPage, EveryByteOfANameGivesValidUtf8) {
  std::string allBytes;
  for (int byte = 0; byte < 256; ++byte) allBytes += static_cast<char>(byte);
  const std::string page = renderScoreboardPage({{allBytes, 1, 0}}, 1);
  EXPECT_TRUE(validUtf8(page));
  // The name adds no markup: the page has as many tags as one with a plain name.
  EXPECT_EQ(countOf(page, "<"), countOf(renderScoreboardPage({{"plain", 1, 0}}, 1), "<"));
}

TEST(ScoreboardPage, NamesAreReadInWindows1252) {
  EXPECT_EQ(windows1252ToUtf8("Ren\xE9\x80\x99\x9F\xA0\xFF"),
            "Ren\u00E9\u20AC\u2122\u0178\u00A0\u00FF");
  EXPECT_EQ(windows1252ToUtf8(std::string("\x81\x8D\x8F\x90\x9D\x00\x1F\x7F", 8)),
            "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
}

TEST(ScoreboardPage, EqualScoresShareTheirRank) {
  const std::string page =
      renderScoreboardPage({{"a", 900, 0}, {"b", 500, 0}, {"c", 500, 0}, {"d", 100, 0}}, 4);
  const size_t a = page.find(">1.<");
  const size_t b = page.find(">2.<");
  const size_t c = page.find(">2.<", b + 1);
  const size_t d = page.find(">4.<");
  EXPECT_TRUE(a < b && b < c && c < d && d != std::string::npos) << page;
  EXPECT_EQ(page.find(">3.<"), std::string::npos);
}

TEST(ScoreboardPage, ShowsScoreAndFirstSubmissionInUtc) {
  const std::string page = renderScoreboardPage({{"a", 4294967295u, 1700000000}}, 1);
  EXPECT_NE(page.find(">4294967295<"), std::string::npos);
  EXPECT_NE(page.find("<time datetime=\"2023-11-14T22:13:20Z\">2023-11-14 22:13</time>"),
            std::string::npos);
}

TEST(ScoreboardPage, IsAStandaloneHtml5PageInUtf8) {
  const std::string page = renderScoreboardPage({}, 0);
  EXPECT_EQ(page.rfind("<!DOCTYPE html>\n<html lang=\"en\">", 0), 0u);
  EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(page.find("No scores yet."), std::string::npos);
  EXPECT_EQ(page.find("<script"), std::string::npos);
  EXPECT_EQ(page.find("<link"), std::string::npos);
  EXPECT_EQ(page.find("src="), std::string::npos);
  EXPECT_NE(page.find("</html>"), std::string::npos);
}

TEST(ScoreboardPage, HasOneRowPerScore) {
  std::vector<StoredScore> rows;
  for (uint32_t row = 0; row < kScoreboardRows; ++row) rows.push_back({"p", 1000 - row, 0});
  const std::string page = renderScoreboardPage(rows, 12345);
  EXPECT_EQ(countOf(page, "<tr>"), kScoreboardRows + 1);  // and the heading row
  EXPECT_EQ(page.find("No scores yet."), std::string::npos);
  EXPECT_NE(page.find(">100.<"), std::string::npos);
  EXPECT_NE(page.find("The best 100 of 12,345 rows"), std::string::npos);
}

TEST(ScoreboardPage, SaysHowManyRowsThereAre) {
  const std::vector<StoredScore> rows = {{"a", 9, 0}, {"b", 8, 0}};
  EXPECT_NE(renderScoreboardPage(rows, 2).find("All 2 rows sent"), std::string::npos);
  EXPECT_NE(renderScoreboardPage({{"a", 9, 0}}, 1).find("All 1 row sent"), std::string::npos);
  EXPECT_NE(renderScoreboardPage(rows, 1000000).find("The best 2 of 1,000,000 rows"),
            std::string::npos);
  EXPECT_EQ(renderScoreboardPage({}, 0).find(" rows sent"), std::string::npos);
}

}  // namespace
