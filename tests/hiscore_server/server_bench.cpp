// Measures a hiscore server program over loopback and prints the figures; checks nothing.
// Give other builds of the program as arguments to measure them the same way, side by side.
//
//   1. Throughput: 200 players submit at once, each on its own connection as the game does,
//      for a few seconds; submissions answered with 200 per second.
//   2. Latency among hostile connections: 1,000 connections, half idle and half sending the
//      game's request a byte a second, while one player submits now and then.
//   3. Memory under header floods: the server's resident memory before, at its peak and after
//      four clients each send 8,000 header lines of 8 KiB, and while 1,000 connections each
//      hold a head of 24 KiB that never ends.

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "hiscores/hiscore_table.h"
#include "hiscores/score_request.h"
#include "http_server.h"
#include "raw_client.h"
#include "scratch_folder.h"
#include "server_process.h"
#include "slow_clients.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPlayers = 200;
constexpr auto kLoadTime = std::chrono::seconds(5);
constexpr int kHostile = 1000;
constexpr int kProbes = 20;
constexpr int kThroughputRounds = 3;

std::string submission(int player, int round) {
  HiscoreTable table(kHiscoreRows);
  for (int row = 0; row < kHiscoreRows; ++row) {
    table.entries[row].setName("P" + std::to_string(player) + " r" + std::to_string(round) +
                               " #" + std::to_string(row));
    table.entries[row].score = 100000000u - static_cast<uint32_t>(row);
  }
  return buildScoreRequest(table, ScoreServer{player % 2 == 1, "xxx.xxx.xxx", 8080,
                                              "/examples/servlet/TessaraHST"})
      .value();
}

// CPU time the process has used, user and system, in seconds.
double cpuSeconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // The fields after the command name, which is in parentheses and may hold spaces.
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  double ticks = 0;
  for (int index = 3; fields >> field && index <= 15; ++index) {
    if (index == 14 || index == 15) ticks += std::stod(field);  // utime, stime
  }
  return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

double milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

// A figure of /proc/PID/status in MiB, for example "VmRSS".
double memoryMiB(pid_t pid, const std::string& key) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key + ":", 0) == 0) return std::stod(line.substr(key.size() + 1)) / 1024;
  }
  return -1;
}

// Each run on a database of its own: rows already stored would cost no write.
std::string freshDatabase(const std::string& purpose) {
  static int runs = 0;
  return purpose + "-" + std::to_string(++runs) + ".sqlite";
}

void throughput(const std::string& program) {
  ServerProcess server(program, {"--port", "0", "--database", freshDatabase("throughput")});
  const int port = server.port();
  const double cpuBefore = cpuSeconds(server.pid());
  std::atomic<int> answered{0};
  std::atomic<int> refused{0};
  const Clock::time_point start = Clock::now();
  std::vector<std::thread> players;
  for (int player = 0; player < kPlayers; ++player) {
    players.emplace_back([&, player] {
      for (int round = 0; Clock::now() - start < kLoadTime; ++round) {
        if (statusOf(roundTrip(port, submission(player, round))) == 200) {
          ++answered;
        } else {
          ++refused;
        }
      }
    });
  }
  for (std::thread& player : players) player.join();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const double cpu = cpuSeconds(server.pid()) - cpuBefore;
  std::printf("throughput: %d players, %d submissions answered in %.1f s: %.0f per second "
              "(%d not answered with 200); the server used %.1f s of CPU, %.0f us a submission\n",
              kPlayers, answered.load(), seconds, answered / seconds, refused.load(), cpu,
              answered > 0 ? cpu * 1e6 / answered : 0.0);
  server.stop(SIGTERM);
}

