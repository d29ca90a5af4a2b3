#pragma once

#include <string>

#include "hiscores/hiscore_table.h"
#include "shell/sockets.h"

// The hiscores' program-wide state: the one local table, the row its last qualifying score
// took, the name the player gave for the last win, and what the last submission connected to. Other subsystems change them only
// through the hiscores' operations (HiscoreTable's members, the win flow and the dialogs).

extern HiscoreTable localHiscores;  // kHiscoreRows rows

// Row at which the last qualifying score landed; the table dialog shows it once and resets it.
extern int highlightRow;

// The name typed in the name dialog of the last win (at most 31 characters).
extern std::string playerName;

// The address the last submission resolved its host to, and its socket; each submission
// overwrites them, and the socket is closed when the submission ends.
extern net::Address resolvedAddress;
extern net::Socket scoreSocket;

// All of them as a new process has them, before start-up loads the table; for tests that run
// many programs in one process.
void resetHiscoreState();
