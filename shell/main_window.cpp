#include "shell/main_window.h"

#include "engine/engine_state.h"
#include "engine/game_flow.h"
#include "engine/player_actions.h"
#include "engine/pointer_gestures.h"
#include "hiscores/hiscore_dialogs.h"
#include "hiscores/hiscore_state.h"
#include "hiscores/scoreboard_view.h"
#include "hiscores/server_dialogs.h"
#include "resources/resource_ids.h"
#include "shell/help_menu.h"
#include "shell/level_dialog.h"
#include "shell/shell_state.h"
#include "view/board_painting.h"
#include "view/engine_link.h"
#include "view/game_start.h"
#include "view/surface_changes.h"
#include "view/tile_images.h"
#include "view/tile_metrics.h"

namespace {

constexpr char kSocketsFailedText[] = "WSAStartup failed!";
constexpr char kSocketsFailedCaption[] = "Error";
constexpr char kChangeIconsText[] =
    "If you change icon size it will quit the current game\ndo you wish to continue?";
constexpr char kChangeIconsCaption[] = "Really change?";

void newGame() {
  // A flag left by the hiscore table's OK would swallow the release that starts the game,
  // or the first click of the game started here.
  heedTheNextRelease();
  if (!board.isBuilt()) {
    // The start-up game never ran: this is the run's first game start, which shows the
    // level dialog itself and leaves the safe start to the next paint.
    startNewGame();
    return;
  }
  if (!gameFlags.gameOver) endGameLost();
  runLevelDialog();
  onLeftRelease(0, 0, 0);
}

// Flips a setting used as a flag and its menu check mark together.
void toggleChecked(int command, int32_t& setting) {
  setting = setting != 0 ? 0 : 1;
  services().checkMenuItem(command, setting != 0);
}

void flipTileSize() {
  gameSettings.small = gameSettings.small != 0 ? 0 : 1;
  services().checkMenuItem(IDM_USE_BIG_ICONS, gameSettings.small == 0);
}

void changeTileSize() {
  if (!board.isBuilt()) {
    // No game to quit, so nothing to ask; the next game starts at the new size.
    flipTileSize();
    return;
  }
  Services& platform = services();
  const int answer = platform.messageBox(platform.mainWindow(), kChangeIconsText,
                                         kChangeIconsCaption, box::kYesNo | box::kIconQuestion);
  if (answer != box::kAnswerYes) return;
  // The game ends before the size flips, so its final board is drawn with its own tiles.
  if (!gameFlags.gameOver) endGameLost();
  flipTileSize();
  // Bigger tiles may not fit the board on the screen any more.
  fitCustomBoardWithin(levelLimitsOnScreen(tileMetricsFor(gameSettings.small)));
  startNewGame();
}

}  // namespace

void onMainWindowCreate() {
  localHiscores.load();
  SetDefaultSettings();
  if (LoadSettings()) {
    Services& platform = services();
    platform.checkMenuItem(IDM_SAFE_START, gameSettings.safe != 0);
    platform.checkMenuItem(IDM_USE_MARKS, gameSettings.marks != 0);
    platform.checkMenuItem(IDM_USE_BIG_ICONS, gameSettings.small == 0);
    settingsLoaded = true;
  }
  prepareTileImages();
  connectEngineToView();
  if (!services().startSocketsLibrary()) {
    services().messageBox(0, kSocketsFailedText, kSocketsFailedCaption, box::kOk);
    return;
  }
  startNewGame();
}

void onMainWindowDestroy() { SaveSettings(); }

void onMainWindowPaint(DrawContext paintContext) {
  // Before the first game start there is no surface to copy; the class background shows.
  if (!board.isBuilt()) return;
  if (gameFlags.firstGame) {
    // The fresh board, the safe start's opening and the repaint reach the window in one copy.
    const WindowUpdateBatch batch(paintContext);
    paintFreshBoard();
    markFirstGamePast();
    // The first board's start ran before the window was shown, so its reveal happens here.
    if (gameSettings.safe != 0) {
      safeStart();
      repaintAllCells();
    }
    return;
  }
  copyOffscreenToWindow(paintContext);
}

bool onMainWindowCommand(int command) {
  switch (command) {
    case IDM_NEW_GAME:
      newGame();
      return true;
    case IDM_EXIT:
      services().closeMainWindow();
      return true;
    case IDM_USE_MARKS:
      toggleChecked(IDM_USE_MARKS, gameSettings.marks);
      return true;
    case IDM_SAFE_START:
      toggleChecked(IDM_SAFE_START, gameSettings.safe);
      return true;
    case IDM_USE_BIG_ICONS:
      changeTileSize();
      return true;
    case IDM_VIEW_LOCAL_HISCORES:
      runHiscoreTableDialog();
      return true;
    case IDM_VIEW_ONLINE_HISCORES:
      openOnlineScoreboard();
      return true;
    case IDM_SET_HISCORE_SERVER:
      runSetServerDialog();
      return true;
    case IDM_SET_PROXY_SERVER:
      runSetProxyDialog();
      return true;
    case IDM_REPORT_BUG:
      openBugReport();
      return true;
    case IDM_HOW_TO_PLAY:
      openHowToPlay();
      return true;
    case IDM_ABOUT:
      runAboutDialog();
      return true;
    default:
      return false;
  }
}
