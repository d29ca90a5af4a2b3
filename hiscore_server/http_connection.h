#pragma once

#include <array>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/http/string_body.hpp>
#include <chrono>
#include <memory>
#include <optional>

#include "http_exchange.h"
#include "request_head.h"
#include "request_parser.h"

class HttpServer;

// One client's connection, served without a thread of its own: every read and write waits
// asynchronously under a deadline, so a client that sends slowly or not at all holds nothing
// but its socket and a few kilobytes.
class HttpConnection : public std::enable_shared_from_this<HttpConnection> {
 public:
  using Clock = std::chrono::steady_clock;
  // How long a connection may wait for the first byte of a request.
  static constexpr Clock::duration kIdleTime = std::chrono::seconds(5);
  // How long the whole request may take, from its first byte or from the connection's start.
  static constexpr Clock::duration kRequestTime = std::chrono::seconds(10);
  static constexpr Clock::duration kWriteTime = std::chrono::seconds(10);
  // How long a closing connection reads what the client still sends, so that closing a socket
  // with unread bytes does not reset the connection and destroy the answer in flight.
  static constexpr Clock::duration kLingerTime = std::chrono::seconds(1);

  HttpConnection(boost::asio::ip::tcp::socket socket, HttpServer& server);
  ~HttpConnection();
  HttpConnection(const HttpConnection&) = delete;
  HttpConnection& operator=(const HttpConnection&) = delete;

  void start();
  // The server is stopping: a connection waiting for a request closes now; one with a request
  // under way answers it and then closes.
  void stopSoon();
  void closeNow();

 private:
  enum class Phase { Idle, Head, Body, Handling, Writing, Closing, Closed };
  using error_code = boost::beast::error_code;

  void awaitRequest();
  void beginRequest();
  void readHead();
  void onHeadBytes(error_code ec, size_t received);
  void checkHead();
  void parseHead(size_t length);
  void onBody(error_code ec);
  void handle();
  void refuse(unsigned status, const char* text);
  void answer(Answer answer);
  void onWritten(error_code ec, bool keepAlive);
  void lingerAndClose();
  void drain();

  boost::beast::tcp_stream stream_;
  HttpServer& server_;
  Phase phase_ = Phase::Idle;
  Clock::time_point requestStart_;
  bool fresh_ = true;  // no request answered yet
  boost::beast::flat_buffer buffer_{kMaxHeadBytes + 1024};
  RequestHeadScanner scanner_;
  std::optional<RequestParser> parser_;
  std::optional<boost::beast::http::response<boost::beast::http::string_body>> response_;
  std::array<char, 4096> drained_;
};
