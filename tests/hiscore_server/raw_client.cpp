#include "raw_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

constexpr int kReplyTimeoutMs = 10000;
constexpr int kCloseTimeoutMs = 3000;

bool sendAll(int sock, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(sock, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(sent));
  }
  return true;
}

// The length of a complete answer at the start of `reply`, or 0 while it is incomplete.
size_t completeAnswer(const std::string& reply, bool toHead) {
  const size_t headEnd = reply.find("\r\n\r\n");
  if (headEnd == std::string::npos) return 0;
  const std::string length = headerOf(reply, "Content-Length");
  const size_t bodyBytes = toHead || length.empty() ? 0 : std::stoul(length);
  const size_t total = headEnd + 4 + bodyBytes;
  return reply.size() >= total ? total : 0;
}

}  // namespace

int connectTo(int port) {
  const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (sock >= 0 && ::connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
    return sock;
  if (sock >= 0) ::close(sock);
  return -1;
}

RawReply exchange(int port, const std::vector<std::string>& pieces) {
  RawReply reply;
  const int sock = connectTo(port);
  if (sock < 0) return reply;
  bool sent = true;
  for (size_t index = 0; sent && index < pieces.size(); ++index) {
    if (index > 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    sent = sendAll(sock, pieces[index]);
  }
  const bool head = !pieces.empty() && pieces[0].rfind("HEAD ", 0) == 0;
  // Read even after a failed send: the server may answer and close before reading all.
  pollfd entry{sock, POLLIN, 0};
  char buffer[4096];
  size_t length = 0;
  int waitMs = kReplyTimeoutMs;
  while (::poll(&entry, 1, waitMs) > 0) {
    const ssize_t received = ::recv(sock, buffer, sizeof buffer, 0);
    if (received <= 0) {
      reply.closed = true;
      break;
    }
    reply.text.append(buffer, static_cast<size_t>(received));
    if (length == 0 && (length = completeAnswer(reply.text, head)) != 0) {
      if (headerOf(reply.text, "Connection") != "close") break;
      waitMs = kCloseTimeoutMs;
    }
  }
  ::close(sock);
  return reply;
}

std::string roundTrip(int port, const std::vector<std::string>& pieces) {
  return exchange(port, pieces).text;
}

std::string roundTrip(int port, std::string_view request) {
  return roundTrip(port, std::vector<std::string>{std::string(request)});
}

int statusOf(const std::string& reply) {
  if (reply.compare(0, 9, "HTTP/1.1 ") != 0 || reply.size() < 12) return 0;
  return std::stoi(reply.substr(9, 3));
}

std::string bodyOf(const std::string& reply) {
  const size_t end = reply.find("\r\n\r\n");
  return end == std::string::npos ? std::string() : reply.substr(end + 4);
}

std::string headerOf(const std::string& reply, const std::string& name) {
  const std::string key = "\r\n" + name + ": ";
  const size_t start = reply.find(key);
  if (start == std::string::npos || start > reply.find("\r\n\r\n")) return {};
  const size_t valueStart = start + key.size();
  return reply.substr(valueStart, reply.find("\r\n", valueStart) - valueStart);
}

std::string targetOfGameRequest(const std::string& request) {
  const size_t start = request.find(' ') + 1;
  return request.substr(start, request.find(" HTTP/1.1\r\n") - start);
}
