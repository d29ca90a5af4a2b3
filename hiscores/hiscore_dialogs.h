#pragma once

// Asks for the player's name (playerName, hiscore_state.h); only its OK button closes it.
void runEnterNameDialog();
// Shows the local table, the row of the last qualifying win in bold with a marker. OK makes
// the main window ignore its next release; Submit Hiscores sends the table online.
void runHiscoreTableDialog();
