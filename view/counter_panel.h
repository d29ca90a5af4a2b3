#pragma once

#include <cstdint>

// The counter panel image: each of the two counters below the field stands on one, inside
// one of the window outline's two feet.
constexpr int32_t kCounterPanelWidth = 82;
constexpr int32_t kCounterPanelHeight = 36;
