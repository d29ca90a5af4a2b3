#include "hiscores/scoreboard_view.h"

#include "hiscores/scoreboard_address.h"
#include "shell/services.h"
#include "shell/shell_state.h"

void openOnlineScoreboard() {
  const auto address = scoreboardAddress(gameSettings.serveraddr, gameSettings.serverport,
                                         gameSettings.serverpath);
  if (address) services().shellOpen(*address);
}
