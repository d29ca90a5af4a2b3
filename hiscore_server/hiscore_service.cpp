#include "hiscore_service.h"

#include <chrono>
#include <utility>

#include "request_target.h"
#include "scoreboard_page.h"

namespace {

using HandlerResponse = httplib::Server::HandlerResponse;

constexpr const char* kText = "text/plain; charset=utf-8";

// Nothing that this servlet serves has a body.
constexpr size_t kLongestBody = 8192;

int64_t secondsNow() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

void answerText(httplib::Response& response, int status, const char* text) {
  response.status = status;
  response.set_content(text, kText);
}

}  // namespace

HiscoreService::HiscoreService(ScoreStore& store, std::string servletPath)
    : store_(store), servletPath_(std::move(servletPath)) {
  server_.set_payload_max_length(kLongestBody);
  // Other methods fall through to the library, which reads any body and finds no route.
  server_.set_pre_routing_handler(
      [this](const httplib::Request& request, httplib::Response& response) {
        if (request.target.empty()) {
          answerText(response, 400, "Bad request line\n");
          return HandlerResponse::Handled;
        }
        if (request.method != "GET") return HandlerResponse::Unhandled;
        answerGet(request, response);
        return HandlerResponse::Handled;
      });
  // Short texts for what the library refuses itself, and for methods that reach no route.
  server_.set_error_handler(
      httplib::Server::Handler([](const httplib::Request&, httplib::Response& response) {
        if (!response.body.empty()) return;
        response.set_content(response.status == 404   ? "Not found\n"
                             : response.status == 414 ? "Request too long\n"
                             : response.status == 413 ? "Request body too long\n"
                                                      : "Bad request\n",
                             kText);
      }));
}

std::optional<int> HiscoreService::bind(const std::string& address, int port) {
  const int bound = port == 0 ? server_.bind_to_any_port(address)
                              : (server_.bind_to_port(address, port) ? port : -1);
  if (bound <= 0) return std::nullopt;
  server_.widenListenBacklog();
  return bound;
}

bool HiscoreService::run() { return server_.listen_after_bind(); }

void HiscoreService::stop() { server_.stop(); }

void HiscoreService::answerGet(const httplib::Request& request, httplib::Response& response) {
  const TargetParts target = splitTarget(request.target);
  if (target.path != servletPath_) {
    answerText(response, 404, "Not found\n");
    return;
  }
  const ServletCall call = servletCall(target.query);
  switch (call.operation) {
    case Operation::SetScores:
      storeScores(call.scoreValue, response);
      return;
    case Operation::GetHtml:
      showScoreboard(response);
      return;
    case Operation::Unknown:
      answerText(response, 400, "Unknown operation\n");
      return;
  }
}

// Answered only once the rows are on disk; the game does not read the answer.
void HiscoreService::storeScores(std::string_view value, httplib::Response& response) {
  const std::optional<std::vector<ScoreRow>> rows = parseScoreValue(value);
  if (!rows) {
    answerText(response, 400, "Malformed score table\n");
    return;
  }
  if (!store_.submit(*rows, secondsNow())) {
    answerText(response, 503, "Scores not stored, try again later\n");
    return;
  }
  answerText(response, 200, "OK\n");
}

void HiscoreService::showScoreboard(httplib::Response& response) {
  const std::optional<std::vector<StoredScore>> rows = store_.best(kScoreboardRows);
  if (!rows) {
    answerText(response, 503, "Scoreboard not available, try again later\n");
    return;
  }
  response.set_header("Cache-Control", "no-cache");
  response.set_content(renderScoreboardPage(*rows), "text/html; charset=utf-8");
}
