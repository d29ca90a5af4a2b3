#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "http_exchange.h"

class HttpConnection;

// Serves HTTP on one thread: every connection waits asynchronously, so the number of clients
// that can be connected at once is bounded by the file-descriptor limit, not by threads.
class HttpServer {
 public:
  // After a stop, how long requests under way have to finish before their connections close.
  static constexpr std::chrono::seconds kStopGrace{5};
  // File descriptors kept back from connections: the database, the listening socket and the
  // event loop's own (half the limit when it is lower than twice this).
  static constexpr size_t kReservedFiles = 64;

  explicit HttpServer(RequestHandler handler);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // Listens on the address (a numeric address or a host name) and port, 0 for a free one;
  // the port bound, or nothing with the reason in `error`.
  std::optional<int> bind(const std::string& address, int port, std::string& error);
  // Serves until stop() and the end of the requests under way; false when not bound.
  bool run();
  // Stops accepting, closes idle connections, lets requests under way finish for up to
  // kStopGrace and closes the rest. Safe from any thread.
  void stop();
  // SIGINT and SIGTERM call stop().
  void stopOnSignals();

  // The most connections served at once; more wait in the listening queue.
  size_t connectionLimit() const { return connectionLimit_; }

  // For the connections.
  bool stopping() const { return stopping_; }
  const RequestHandler& handler() const { return handler_; }
  void enroll(const std::shared_ptr<HttpConnection>& connection);
  void leave(HttpConnection* connection);

 private:
  void accept();
  void beginStop();
  void closeAll();

  const RequestHandler handler_;
  const size_t connectionLimit_;
  // Before the context: connections that the context still holds leave it when it goes.
  std::mutex mutex_;
  std::unordered_map<HttpConnection*, std::weak_ptr<HttpConnection>> connections_;
  bool acceptPaused_ = false;
  bool closing_ = false;  // the server is being destroyed

  boost::asio::io_context context_;
  boost::asio::ip::tcp::acceptor acceptor_{context_};
  boost::asio::steady_timer retryTimer_{context_};
  boost::asio::steady_timer stopTimer_{context_};
  std::optional<boost::asio::signal_set> signals_;
  std::atomic<bool> stopping_{false};
};

// Raises the soft limit on open files to the hard limit; the limit now in force.
size_t raiseOpenFileLimit();
size_t openFileLimit();