void latencyAmongHostileConnections(const std::string& program) {
  ServerProcess server(program, {"--port", "0", "--database", freshDatabase("latency")});
  const int port = server.port();
  SlowClients slow(port, kHostile / 2, kHostile / 2, std::chrono::seconds(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  std::vector<double> times;
  int unanswered = 0;
  for (int probe = 0; probe < kProbes && unanswered < 2; ++probe) {
    const Clock::time_point start = Clock::now();
    const std::string reply = roundTrip(port, submission(kPlayers + probe, 0));
    if (statusOf(reply) == 200) {
      times.push_back(milliseconds(Clock::now() - start));
    } else {
      ++unanswered;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  std::sort(times.begin(), times.end());
  std::printf("latency: %d connected of %d hostile (half idle, half a byte a second); "
              "%zu submissions answered",
              slow.connected(), kHostile, times.size());
  if (!times.empty()) {
    std::printf(", median %.1f ms, slowest %.1f ms", times[times.size() / 2], times.back());
  }
  std::printf("; %d not answered within 10 s\n", unanswered);
  server.stop(SIGKILL);
}

// Sends header lines until `bytes` are sent or the server stops reading; returns the status.
int flood(int port, size_t lines, size_t lineBytes) {
  const int sock = connectTo(port);
  if (sock < 0) return 0;
  const std::string head = "GET /examples/servlet/TessaraHST?Op=GetHTML HTTP/1.1\r\nHost: x\r\n";
  const std::string line = "X-Flood: " + std::string(lineBytes - 11, 'f') + "\r\n";
  ::send(sock, head.data(), head.size(), MSG_NOSIGNAL);
  for (size_t sent = 0; sent < lines; ++sent) {
    if (::send(sock, line.data(), line.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(line.size()))
      break;
  }
  ::send(sock, "\r\n", 2, MSG_NOSIGNAL);
  std::string reply;
  char buffer[4096];
  pollfd entry{sock, POLLIN, 0};
  while (::poll(&entry, 1, 5000) > 0) {
    const ssize_t got = ::recv(sock, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    reply.append(buffer, static_cast<size_t>(got));
  }
  ::close(sock);
  return statusOf(reply);
}

void memoryUnderFloods(const std::string& program) {
  ServerProcess server(program, {"--port", "0", "--database", freshDatabase("memory")});
  const int port = server.port();
  const pid_t pid = server.pid();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const double before = memoryMiB(pid, "VmRSS");

  std::vector<std::thread> flooders;
  std::vector<int> statuses(4);
  for (int client = 0; client < 4; ++client)
    flooders.emplace_back([&, client] { statuses[client] = flood(port, 8000, 8192); });
  for (std::thread& flooder : flooders) flooder.join();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  std::printf("memory: %.1f MiB before; four floods of 8,000 header lines of 8 KiB (answered "
              "%d %d %d %d): peak %.1f MiB, %.1f MiB after\n",
              before, statuses[0], statuses[1], statuses[2], statuses[3],
              memoryMiB(pid, "VmHWM"), memoryMiB(pid, "VmRSS"));

  // Heads just within every limit, never ended.
  std::vector<int> holders;
  const std::string head = "GET /examples/servlet/TessaraHST?Op=GetHTML HTTP/1.1\r\n";
  std::string fields;
  for (int field = 0; field < 60; ++field)
    fields += "X-Hold-" + std::to_string(field) + ": " + std::string(250, 'h') + "\r\n";
  for (int client = 0; client < kHostile; ++client) {
    const int sock = connectTo(port);
    if (sock < 0) break;
    ::send(sock, head.data(), head.size(), MSG_NOSIGNAL);
    ::send(sock, fields.data(), fields.size(), MSG_NOSIGNAL);
    holders.push_back(sock);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  std::printf("  memory: %zu connections each holding an unfinished head of %zu bytes: "
              "%.1f MiB resident\n",
              holders.size(), head.size() + fields.size(), memoryMiB(pid, "VmRSS"));
  for (const int sock : holders) ::close(sock);
  server.stop(SIGKILL);
}

}  // namespace

int main(int argc, char** argv) {
  raiseOpenFileLimit();
  std::vector<std::string> programs(argv + 1, argv + argc);
  if (programs.empty()) programs.push_back(TESSARA_HISCORE_SERVER);
  ScratchFolder folder;
  // Rounds in turn, so that a busy moment of the machine falls on every program alike.
  for (int round = 1; round <= kThroughputRounds; ++round) {
    for (const std::string& program : programs) {
      std::printf("round %d, %s\n  ", round, program.c_str());
      throughput(program);
      std::fflush(stdout);
    }
  }
  for (const std::string& program : programs) {
    std::printf("%s\n  ", program.c_str());
    latencyAmongHostileConnections(program);
    std::printf("  ");
    std::fflush(stdout);
    memoryUnderFloods(program);
    std::fflush(stdout);
  }
  return 0;
}
