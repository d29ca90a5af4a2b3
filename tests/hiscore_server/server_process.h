#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// The hiscore server program run as a child process with the given arguments.
class ServerProcess {
 public:
  explicit ServerProcess(const std::vector<std::string>& arguments);
  // Another build of the program, for comparisons.
  ServerProcess(const std::string& program, const std::vector<std::string>& arguments);
  ~ServerProcess();  // kills it if it still runs
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  // The first line it prints, waiting a few seconds for it; empty when it printed none.
  std::string firstLine();
  // The port named in the first line, or 0.
  int port();
  // Sends the signal and waits for the end: the exit code, or 128 + the signal that ended it.
  int stop(int signal);
  // Waits for the end on its own (a few seconds at most, then kills it).
  int wait();
  std::string errorOutput();
  // What it printed after the first line, as far as it has arrived.
  std::string remainingOutput();
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  int err_ = -1;
  std::string line_;
  std::string afterLine_;  // read with the first line
  bool lineRead_ = false;
  int exitCode_ = -1;
};
