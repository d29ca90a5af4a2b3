#pragma once

#include <string>

// The name typed in the name dialog of the last win (at most 31 characters).
extern std::string playerName;

// Asks for the player's name; only its OK button closes it.
void runEnterNameDialog();
// Shows the local table, the row of the last qualifying win in bold with a marker. OK makes
// the main window ignore its next release; Submit Hiscores sends the table online.
void runHiscoreTableDialog();
