#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

// Connections that hold a server's attention without finishing a request: idle ones that
// send nothing, and dribbling ones that send the game's request a byte at a time. A thread of
// their own sends the next byte on every dribbling connection once each interval.
class SlowClients {
 public:
  SlowClients(int port, int idle, int dribbling, std::chrono::milliseconds interval);
  ~SlowClients();  // stops sending and closes every connection
  SlowClients(const SlowClients&) = delete;
  SlowClients& operator=(const SlowClients&) = delete;

  // Connections that were made; fewer when the server or the file limit refused some.
  int connected() const { return static_cast<int>(idle_.size() + dribbling_.size()); }
  // Connections that the server has ended, idle ones and dribbling ones.
  int idleClosed() const;
  int dribblingClosed() const;

 private:
  void dribble();

  std::vector<int> idle_;
  std::vector<int> dribbling_;
  std::vector<bool> ended_;  // per dribbling connection: a send failed
  std::string request_;
  std::chrono::milliseconds interval_;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};
