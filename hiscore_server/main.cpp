#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hiscore_service.h"
#include "http_server.h"
#include "report_listing.h"
#include "score_store.h"
#include "server_options.h"

namespace {

std::string shownHost(const std::string& address) {
  return address.find(':') != std::string::npos ? "[" + address + "]" : address;
}

int printReports(const ServerOptions& options) {
  std::string error;
  const std::unique_ptr<ScoreStore> store = ScoreStore::open(options.database, error, true);
  const std::optional<std::vector<StoredReport>> reports =
      store ? store->reports() : std::nullopt;
  if (!reports) {
    std::fprintf(stderr, "tessara-hiscore-server: cannot read the database %s: %s\n",
                 options.database.c_str(), store ? "the reports could not be read" : error.c_str());
    return 1;
  }
  std::fputs(listReports(*reports).c_str(), stdout);
  return 0;
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
  if (options.listReports) return printReports(options);

  // Each connection holds a file descriptor.
  raiseOpenFileLimit();

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
  std::printf("Serving up to %zu connections at once\n", service.connectionLimit());
  std::fflush(stdout);

  service.stopOnSignals();
  return service.run() ? 0 : 1;
}
