#include "server_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

constexpr int kLineTimeoutMs = 10000;
constexpr auto kExitTimeout = std::chrono::seconds(15);

std::string readAll(int fd) {
  std::string text;
  char buffer[4096];
  pollfd entry{fd, POLLIN, 0};
  while (::poll(&entry, 1, 0) > 0) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got <= 0) break;
    text.append(buffer, static_cast<size_t>(got));
  }
  return text;
}

}  // namespace

ServerProcess::ServerProcess(const std::vector<std::string>& arguments)
    : ServerProcess(TESSARA_HISCORE_SERVER, arguments) {}

ServerProcess::ServerProcess(const std::string& program, const std::vector<std::string>& arguments) {
  int out[2];
  int err[2];
  if (::pipe(out) != 0 || ::pipe(err) != 0) return;
  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(err[1], STDERR_FILENO);
    ::close(out[0]);
    ::close(err[0]);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  ::close(err[1]);
  out_ = out[0];
  err_ = err[0];
}

ServerProcess::~ServerProcess() {
  if (pid_ > 0 && exitCode_ < 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  if (out_ >= 0) ::close(out_);
  if (err_ >= 0) ::close(err_);
}

std::string ServerProcess::firstLine() {
  if (lineRead_) return line_;
  lineRead_ = true;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kLineTimeoutMs);
  std::string text;
  pollfd entry{out_, POLLIN, 0};
  while (text.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    if (::poll(&entry, 1, 100) <= 0) continue;
    char buffer[256];
    const ssize_t got = ::read(out_, buffer, sizeof buffer);
    if (got <= 0) break;
    text.append(buffer, static_cast<size_t>(got));
  }
  const size_t end = text.find('\n');
  line_ = end == std::string::npos ? std::string() : text.substr(0, end);
  if (end != std::string::npos) afterLine_ = text.substr(end + 1);
  return line_;
}

int ServerProcess::port() {
  const std::string line = firstLine();
  const size_t colon = line.rfind(':');
  if (colon == std::string::npos) return 0;
  int port = 0;
  for (size_t i = colon + 1; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
    port = port * 10 + (line[i] - '0');
  }
  return port;
}

int ServerProcess::stop(int signal) {
  if (exitCode_ < 0 && pid_ > 0) ::kill(pid_, signal);
  return wait();
}

int ServerProcess::wait() {
  if (exitCode_ >= 0 || pid_ <= 0) return exitCode_;
  const auto deadline = std::chrono::steady_clock::now() + kExitTimeout;
  int status = 0;
  while (::waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) ::kill(pid_, SIGKILL);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return exitCode_;
}

std::string ServerProcess::errorOutput() { return readAll(err_); }

std::string ServerProcess::remainingOutput() {
  firstLine();
  return afterLine_ + readAll(out_);
}
