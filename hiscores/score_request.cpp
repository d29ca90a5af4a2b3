#include "hiscores/score_request.h"

namespace {

// The score's 32 bits read as a signed number, as the servlet has always received them.
std::string signedDecimal(uint32_t value) {
  const int64_t asSigned = value < 0x80000000u ? int64_t{value} : int64_t{value} - 0x100000000;
  return std::to_string(asSigned);
}

}  // namespace

void appendScoreRow(std::string& request, const HiscoreEntry& row) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  for (const char c : row.nameText()) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte == ' ') {
      request += ':';
    } else if (byte < 0x20 || byte == 0x7F) {
      request += '%';
      request += kHexDigits[byte >> 4];
      request += kHexDigits[byte & 0x0F];
    } else {
      request += c;
    }
  }
  request += '_';
  request += signedDecimal(row.score);
}

std::optional<std::string> buildScoreRequest(const HiscoreTable& table, const ScoreServer& server) {
  std::string request = "GET ";
  if (server.proxy) {
    request += "http://";
    request += server.serveraddr;
    if (server.serverport != 80) {
      request += ':';
      request += std::to_string(server.serverport);
    }
  }
  request += server.serverpath;
  request += "?Op=SetScores&V=";
  for (uint16_t index = 0; index < table.count; ++index) {
    appendScoreRow(request, table.row(index));
    request += '_';
  }
  request +=
      " HTTP/1.1\r\nAccept: */*\r\n"
      "Accept-Language: en-gb\r\n"
      "Accept-Encoding: gzip, deflate\r\n"
      "User-Agent: Mozilla/4.0 (compatible; "
      "TessaraHiscores"
      ")\r\nConnection: Keep-Alive\r\n"
      "Host: xxx.xxx.xxx"
      "\r\n\r\n";
  if (request.size() > kRequestBufferBytes - 1) return std::nullopt;
  return request;
}
