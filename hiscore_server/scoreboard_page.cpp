#include "scoreboard_page.h"

#include <algorithm>
#include <ctime>
#include <string_view>

#include "ansi_text.h"
#include "page_style.h"

namespace {

// The red-on-black counters of the game show the scores, their unlit segments as dim eights
// behind the digits. The table's columns have fixed widths, so that a long name wraps within
// its column instead of pushing the others off the page.
constexpr std::string_view kStyle = R"(table { width: 100%; table-layout: fixed; border-collapse: collapse; background: #EEEEEE; border: 2px solid #8B0000; }
col.rank { width: 3.5em; }
col.score { width: 9em; }
col.when { width: 12em; }
th { background: #8B0000; color: #FFFFFF; text-align: left; padding: 0.4em 0.6em; white-space: nowrap; overflow: hidden; }
th.number { text-align: right; }
td { padding: 0.3em 0.6em; border-top: 1px solid #C8C8C8; vertical-align: middle; }
tbody tr:nth-child(-n+3) .rank { color: #CC0000; font-weight: bold; }
.rank { text-align: right; color: #8B0000; }
.name { white-space: pre-wrap; overflow-wrap: anywhere; }
.score { text-align: right; }
.when { color: #555555; font-size: 0.9em; }
.empty { text-align: center; color: #555555; padding: 1.5em; }
.lcd { position: relative; display: inline-block; min-width: 10ch; padding: 0.1em 0.3em;
  background: #000000; color: #FF2020; text-align: right; font: bold 1.1em "Courier New", Courier, monospace;
  text-shadow: 0 0 3px #FF0000; }
.lcd::before { content: "8888888888"; position: absolute; right: 0.3em; color: #3A0000; text-shadow: none; }
.lcd span { position: relative; }
@media (max-width: 36em) {
  table { font-size: 0.8em; }
  col.rank { width: 3.2em; }
  col.score { width: 7.6em; }
  col.when { width: 6em; }
  th, td { padding: 0.3em 0.3em; }
  th { white-space: normal; }
  .lcd { font-size: 1em; }
}
)";

constexpr std::string_view kTableHead = R"(</p>
<table>
<colgroup><col class="rank"><col><col class="score"><col class="when"></colgroup>
<thead><tr><th scope="col" class="number">Rank</th><th scope="col">Name</th><th scope="col" class="number">Score</th><th scope="col">First submitted (UTC)</th></tr></thead>
<tbody>
)";

constexpr std::string_view kTableEnd = "</tbody>\n</table>\n";

// 1234567 as "1,234,567".
std::string withThousands(size_t number) {
  std::string digits = std::to_string(number);
  for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

std::string summary(size_t shown, size_t total) {
  if (total == 0) return "The scores sent from the game, with the time (UTC) each first arrived.";
  const std::string rows = total == 1 ? " row" : " rows";
  const std::string which = shown < total ? "The best " + withThousands(shown) + " of " : "All ";
  return which + withThousands(total) + rows +
         " sent from the game, with the time (UTC) each first arrived.";
}

// The game sends spaces as colons.
std::string shownName(std::string name) {
  for (char& c : name) {
    if (c == ':') c = ' ';
  }
  return windows1252ToUtf8(name);
}

std::string formatted(int64_t seconds, const char* format) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm utc{};
  if (gmtime_r(&time, &utc) == nullptr) return "?";
  char text[32];
  return std::strftime(text, sizeof text, format, &utc) > 0 ? text : "?";
}

void appendRow(std::string& page, size_t rank, const StoredScore& row) {
  page += "<tr><td class=\"rank\">";
  page += std::to_string(rank);
  page += ".</td><td class=\"name\">";
  appendHtmlEscaped(page, shownName(row.name));
  page += "</td><td class=\"score\"><span class=\"lcd\"><span>";
  page += std::to_string(row.score);
  page += "</span></span></td><td class=\"when\"><time datetime=\"";
  page += formatted(row.firstSubmitted, "%Y-%m-%dT%H:%M:%SZ");
  page += "\">";
  page += formatted(row.firstSubmitted, "%Y-%m-%d %H:%M");
  page += "</time></td></tr>\n";
}

}  // namespace

std::string renderScoreboardPage(const std::vector<StoredScore>& rows, size_t totalRows) {
  std::string page = pageStart("Tessara hiscores", kStyle);
  page += "<h1>Tessara hiscores</h1>\n<p>";
  page += summary(rows.size(), std::max(totalRows, rows.size()));
  page += kTableHead;
  if (rows.empty()) page += "<tr><td class=\"empty\" colspan=\"4\">No scores yet.</td></tr>\n";
  size_t rank = 0;
  for (size_t index = 0; index < rows.size(); ++index) {
    if (index == 0 || rows[index].score != rows[index - 1].score) rank = index + 1;
    appendRow(page, rank, rows[index]);
  }
  page += kTableEnd;
  page += kPageEnd;
  return page;
}
