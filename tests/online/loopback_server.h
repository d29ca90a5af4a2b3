#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A hiscore server stand-in on 127.0.0.1 that records the bytes of every connection.
class LoopbackServer {
 public:
  enum class Behaviour {
    Answer,       // reads the request, answers a short 200 and closes
    CloseAtOnce,  // closes each connection as soon as it is accepted
    NeverAnswer,  // reads the request and keeps the connection open without a word
  };

  explicit LoopbackServer(Behaviour behaviour);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  uint16_t port() const { return port_; }
  // Every connection's bytes, once the client has finished with it; waits a little for
  // `expected` of them, since the server records a connection after the client is done.
  std::vector<std::string> requests(size_t expected = 1);
  int connections() const { return connections_; }

  // A port on which nothing listens.
  static uint16_t closedPort();

 private:
  void serve();
  std::string readRequest(int client);

  Behaviour behaviour_;
  int listener_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};
