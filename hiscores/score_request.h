#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "hiscores/hiscore_table.h"

// Where a submission goes. Through the proxy the request line carries the server's absolute
// address; the connection itself is made elsewhere.
struct ScoreServer {
  bool proxy = false;
  std::string serveraddr;
  int32_t serverport = 80;
  std::string serverpath;
};

constexpr size_t kRequestBufferBytes = 2048;

// Appends the row as name_score: spaces become ':', control bytes are sent as %XX so they
// cannot break the request line, every other byte goes unchanged. The score is printed as a
// signed 32-bit number. The caller appends the "_" that closes the row.
void appendScoreRow(std::string& request, const HiscoreEntry& row);

// The whole SetScores GET request for the table's rows, or nothing when it would not fit
// into the request buffer with its terminator.
std::optional<std::string> buildScoreRequest(const HiscoreTable& table, const ScoreServer& server);
