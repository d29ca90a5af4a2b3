#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

constexpr size_t kScoreboardAddressBytes = 1024;

// The servlet's scoreboard page; port 80 is left out of the address. Nothing when the address
// would not fit into its buffer with the terminator.
std::optional<std::string> scoreboardAddress(std::string_view serveraddr, int32_t serverport,
                                             std::string_view serverpath);
