#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "score_store.h"

// Where the game's Report a bug item points.
constexpr std::string_view kBugReportPath = "/bugreport.html";
// Characters in each box of the form.
constexpr size_t kMaxReportCharacters = 2000;

// The page with the form, which posts back to the same address.
std::string renderBugReportForm();
std::string renderReportThanks(int64_t number);
// A polite page that says why a report was not taken, and how to send it again.
std::string renderReportProblem(std::string_view problem);

// A posted form read as a report, or why it is refused: the status and the text for the
// player.
struct ReportReading {
  std::optional<BugReport> report;
  unsigned status = 200;
  std::string problem;
};
ReportReading readBugReport(std::string_view contentType, std::string_view body,
                            int64_t receivedAt);
