#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstring>
#include <vector>

#include "shell/socket_address.h"

namespace net {

std::optional<Address> resolveHost(const std::string& host) {
  const hostent* found = gethostbyname(host.c_str());
  if (!found || found->h_addrtype != AF_INET || !found->h_addr_list[0]) return std::nullopt;
  Address address;
  std::memcpy(address.data(), found->h_addr_list[0], address.size());
  return address;
}

std::optional<Socket> openSocket() {
  const SOCKET handle = ::socket(AF_INET, SOCK_STREAM, 0);
  if (handle == INVALID_SOCKET) return std::nullopt;
  return static_cast<Socket>(handle);
}

bool connectWithin(Socket socket, const Address& address, uint16_t port, int timeoutMs) {
  const SOCKET handle = static_cast<SOCKET>(socket);
  const sockaddr_in target = socketAddressOf(address, port);

  u_long nonBlocking = 1;
  ioctlsocket(handle, FIONBIO, &nonBlocking);
  int result = ::connect(handle, reinterpret_cast<const sockaddr*>(&target), sizeof target);
  if (result != 0 && WSAGetLastError() == WSAEWOULDBLOCK) {
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(handle, &writable);
    FD_SET(handle, &failed);
    timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    result = select(0, nullptr, &writable, &failed, &limit) == 1 && FD_ISSET(handle, &writable)
                 ? 0
                 : -1;
  }
  u_long blocking = 0;
  ioctlsocket(handle, FIONBIO, &blocking);
  return result == 0;
}

bool sendText(Socket socket, const std::string& text) {
  size_t sent = 0;
  while (sent < text.size()) {
    const int now = ::send(static_cast<SOCKET>(socket), text.data() + sent,
                           static_cast<int>(text.size() - sent), 0);
    if (now == SOCKET_ERROR || now == 0) return false;
    sent += static_cast<size_t>(now);
  }
  return true;
}

void awaitReply(Socket socket, size_t capacity, int timeoutMs) {
  const SOCKET handle = static_cast<SOCKET>(socket);
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(handle, &readable);
  timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  if (select(0, &readable, nullptr, nullptr, &limit) != 1) return;
  std::vector<char> reply(capacity);
  (void)::recv(handle, reply.data(), static_cast<int>(reply.size()), 0);
}

void closeSocket(Socket socket) { closesocket(static_cast<SOCKET>(socket)); }

}  // namespace net
