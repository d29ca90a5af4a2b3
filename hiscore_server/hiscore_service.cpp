#include "hiscore_service.h"

#include <chrono>
#include <utility>

#include "bug_report_page.h"
#include "request_target.h"
#include "scoreboard_page.h"

namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";

int64_t secondsNow() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

bool readsOnly(const std::string& method) { return method == "GET" || method == "HEAD"; }

Answer notAllowed(std::string allow) {
  Answer answer = textAnswer(405, "Method not allowed\n");
  answer.allow = std::move(allow);
  return answer;
}

Answer htmlAnswer(unsigned status, std::string page) {
  Answer answer;
  answer.status = status;
  answer.contentType = kHtml;
  answer.body = std::move(page);
  answer.noCache = true;
  return answer;
}

}  // namespace

HiscoreService::HiscoreService(ScoreStore& store, std::string servletPath)
    : servletPath_(std::move(servletPath)),
      server_([this](Request request, Respond respond) {
        handle(std::move(request), std::move(respond));
      }),
      worker_(store, kScoreboardRows) {}

std::optional<int> HiscoreService::bind(const std::string& address, int port) {
  std::string error;
  return server_.bind(address, port, error);
}

bool HiscoreService::run() { return server_.run(); }

void HiscoreService::stop() { server_.stop(); }

void HiscoreService::handle(Request request, Respond respond) {
  const TargetParts target = splitTarget(request.target);
  if (target.path == servletPath_) {
    answerServlet(request, target.query, std::move(respond));
  } else if (target.path == kBugReportPath) {
    answerBugReport(request, std::move(respond));
  } else {
    respond(textAnswer(404, "Not found\n"));
  }
}

void HiscoreService::answerServlet(const Request& request,
                                   std::optional<std::string_view> query, Respond respond) {
  if (!readsOnly(request.method)) {
    respond(notAllowed("GET, HEAD"));
    return;
  }
  const ServletCall call = servletCall(query);
  switch (call.operation) {
    case Operation::SetScores:
      // HEAD is answered as GET would be, but stores nothing: it asks only for the head.
      storeScores(call.scoreValue, request.method == "GET", std::move(respond));
      return;
    case Operation::GetHtml:
      showScoreboard(std::move(respond));
      return;
    case Operation::Unknown:
      respond(textAnswer(400, "Unknown operation\n"));
      return;
  }
}

// Answered only once the rows are on disk. The game sends one request per connection and
// reads one answer, so the connection closes at once instead of waiting as an idle one.
void HiscoreService::storeScores(std::string_view value, bool store, Respond respond) {
  std::optional<std::vector<ScoreRow>> rows = parseScoreValue(value);
  if (!rows) {
    respond(textAnswer(400, "Malformed score table\n"));
    return;
  }
  const auto answer = [](bool stored) {
    Answer answer = stored ? textAnswer(200, "OK\n")
                           : textAnswer(503, "Scores not stored, try again later\n");
    answer.close = true;
    return answer;
  };
  if (!store) {
    respond(answer(true));
    return;
  }
  worker_.submitTable({std::move(*rows), secondsNow()},
                      [respond = std::move(respond), answer](std::optional<int64_t> added) {
                        respond(answer(added.has_value()));
                      });
}

void HiscoreService::showScoreboard(Respond respond) {
  worker_.readScoreboard([respond = std::move(respond)](const std::optional<Scoreboard>& board) {
    if (!board) {
      respond(textAnswer(503, "Scoreboard not available, try again later\n"));
      return;
    }
    respond(htmlAnswer(200, renderScoreboardPage(board->best, board->totalRows)));
  });
}

void HiscoreService::answerBugReport(const Request& request, Respond respond) {
  if (readsOnly(request.method)) {
    respond(htmlAnswer(200, renderBugReportForm()));
    return;
  }
  if (request.method != "POST") {
    respond(notAllowed("GET, HEAD, POST"));
    return;
  }
  ReportReading reading = readBugReport(request.contentType, request.body, secondsNow());
  if (!reading.report) {
    respond(htmlAnswer(reading.status, renderReportProblem(reading.problem)));
    return;
  }
  worker_.submitReport(std::move(*reading.report),
                       [respond = std::move(respond)](std::optional<int64_t> number) {
                         respond(number ? htmlAnswer(200, renderReportThanks(*number))
                                        : htmlAnswer(503, renderReportProblem(
                                                              "The report could not be stored "
                                                              "just now. Please try again in a "
                                                              "minute.")));
                       });
}
