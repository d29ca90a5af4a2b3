#include "hiscores/hiscore_state.h"

HiscoreTable localHiscores(kHiscoreRows);
int highlightRow = kNoHighlightRow;
std::string playerName;
net::Address resolvedAddress{};
net::Socket scoreSocket = -1;

void resetHiscoreState() {
  for (uint16_t index = 0; index < localHiscores.count; ++index) {
    localHiscores.entries[index] = HiscoreEntry{};
  }
  highlightRow = kNoHighlightRow;
  playerName.clear();
  resolvedAddress = {};
  scoreSocket = -1;
}
