#include "http_server.h"

#include <signal.h>
#include <sys/resource.h>

#include <boost/asio/ip/address.hpp>
#include <boost/asio/post.hpp>
#include <vector>

#include "http_connection.h"

namespace asio = boost::asio;
using tcp = asio::ip::tcp;
using error_code = boost::system::error_code;

namespace {

// An accept that fails for want of files or memory is tried again after this pause, instead
// of at once in a loop.
constexpr std::chrono::milliseconds kAcceptRetry{100};

bool outOfResources(const error_code& ec) {
  return ec == asio::error::no_descriptors || ec == asio::error::no_buffer_space ||
         ec == asio::error::no_memory || ec == std::errc::too_many_files_open_in_system;
}

}  // namespace

size_t openFileLimit() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return 1024;
  return limit.rlim_cur == RLIM_INFINITY ? size_t{1} << 20 : static_cast<size_t>(limit.rlim_cur);
}

size_t raiseOpenFileLimit() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
  }
  return openFileLimit();
}

HttpServer::HttpServer(RequestHandler handler)
    : handler_(std::move(handler)),
      connectionLimit_(openFileLimit() > 2 * kReservedFiles ? openFileLimit() - kReservedFiles
                                                             : openFileLimit() / 2) {}

HttpServer::~HttpServer() {
  const std::lock_guard<std::mutex> lock(mutex_);
  closing_ = true;
}

std::optional<int> HttpServer::bind(const std::string& address, int port, std::string& error) {
  error_code ec;
  tcp::resolver resolver(context_);
  const auto endpoints = resolver.resolve(address, std::to_string(port),
                                          tcp::resolver::passive | tcp::resolver::numeric_service,
                                          ec);
  if (ec || endpoints.empty()) {
    error = ec ? ec.message() : "no such address";
    return std::nullopt;
  }
  const tcp::endpoint endpoint = endpoints.begin()->endpoint();
  // Without SO_REUSEPORT: a second server on the same port must fail to start instead of
  // sharing the players' submissions.
  if (acceptor_.open(endpoint.protocol(), ec) ||
      acceptor_.set_option(tcp::acceptor::reuse_address(true), ec) ||
      acceptor_.bind(endpoint, ec) ||
      acceptor_.listen(asio::socket_base::max_listen_connections, ec)) {
    error = ec.message();
    acceptor_.close(ec);
    return std::nullopt;
  }
  return acceptor_.local_endpoint(ec).port();
}

bool HttpServer::run() {
  if (!acceptor_.is_open()) return false;
  accept();
  context_.run();
  return true;
}

void HttpServer::stop() {
  asio::post(context_, [this] { beginStop(); });
}

void HttpServer::stopOnSignals() {
  signals_.emplace(context_, SIGINT, SIGTERM);
  signals_->async_wait([this](const error_code& ec, int) {
    if (!ec) beginStop();
  });
}

void HttpServer::enroll(const std::shared_ptr<HttpConnection>& connection) {
  const std::lock_guard<std::mutex> lock(mutex_);
  connections_.emplace(connection.get(), connection);
}

void HttpServer::leave(HttpConnection* connection) {
  const std::lock_guard<std::mutex> lock(mutex_);
  connections_.erase(connection);
  if (closing_) return;
  if (acceptPaused_ && connections_.size() < connectionLimit_) {
    acceptPaused_ = false;
    asio::post(context_, [this] { accept(); });
  }
  // The last connection gone after a stop: the grace period has nothing left to wait for.
  if (connections_.empty() && stopping_) asio::post(context_, [this] { stopTimer_.cancel(); });
}

void HttpServer::accept() {
  if (stopping_) return;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (connections_.size() >= connectionLimit_) {
      acceptPaused_ = true;
      return;
    }
  }
  acceptor_.async_accept(context_, [this](const error_code& ec, tcp::socket socket) {
    if (ec == asio::error::operation_aborted || stopping_) return;
    if (ec && outOfResources(ec)) {
      retryTimer_.expires_after(kAcceptRetry);
      retryTimer_.async_wait([this](const error_code& waited) {
        if (!waited) accept();
      });
      return;
    }
    if (!ec) std::make_shared<HttpConnection>(std::move(socket), *this)->start();
    accept();
  });
}

void HttpServer::beginStop() {
  if (stopping_) return;
  stopping_ = true;
  error_code ignored;
  acceptor_.close(ignored);
  retryTimer_.cancel();
  if (signals_) signals_->cancel(ignored);
  std::vector<std::shared_ptr<HttpConnection>> open;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& entry : connections_) {
      if (std::shared_ptr<HttpConnection> connection = entry.second.lock())
        open.push_back(std::move(connection));
    }
  }
  if (open.empty()) return;
  for (const std::shared_ptr<HttpConnection>& connection : open) connection->stopSoon();
  stopTimer_.expires_after(kStopGrace);
  stopTimer_.async_wait([this](const error_code&) { closeAll(); });
}

void HttpServer::closeAll() {
  std::vector<std::shared_ptr<HttpConnection>> open;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& entry : connections_) {
      if (std::shared_ptr<HttpConnection> connection = entry.second.lock())
        open.push_back(std::move(connection));
    }
  }
  for (const std::shared_ptr<HttpConnection>& connection : open) connection->closeNow();
}
