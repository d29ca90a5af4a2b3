#include "slow_clients.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "raw_client.h"

namespace {

// Ended by the server: the socket reads as end of stream or as an error.
bool endedByServer(int sock) {
  pollfd entry{sock, POLLIN, 0};
  if (::poll(&entry, 1, 0) <= 0) return false;
  char byte;
  return ::recv(sock, &byte, 1, MSG_DONTWAIT | MSG_PEEK) <= 0 || (entry.revents & POLLHUP) != 0;
}

int countEnded(const std::vector<int>& sockets) {
  int ended = 0;
  for (const int sock : sockets) ended += endedByServer(sock) ? 1 : 0;
  return ended;
}

}  // namespace

SlowClients::SlowClients(int port, int idle, int dribbling, std::chrono::milliseconds interval)
    : request_(
          "GET /examples/servlet/TessaraHST?Op=SetScores&V=Anonymous_500_Anonymous_450_"
          "Anonymous_400_Anonymous_350_Anonymous_300_Anonymous_250_Anonymous_200_Anonymous_150_"
          "Anonymous_100_Anonymous_50_ HTTP/1.1\r\nHost: xxx.xxx.xxx\r\n\r\n"),
      interval_(interval) {
  for (int index = 0; index < idle + dribbling; ++index) {
    const int sock = connectTo(port);
    if (sock < 0) break;
    (index < idle ? idle_ : dribbling_).push_back(sock);
  }
  ended_.assign(dribbling_.size(), false);
  thread_ = std::thread([this] { dribble(); });
}

SlowClients::~SlowClients() {
  stopping_ = true;
  thread_.join();
  for (const int sock : idle_) ::close(sock);
  for (const int sock : dribbling_) ::close(sock);
}

int SlowClients::idleClosed() const { return countEnded(idle_); }

int SlowClients::dribblingClosed() const { return countEnded(dribbling_); }

void SlowClients::dribble() {
  auto next = std::chrono::steady_clock::now();
  // Never the whole request: the last byte would complete it.
  for (size_t at = 0; at + 1 < request_.size() && !stopping_; ++at) {
    for (size_t index = 0; index < dribbling_.size(); ++index) {
      if (!ended_[index])
        ended_[index] = ::send(dribbling_[index], &request_[at], 1, MSG_NOSIGNAL) != 1;
    }
    next += interval_;
    while (!stopping_ && std::chrono::steady_clock::now() < next)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}
