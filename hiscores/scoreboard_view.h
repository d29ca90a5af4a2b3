#pragma once

// Opens the hiscore server's scoreboard page in the user's browser. An address too long
// for its buffer opens nothing.
void openOnlineScoreboard();
