#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The blocking IPv4 TCP client that a score submission needs, with bounded waits. Built on
// Winsock in the Windows program and on POSIX sockets natively. The platform's services start
// the sockets library first (Services::startSocketsLibrary).
namespace net {

using Address = std::array<uint8_t, 4>;  // network order
using Socket = intptr_t;

// The first IPv4 address of a host name or dotted address.
std::optional<Address> resolveHost(const std::string& host);

std::optional<Socket> openSocket();

// Connects, giving up after timeoutMs milliseconds.
bool connectWithin(Socket socket, const Address& address, uint16_t port, int timeoutMs);

// Hands all of the text to the network; false on an error.
bool sendText(Socket socket, const std::string& text);

// Waits up to timeoutMs for a reply of at most capacity bytes; what arrives is not examined.
void awaitReply(Socket socket, size_t capacity, int timeoutMs);

void closeSocket(Socket socket);

}  // namespace net
