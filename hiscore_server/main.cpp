#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "hiscore_service.h"
#include "score_store.h"
#include "server_options.h"

namespace {

std::string shownHost(const std::string& address) {
  return address.find(':') != std::string::npos ? "[" + address + "]" : address;
}

}  // namespace

int main(int argc, char** argv) {
  const OptionsOutcome outcome =
      parseServerOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (outcome.kind == OptionsOutcome::Kind::Help) {
    std::fputs(usageText().c_str(), stdout);
    return 0;
  }
  if (outcome.kind == OptionsOutcome::Kind::Error) {
    std::fprintf(stderr, "tessara-hiscore-server: %s (see --help)\n", outcome.error.c_str());
    return 2;
  }
  const ServerOptions& options = outcome.options;

  // Blocked before any thread starts, so that only the waiting thread below receives them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  std::string error;
  const std::unique_ptr<ScoreStore> store = ScoreStore::open(options.database, error);
  if (!store) {
    std::fprintf(stderr, "tessara-hiscore-server: cannot open the database %s: %s\n",
                 options.database.c_str(), error.c_str());
    return 1;
  }
  HiscoreService service(*store, options.path);
  const std::optional<int> port = service.bind(options.address, options.port);
  if (!port) {
    std::fprintf(stderr,
                 "tessara-hiscore-server: cannot listen on %s port %d: the port is in use or the "
                 "address is not one of this machine's\n",
                 options.address.c_str(), options.port);
    return 1;
  }
  std::printf("Tessara hiscore server listening on http://%s:%d%s\n",
              shownHost(options.address).c_str(), *port, options.path.c_str());
  std::fflush(stdout);

  std::thread stopper([&] {
    int signal;
    sigwait(&stopSignals, &signal);
    service.stop();
  });
  const bool served = service.run();
  // Wakes the waiting thread when serving ended for another reason.
  pthread_kill(stopper.native_handle(), SIGTERM);
  stopper.join();
  return served ? 0 : 1;
}
