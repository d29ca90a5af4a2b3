#pragma once

#include <httplib.h>

// An httplib server whose handlers see the request target exactly as the request line
// carried it: the library cuts the target at '#', and the game sends player names with '#'
// unescaped. The target is empty when the request line could not be matched with what the
// library parsed. Answers are never compressed. Every connection carries one request and
// the answer closes it, so that no idle connection holds one of the worker threads.
class RawTargetServer : public httplib::Server {
 public:
  RawTargetServer();

  // Call after binding. The library listens with a backlog of 5, which a burst of players
  // overflows, and each dropped connection then waits a second or more for its retry.
  void widenListenBacklog();

 private:
  bool process_and_close_socket(socket_t sock) override;
};
