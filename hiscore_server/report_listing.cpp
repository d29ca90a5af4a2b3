#include "report_listing.h"

#include <ctime>
#include <string_view>

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The length of the well-formed UTF-8 sequence at the start of `text` and its code point, or
// a length of 0.
size_t sequenceAt(std::string_view text, char32_t& code) {
  const unsigned char lead = static_cast<unsigned char>(text[0]);
  const size_t length = lead < 0x80                   ? 1
                        : lead >= 0xC2 && lead < 0xE0 ? 2
                        : lead >= 0xE0 && lead < 0xF0 ? 3
                        : lead >= 0xF0 && lead < 0xF5 ? 4
                                                      : 0;
  if (length == 0 || length > text.size()) return 0;
  code = length == 1 ? lead : lead & (0xFF >> (length + 1));
  for (size_t k = 1; k < length; ++k) {
    const unsigned char next = static_cast<unsigned char>(text[k]);
    if ((next & 0xC0) != 0x80) return 0;
    code = (code << 6) | (next & 0x3F);
  }
  const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  if (overlong || (code >= 0xD800 && code < 0xE000) || code > 0x10FFFF) return 0;
  return length;
}

bool shownAsIs(char32_t code) {
  if (code == '\n' || code == '\t') return true;
  if (code < 0x20 || (code >= 0x7F && code < 0xA0)) return false;
  const bool directionMark = (code >= 0x202A && code <= 0x202E) ||
                             (code >= 0x2066 && code <= 0x2069) || code == 0x200E ||
                             code == 0x200F || code == 0x061C;
  return !directionMark;
}

std::string safeText(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    char32_t code = 0;
    const size_t length = sequenceAt(text, code);
    if (length > 0 && shownAsIs(code)) {
      out.append(text.substr(0, length));
    } else {
      out += kReplacement;
    }
    text.remove_prefix(length > 0 ? length : 1);
  }
  return out;
}

// Each line of the text, indented under its heading.
void appendSection(std::string& out, const char* heading, const std::string& text) {
  out += heading;
  out += ":\n";
  if (text.empty()) {
    out += "  (empty)\n";
    return;
  }
  const std::string safe = safeText(text);
  size_t start = 0;
  for (;;) {
    const size_t end = safe.find('\n', start);
    out += "  ";
    out += safe.substr(start, end - start);
    out += '\n';
    if (end == std::string::npos) return;
    start = end + 1;
  }
}

std::string utcTime(int64_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm utc{};
  char text[32];
  if (gmtime_r(&time, &utc) == nullptr ||
      std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc) == 0) {
    return "?";
  }
  return text;
}

}  // namespace

std::string listReports(const std::vector<StoredReport>& reports) {
  if (reports.empty()) return "No bug reports.\n";
  std::string out;
  for (const StoredReport& stored : reports) {
    out += "Report " + std::to_string(stored.number) + ", received " +
           utcTime(stored.report.receivedAt) + "\n";
    appendSection(out, "What happened", stored.report.happened);
    appendSection(out, "What was expected", stored.report.expected);
    appendSection(out, "Steps", stored.report.steps);
    out += '\n';
  }
  return out;
}
