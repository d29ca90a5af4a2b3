#include "hiscores/scoreboard_address.h"

std::optional<std::string> scoreboardAddress(std::string_view serveraddr, int32_t serverport,
                                             std::string_view serverpath) {
  std::string address = "http://";
  address += serveraddr;
  if (serverport != 80) {
    address += ':';
    address += std::to_string(serverport);
  }
  address += serverpath;
  address += "?Op=GetHTML";
  if (address.size() > kScoreboardAddressBytes - 1) return std::nullopt;
  return address;
}
