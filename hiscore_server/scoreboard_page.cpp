#include "scoreboard_page.h"

#include <ctime>
#include <string_view>

#include "ansi_text.h"

namespace {

// The game's colours: light grey ground, dark red and red, and its red-on-black counters,
// whose unlit segments show as dim eights behind the digits.
constexpr std::string_view kHead = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Tessara hiscores</title>
<style>
body { margin: 0; background: #DDDDDD; color: #222222; font-family: Tahoma, Verdana, Arial, sans-serif; }
main { max-width: 46em; margin: 0 auto; padding: 1.5em 1em; }
h1 { margin: 0 0 0.2em; color: #8B0000; font-size: 2em; letter-spacing: 0.05em; }
p { margin: 0 0 1em; color: #555555; }
table { width: 100%; border-collapse: collapse; background: #EEEEEE; border: 2px solid #8B0000; }
th { background: #8B0000; color: #FFFFFF; text-align: left; padding: 0.4em 0.6em; white-space: nowrap; }
th.number { text-align: right; }
td { padding: 0.3em 0.6em; border-top: 1px solid #C8C8C8; vertical-align: middle; }
tbody tr:nth-child(-n+3) .rank { color: #CC0000; font-weight: bold; }
.rank { width: 3em; text-align: right; color: #8B0000; }
.name { white-space: pre; overflow-wrap: anywhere; }
.score { width: 8.5em; text-align: right; }
.when { width: 12em; color: #555555; font-size: 0.9em; white-space: nowrap; }
.empty { text-align: center; color: #555555; padding: 1.5em; }
.lcd { position: relative; display: inline-block; min-width: 10ch; padding: 0.1em 0.3em;
  background: #000000; color: #FF2020; text-align: right; font: bold 1.1em "Courier New", Courier, monospace;
  text-shadow: 0 0 3px #FF0000; }
.lcd::before { content: "8888888888"; position: absolute; right: 0.3em; color: #3A0000; text-shadow: none; }
.lcd span { position: relative; }
</style>
</head>
<body>
<main>
<h1>Tessara hiscores</h1>
<p>The best scores sent from the game, with the time (UTC) each first arrived.</p>
<table>
<thead><tr><th scope="col" class="number">Rank</th><th scope="col">Name</th><th scope="col" class="number">Score</th><th scope="col">First submitted (UTC)</th></tr></thead>
<tbody>
)";

constexpr std::string_view kTail = R"(</tbody>
</table>
</main>
</body>
</html>
)";

void appendEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
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
  appendEscaped(page, shownName(row.name));
  page += "</td><td class=\"score\"><span class=\"lcd\"><span>";
  page += std::to_string(row.score);
  page += "</span></span></td><td class=\"when\"><time datetime=\"";
  page += formatted(row.firstSubmitted, "%Y-%m-%dT%H:%M:%SZ");
  page += "\">";
  page += formatted(row.firstSubmitted, "%Y-%m-%d %H:%M");
  page += "</time></td></tr>\n";
}

}  // namespace

std::string renderScoreboardPage(const std::vector<StoredScore>& rows) {
  std::string page(kHead);
  if (rows.empty()) page += "<tr><td class=\"empty\" colspan=\"4\">No scores yet.</td></tr>\n";
  size_t rank = 0;
  for (size_t index = 0; index < rows.size(); ++index) {
    if (index == 0 || rows[index].score != rows[index - 1].score) rank = index + 1;
    appendRow(page, rank, rows[index]);
  }
  page += kTail;
  return page;
}
