#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "shell/socket_address.h"

namespace net {

std::optional<Address> resolveHost(const std::string& host) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return std::nullopt;
  Address address;
  const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
  std::memcpy(address.data(), &ipv4->sin_addr, address.size());
  freeaddrinfo(found);
  return address;
}

std::optional<Socket> openSocket() {
  const int handle = ::socket(AF_INET, SOCK_STREAM, 0);
  if (handle < 0) return std::nullopt;
  return handle;
}

bool connectWithin(Socket socket, const Address& address, uint16_t port, int timeoutMs) {
  const int handle = static_cast<int>(socket);
  const sockaddr_in target = socketAddressOf(address, port);

  const int flags = fcntl(handle, F_GETFL, 0);
  fcntl(handle, F_SETFL, flags | O_NONBLOCK);
  int result = ::connect(handle, reinterpret_cast<const sockaddr*>(&target), sizeof target);
  if (result != 0 && errno == EINPROGRESS) {
    pollfd waiting{handle, POLLOUT, 0};
    if (poll(&waiting, 1, timeoutMs) == 1) {
      int error = 0;
      socklen_t length = sizeof error;
      getsockopt(handle, SOL_SOCKET, SO_ERROR, &error, &length);
      result = error == 0 ? 0 : -1;
    }
  }
  fcntl(handle, F_SETFL, flags);
  return result == 0;
}

bool sendText(Socket socket, const std::string& text) {
  size_t sent = 0;
  while (sent < text.size()) {
    const ssize_t now = ::send(static_cast<int>(socket), text.data() + sent, text.size() - sent,
                               MSG_NOSIGNAL);
    if (now < 0 && errno == EINTR) continue;
    if (now <= 0) return false;
    sent += static_cast<size_t>(now);
  }
  return true;
}

void awaitReply(Socket socket, size_t capacity, int timeoutMs) {
  pollfd waiting{static_cast<int>(socket), POLLIN, 0};
  if (poll(&waiting, 1, timeoutMs) != 1) return;
  std::vector<char> reply(capacity);
  (void)::recv(static_cast<int>(socket), reply.data(), reply.size(), 0);
}

void closeSocket(Socket socket) { ::close(static_cast<int>(socket)); }

}  // namespace net
