#include "hiscores/win_flow.h"

#include <string>

#include "engine/engine_state.h"
#include "engine/game_flow.h"
#include "hiscores/hiscore_dialogs.h"
#include "hiscores/hiscore_file.h"
#include "hiscores/hiscore_state.h"
#include "hiscores/win_score.h"
#include "shell/services.h"
#include "shell/shell_state.h"
#include "view/game_start.h"

namespace {

constexpr char kNotEnoughText[] =
    "Sorry - you didn't score enough to reach the local board...\n...have you tried online?";
constexpr char kNotEnoughCaption[] = "MAYBE NEXT TIME?";
constexpr char kWellDoneCaption[] = "WELL DONE";

}  // namespace

void onGameWon() {
  Services& platform = services();
  platform.killTimer(kPlayTimer);
  const int32_t elapsed = platform.milliseconds() - playClock.startClock;
  const uint32_t score = winScore(elapsed, static_cast<int>(gameSettings.difficulty),
                                  gameSettings.columns, gameSettings.rows, board.mines);

  runEnterNameDialog();
  const InsertOutcome outcome = localHiscores.insert(score, playerName);
  if (outcome.qualified) {
    platform.messageBox(0, "Your score was " + std::to_string(score), kWellDoneCaption,
                        box::kTaskModal | box::kIconExclamation | box::kOk);
  } else {
    platform.messageBox(0, kNotEnoughText, kNotEnoughCaption,
                        box::kTaskModal | box::kIconInformation | box::kOk);
  }
  runHiscoreTableDialog();
  // After the table and any submission started from it have closed.
  if (!localHiscores.save()) {
    platform.messageBox(0, kHiscoreWriteErrorText, kHiscoreWriteErrorCaption,
                        box::kIconError | box::kOk);
  }

  // Left finished like a lost game, but the last picture of play stays on screen.
  leaveGameFinished(FinalPicture::LastPictureOfPlay);
  markFirstGamePast();
}
