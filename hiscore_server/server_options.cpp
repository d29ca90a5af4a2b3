#include "server_options.h"

#include <optional>
#include <utility>

namespace {

std::optional<int> portNumber(const std::string& text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  int port = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    port = port * 10 + (c - '0');
  }
  return port <= 65535 ? std::optional<int>(port) : std::nullopt;
}

// The game puts the path straight into its request line, followed by "?".
bool validPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return false;
  for (const char c : path) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F || c == '?' || c == '#') return false;
  }
  return true;
}

OptionsOutcome failure(std::string error) {
  OptionsOutcome outcome;
  outcome.kind = OptionsOutcome::Kind::Error;
  outcome.error = std::move(error);
  return outcome;
}

}  // namespace

OptionsOutcome parseServerOptions(const std::vector<std::string>& arguments) {
  OptionsOutcome outcome;
  ServerOptions& options = outcome.options;
  for (size_t index = 0; index < arguments.size(); ++index) {
    std::string name = arguments[index];
    if (name == "--help" || name == "-h") {
      outcome.kind = OptionsOutcome::Kind::Help;
      return outcome;
    }
    if (name == "--reports") {
      options.listReports = true;
      continue;
    }
    std::optional<std::string> value;
    if (const size_t equals = name.find('=');
        name.rfind("--", 0) == 0 && equals != std::string::npos) {
      value = name.substr(equals + 1);
      name.resize(equals);
    }
    if (name == "--reports") return failure("--reports takes no value");
    if (name != "--address" && name != "--port" && name != "--path" && name != "--database") {
      return failure("unknown option " + name);
    }
    if (!value) {
      if (index + 1 == arguments.size()) return failure(name + " needs a value");
      value = arguments[++index];
    }
    if (name == "--address") {
      if (value->empty()) return failure("--address needs a value");
      options.address = *value;
    } else if (name == "--port") {
      const std::optional<int> port = portNumber(*value);
      if (!port) return failure("--port takes a number from 0 to 65535, not \"" + *value + "\"");
      options.port = *port;
    } else if (name == "--path") {
      if (!validPath(*value)) {
        return failure("--path must start with / and hold no space, control character, ? or #");
      }
      options.path = *value;
    } else {
      if (value->empty()) return failure("--database needs a file name");
      options.database = *value;
    }
  }
  return outcome;
}

std::string usageText() {
  const ServerOptions defaults;
  return "Usage: tessara-hiscore-server [options]\n"
         "Stores the hiscore tables that Tessara submits and serves the scoreboard page.\n"
         "\n"
         "  --address ADDR   address to listen on (default " +
         defaults.address +
         ";\n"
         "                   0.0.0.0 or :: for every interface)\n"
         "  --port N         TCP port, 0 for any free one (default " +
         std::to_string(defaults.port) +
         ")\n"
         "  --path PATH      servlet path set in the game (default " +
         defaults.path +
         ")\n"
         "  --database FILE  SQLite file that keeps the scores (default " +
         defaults.database +
         ")\n"
         "  --reports        print the bug reports stored in the database and end\n"
         "  --help           show this text\n";
}
