#include "raw_target_server.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "request_target.h"

namespace {

// Longer request lines are refused by the library with 414 before any handler runs.
constexpr size_t kLongestKeptLine = CPPHTTPLIB_REQUEST_URI_MAX_LENGTH + 2;

// How long a closing connection waits for what the client still sends.
constexpr int kLingerMs = 1000;

int milliseconds(time_t seconds, time_t microseconds) {
  return static_cast<int>(seconds * 1000 + microseconds / 1000);
}

// The connection as the library reads and writes it, keeping a copy of the first line.
class RecordingSocketStream final : public httplib::Stream {
 public:
  RecordingSocketStream(socket_t sock, int readTimeoutMs, int writeTimeoutMs)
      : sock_(sock), readTimeoutMs_(readTimeoutMs), writeTimeoutMs_(writeTimeoutMs) {}

  bool is_readable() const override { return next_ < end_ || waitFor(POLLIN, readTimeoutMs_); }
  bool is_writable() const override { return waitFor(POLLOUT, writeTimeoutMs_); }

  ssize_t read(char* out, size_t size) override {
    if (next_ == end_) {
      if (!waitFor(POLLIN, readTimeoutMs_)) return -1;
      ssize_t received;
      do {
        received = ::recv(sock_, buffer_, sizeof buffer_, 0);
      } while (received < 0 && errno == EINTR);
      if (received <= 0) return received;
      record(std::string_view(buffer_, static_cast<size_t>(received)));
      next_ = 0;
      end_ = static_cast<size_t>(received);
    }
    const size_t count = std::min(size, end_ - next_);
    std::memcpy(out, buffer_ + next_, count);
    next_ += count;
    return static_cast<ssize_t>(count);
  }

  ssize_t write(const char* data, size_t size) override {
    if (!waitFor(POLLOUT, writeTimeoutMs_)) return -1;
    ssize_t sent;
    do {
      sent = ::send(sock_, data, size, MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    return sent;
  }

  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    address(::getpeername, ip, port);
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    address(::getsockname, ip, port);
  }
  socket_t socket() const override { return sock_; }

  // The request line without its line end, once it has arrived whole.
  std::optional<std::string_view> requestLine() const {
    if (!lineComplete_) return std::nullopt;
    std::string_view line = line_;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
  }

 private:
  bool waitFor(short events, int timeoutMs) const {
    pollfd entry{sock_, events, 0};
    int ready;
    do {
      ready = ::poll(&entry, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
  }

  void record(std::string_view bytes) {
    if (lineComplete_ || line_.size() > kLongestKeptLine) return;
    const size_t end = bytes.find('\n');
    line_.append(bytes.substr(0, std::min(end, kLongestKeptLine + 1 - line_.size())));
    lineComplete_ = end != std::string_view::npos && line_.size() <= kLongestKeptLine;
  }

  template <typename Lookup>
  void address(Lookup lookup, std::string& ip, int& port) const {
    sockaddr_storage storage{};
    socklen_t length = sizeof storage;
    char host[NI_MAXHOST];
    char service[NI_MAXSERV];
    if (lookup(sock_, reinterpret_cast<sockaddr*>(&storage), &length) == 0 &&
        ::getnameinfo(reinterpret_cast<sockaddr*>(&storage), length, host, sizeof host, service,
                      sizeof service, NI_NUMERICHOST | NI_NUMERICSERV) == 0) {
      ip = host;
      port = std::atoi(service);
    }
  }

  socket_t sock_;
  int readTimeoutMs_;
  int writeTimeoutMs_;
  char buffer_[CPPHTTPLIB_RECV_BUFSIZ];
  size_t next_ = 0;
  size_t end_ = 0;
  std::string line_;
  bool lineComplete_ = false;
};

// Closing a socket that holds unread bytes resets the connection, and the reset can destroy
// the answer before the client has read it; a request refused halfway leaves such bytes.
// So the answer is followed by the end of our side, and what the client still sends is
// read and dropped until it closes, for a second at most.
void closeAfterAnswer(socket_t sock) {
  ::shutdown(sock, SHUT_WR);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLingerMs);
  char drained[4096];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd entry{sock, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0) break;
    if (::recv(sock, drained, sizeof drained, 0) <= 0) break;
  }
  ::close(sock);
}

// Without SO_REUSEPORT, which the library would set: a second server on the same port must
// fail to start instead of sharing the players' submissions.
void listeningSocketOptions(socket_t sock) {
  const int yes = 1;
  ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

}  // namespace

RawTargetServer::RawTargetServer() { set_socket_options(listeningSocketOptions); }

void RawTargetServer::widenListenBacklog() { ::listen(svr_sock_, SOMAXCONN); }

bool RawTargetServer::process_and_close_socket(socket_t sock) {
  // The answer leaves in two writes (head and body); send each at once.
  const int noDelay = 1;
  ::setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
  bool served;
  {
    RecordingSocketStream stream(sock, milliseconds(read_timeout_sec_, read_timeout_usec_),
                                 milliseconds(write_timeout_sec_, write_timeout_usec_));
    bool closed = false;
    served = process_request(stream, true, closed, [&stream](httplib::Request& request) {
      const std::optional<std::string_view> line = stream.requestLine();
      const std::optional<std::string_view> target =
          line ? targetOfRequestLine(*line, request.method, request.version) : std::nullopt;
      request.target = target ? std::string(*target) : std::string();
      // Answers go uncompressed: the game's answer is a few bytes, which gzip only makes
      // longer, and on a public host the reverse proxy compresses the page.
      request.headers.erase("Accept-Encoding");
    });
  }
  closeAfterAnswer(sock);
  return served;
}
