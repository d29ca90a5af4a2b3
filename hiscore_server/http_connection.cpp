#include "http_connection.h"

#include <boost/asio/post.hpp>
#include <boost/beast/core/error.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/write.hpp>
#include <utility>

#include "http_server.h"

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;

namespace {

constexpr size_t kReadChunk = 4096;

std::string statusLine(unsigned status) {
  return std::string(http::obsolete_reason(static_cast<http::status>(status))) + "\n";
}

}  // namespace

HttpConnection::HttpConnection(asio::ip::tcp::socket socket, HttpServer& server)
    : stream_(std::move(socket)), server_(server), requestStart_(Clock::now()) {
  error_code ignored;
  stream_.socket().set_option(asio::ip::tcp::no_delay(true), ignored);
}

HttpConnection::~HttpConnection() { server_.leave(this); }

void HttpConnection::start() {
  server_.enroll(shared_from_this());
  awaitRequest();
}

void HttpConnection::stopSoon() {
  if (phase_ == Phase::Idle) closeNow();
}

void HttpConnection::closeNow() {
  phase_ = Phase::Closed;
  stream_.close();
}

void HttpConnection::awaitRequest() {
  scanner_ = RequestHeadScanner();
  parser_.reset();
  response_.reset();
  if (buffer_.size() > 0) {  // the next request came along with the last one
    beginRequest();
    checkHead();
    return;
  }
  if (server_.stopping()) {
    lingerAndClose();
    return;
  }
  phase_ = Phase::Idle;
  buffer_.shrink_to_fit();
  stream_.expires_at((fresh_ ? requestStart_ : Clock::now()) + kIdleTime);
  readHead();
}

void HttpConnection::beginRequest() {
  phase_ = Phase::Head;
  // On a fresh connection the request's time runs from the connection's start.
  if (!fresh_) requestStart_ = Clock::now();
  stream_.expires_at(requestStart_ + kRequestTime);
}

void HttpConnection::readHead() {
  const size_t room = std::min(kReadChunk, buffer_.max_size() - buffer_.size());
  stream_.async_read_some(buffer_.prepare(room),
                          [self = shared_from_this()](error_code ec, size_t received) {
                            self->onHeadBytes(ec, received);
                          });
}

void HttpConnection::onHeadBytes(error_code ec, size_t received) {
  if (ec) {
    // Timed out, closed by the client or by the server's stop: nothing to answer.
    if (phase_ != Phase::Closed) closeNow();
    return;
  }
  buffer_.commit(received);
  if (phase_ == Phase::Idle) beginRequest();
  checkHead();
}

void HttpConnection::checkHead() {
  const auto bytes = buffer_.data();
  const HeadScan scan =
      scanner_.scan(std::string_view(static_cast<const char*>(bytes.data()), bytes.size()));
  switch (scan.state) {
    case HeadScan::State::Incomplete:
      if (buffer_.size() < buffer_.max_size()) {
        readHead();
      } else {
        refuse(431, "Request header fields too large\n");
      }
      return;
    case HeadScan::State::Complete:
      parseHead(scan.length);
      return;
    case HeadScan::State::TargetTooLong:
      refuse(414, "Request target too long\n");
      return;
    case HeadScan::State::HeaderTooLarge:
      refuse(431, "Request header fields too large\n");
      return;
    case HeadScan::State::Malformed:
      refuse(400, "Malformed request\n");
      return;
  }
}

void HttpConnection::parseHead(size_t length) {
  parser_.emplace();
  error_code ec;
  parser_->put(asio::buffer(buffer_.data().data(), length), ec);
  buffer_.consume(length);
  if (ec) {
    if (parser_->targetTooLong()) {
      refuse(414, "Request target too long\n");
    } else if (ec == http::error::body_limit) {
      refuse(413, "Request body too long\n");
    } else {
      refuse(400, "Malformed request\n");
    }
    return;
  }
  if (parser_->is_done()) {
    handle();
    return;
  }
  phase_ = Phase::Body;
  http::async_read(stream_, buffer_, *parser_,
                   [self = shared_from_this()](error_code ec, size_t) { self->onBody(ec); });
}

void HttpConnection::onBody(error_code ec) {
  if (!ec) {
    handle();
  } else if (ec == http::error::body_limit) {
    refuse(413, "Request body too long\n");
  } else if (ec == beast::error::timeout || ec == http::error::end_of_stream ||
             ec == http::error::partial_message || ec == asio::error::operation_aborted ||
             phase_ == Phase::Closed) {
    if (phase_ != Phase::Closed) closeNow();
  } else {
    refuse(400, "Malformed request body\n");
  }
}

void HttpConnection::handle() {
  phase_ = Phase::Handling;
  stream_.expires_never();
  Request request{parser_->method(), parser_->target(), parser_->contentType(),
                  std::move(parser_->body())};
  const asio::any_io_executor executor = stream_.get_executor();
  server_.handler()(std::move(request),
                    [self = shared_from_this(), executor](Answer answer) mutable {
                      // Moved on, so that the connection is always released on its own thread.
                      asio::post(executor, [self = std::move(self),
                                            answer = std::move(answer)]() mutable {
                        self->answer(std::move(answer));
                      });
                    });
}

void HttpConnection::refuse(unsigned status, const char* text) {
  Answer refusal = textAnswer(status, text);
  refusal.close = true;
  answer(std::move(refusal));
}

void HttpConnection::answer(Answer answer) {
  if (phase_ == Phase::Closed) return;
  phase_ = Phase::Writing;
  const bool headOnly = parser_ && parser_->is_done() && parser_->method() == "HEAD";
  const bool keepAlive =
      !answer.close && parser_ && parser_->is_done() && parser_->keep_alive() &&
      !server_.stopping();
  auto& response = response_.emplace(static_cast<http::status>(answer.status), 11);
  response.set(http::field::server, "tessara-hiscore-server");
  response.set(http::field::content_type, answer.contentType);
  if (!answer.allow.empty()) response.set(http::field::allow, answer.allow);
  if (answer.noCache) response.set(http::field::cache_control, "no-cache");
  response.body() = answer.body.empty() && answer.status >= 400 ? statusLine(answer.status)
                                                                  : std::move(answer.body);
  response.prepare_payload();
  if (headOnly) response.body().clear();  // the length stays that of the whole answer
  response.keep_alive(keepAlive);
  stream_.expires_after(kWriteTime);
  http::async_write(stream_, response, [self = shared_from_this(), keepAlive](error_code ec, size_t) {
    self->onWritten(ec, keepAlive);
  });
}

void HttpConnection::onWritten(error_code ec, bool keepAlive) {
  if (ec) {
    if (phase_ != Phase::Closed) closeNow();
    return;
  }
  if (keepAlive) {
    fresh_ = false;
    awaitRequest();
  } else {
    lingerAndClose();
  }
}

void HttpConnection::lingerAndClose() {
  phase_ = Phase::Closing;
  error_code ignored;
  stream_.socket().shutdown(asio::ip::tcp::socket::shutdown_send, ignored);
  // A client whose request was read to its end and that was told the connection closes sends
  // nothing more (the game reads its answer and closes), so there is nothing to wait for.
  if (parser_ && parser_->is_done() && buffer_.size() == 0) {
    closeNow();
    return;
  }
  buffer_.clear();
  stream_.expires_after(kLingerTime);
  drain();
}

void HttpConnection::drain() {
  stream_.async_read_some(asio::buffer(drained_), [self = shared_from_this()](error_code ec, size_t) {
    if (ec) {
      if (self->phase_ != Phase::Closed) self->closeNow();
      return;
    }
    self->drain();
  });
}
