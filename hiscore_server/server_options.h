#pragma once

#include <string>
#include <vector>

struct ServerOptions {
  std::string address = "127.0.0.1";
  int port = 8080;
  // The game's default servlet path, so that a fresh install needs only the server address.
  std::string path = "/examples/servlet/TessaraHST";
  std::string database = "tessara-hiscores.sqlite";
  bool listReports = false;  // print the stored bug reports instead of serving
};

struct OptionsOutcome {
  enum class Kind { Run, Help, Error } kind = Kind::Run;
  ServerOptions options;
  std::string error;  // for Kind::Error
};

// Reads "--name value" or "--name=value" for each option; the arguments exclude the
// program name.
OptionsOutcome parseServerOptions(const std::vector<std::string>& arguments);

std::string usageText();
