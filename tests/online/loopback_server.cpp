#include "loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace {

int listenOnLoopback(uint16_t& port) {
  const int handle = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (handle < 0 || ::bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(handle, 8) != 0 ||
      ::getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("no loopback listener");
  }
  port = ntohs(address.sin_port);
  return handle;
}

bool readable(int handle, int timeoutMs) {
  pollfd waiting{handle, POLLIN, 0};
  return poll(&waiting, 1, timeoutMs) == 1;
}

}  // namespace

LoopbackServer::LoopbackServer(Behaviour behaviour) : behaviour_(behaviour) {
  listener_ = listenOnLoopback(port_);
  thread_ = std::thread([this] { serve(); });
}

LoopbackServer::~LoopbackServer() {
  stopping_ = true;
  thread_.join();
  ::close(listener_);
}

std::vector<std::string> LoopbackServer::requests(size_t expected) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (requests_.size() >= expected || std::chrono::steady_clock::now() > deadline) {
        return requests_;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

uint16_t LoopbackServer::closedPort() {
  uint16_t port = 0;
  ::close(listenOnLoopback(port));
  return port;
}

void LoopbackServer::serve() {
  while (!stopping_) {
    if (!readable(listener_, 50)) continue;
    const int client = ::accept(listener_, nullptr, nullptr);
    if (client < 0) continue;
    ++connections_;
    std::string bytes;
    if (behaviour_ != Behaviour::CloseAtOnce) bytes = readRequest(client);
    if (behaviour_ == Behaviour::Answer) {
      const std::string reply = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
      (void)::send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
    }
    if (behaviour_ == Behaviour::NeverAnswer) {
      // Hold the connection until the client gives up on it (bounded, so a test never hangs).
      char scratch[256];
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
      while (!stopping_ && std::chrono::steady_clock::now() < deadline) {
        if (readable(client, 50) && ::recv(client, scratch, sizeof scratch, 0) <= 0) break;
      }
    }
    ::close(client);
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(bytes);
  }
}

std::string LoopbackServer::readRequest(int client) {
  std::string bytes;
  char chunk[4096];
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (bytes.find("\r\n\r\n") == std::string::npos &&
         std::chrono::steady_clock::now() < deadline) {
    if (!readable(client, 50)) continue;
    const ssize_t got = ::recv(client, chunk, sizeof chunk, 0);
    if (got <= 0) break;
    bytes.append(chunk, static_cast<size_t>(got));
  }
  return bytes;
}
