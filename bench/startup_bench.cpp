// Start-up benchmark: how long the program takes from its process start to its first paint,
// against an empty window, started alternately in the current folder with a warm wine
// server. A start counts as done when the process waits for input with its window shown and
// painted; a start whose process waited for input before that is not counted. Prints
//
//   start-up first-paint <median ms> empty-window <median ms> ratio <ratio>
//
//   startup_bench.exe PROGRAM PROGRAM_WINDOW_CLASS EMPTY_WINDOW EMPTY_WINDOW_CLASS STARTS
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/wall_clock.h"

namespace {

constexpr int kWarmUpStarts = 2;
constexpr DWORD kSettleMs = 150;

struct Program {
  std::string path;
  std::string windowClass;
  std::vector<double> times;
};

// Milliseconds to the first paint, or a negative number for a start not counted.
double timeOneStart(const Program& program) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string commandLine = "\"" + program.path + "\"";
  const double start = wallMilliseconds();
  if (!CreateProcessA(program.path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    std::fprintf(stderr, "cannot start %s\n", program.path.c_str());
    std::exit(1);
  }
  const DWORD waited = WaitForInputIdle(process.hProcess, 20000);
  const double elapsed = wallMilliseconds() - start;
  HWND window = FindWindowA(program.windowClass.c_str(), nullptr);
  RECT unpainted;
  const bool painted =
      waited == 0 && window && IsWindowVisible(window) && !GetUpdateRect(window, &unpainted, FALSE);
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  // The server, the window system and the X server finish the ended process's clean-up
  // before the next start.
  Sleep(kSettleMs);
  return painted ? elapsed : -1.0;
}

double median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: startup_bench PROGRAM CLASS EMPTY_WINDOW CLASS STARTS\n");
    return 2;
  }
  Program programs[2] = {{argv[1], argv[2], {}}, {argv[3], argv[4], {}}};
  const size_t starts = static_cast<size_t>(std::atoi(argv[5]));
  for (int i = 0; i < kWarmUpStarts; ++i) {
    for (const Program& program : programs) timeOneStart(program);
  }
  int uncounted = 0;
  while (programs[0].times.size() < starts || programs[1].times.size() < starts) {
    for (Program& program : programs) {
      if (program.times.size() >= starts) continue;
      const double elapsed = timeOneStart(program);
      if (elapsed < 0) {
        if (++uncounted > static_cast<int>(starts)) {
          std::fprintf(stderr, "too many starts were idle before their first paint\n");
          return 1;
        }
        continue;
      }
      program.times.push_back(elapsed);
    }
  }
  const double program = median(programs[0].times);
  const double empty = median(programs[1].times);
  std::printf("start-up first-paint %.1f empty-window %.1f ratio %.2f\n", program, empty,
              program / empty);
  if (uncounted > 0) std::fprintf(stderr, "%d starts idle before their first paint not counted\n", uncounted);
  return 0;
}
