#pragma once

#ifdef _WIN32
#include <winsock2.h>
#else
#include <netinet/in.h>
#endif

#include <cstring>

#include "shell/sockets.h"

namespace net {

// The socket address that connect takes for an IPv4 address and port; Winsock and POSIX
// share its layout.
inline sockaddr_in socketAddressOf(const Address& address, uint16_t port) {
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(port);
  std::memcpy(&target.sin_addr, address.data(), address.size());
  return target;
}

}  // namespace net
