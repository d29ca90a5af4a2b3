#include "shell/level_dialog.h"

#include <cstdio>
#include <string>

#include "resources/resource_ids.h"
#include "shell/level_choice.h"
#include "shell/services.h"
#include "shell/shell_state.h"
#include "view/view_state.h"

namespace {

std::string unsignedText(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(value));
  return text;
}

class LevelDlgProc final : public DialogProcedure {
 public:
  bool onInit(DialogControls& dialog) override {
    limits_ = levelLimitsOnScreen(tileMetrics);

    dialog.setText(IDC_LEVEL_COLUMNS_LABEL, columnsLabel(limits_.maxColumns));
    dialog.setText(IDC_LEVEL_ROWS_LABEL, rowsLabel(limits_.maxRows));
    dialog.setText(IDC_LEVEL_DIFFICULTY_LABEL, difficultyLabel());

    dialog.setText(IDC_LEVEL_COLUMNS, unsignedText(gameSettings.columns));
    dialog.setText(IDC_LEVEL_ROWS, unsignedText(gameSettings.rows));
    dialog.setText(IDC_LEVEL_DIFFICULTY, unsignedText(gameSettings.difficulty));

    if (services().systemMetric(SystemMetric::ScreenWidth) < kMinScreenWidthForHardLevels) {
      dialog.enable(IDC_LEVEL_EXPERT, false);
      dialog.enable(IDC_LEVEL_ADVANCED, false);
    }
    return true;
  }

  bool onCommand(DialogControls& dialog, int control, int) override {
    if (control == IDC_LEVEL_PLAY_CUSTOM) {
      const uint32_t rows = dialog.unsignedNumber(IDC_LEVEL_ROWS);
      const uint32_t columns = dialog.unsignedNumber(IDC_LEVEL_COLUMNS);
      const uint32_t difficulty = dialog.unsignedNumber(IDC_LEVEL_DIFFICULTY);
      if (playCustom(rows, columns, difficulty, limits_) == CustomBoard::Fallback) {
        services().messageBox(0, kOutOfLimitsText, kOutOfLimitsCaption,
                              box::kOk | box::kIconError | box::kTaskModal);
      }
      dialog.end(0);
      return true;
    }
    if (const CompetitionLevel* chosen = findCompetitionLevelByControl(control)) {
      chooseCompetitionLevel(*chosen);
      dialog.end(0);
      return true;
    }
    if (control == IDC_LEVEL_QUIT) {
      // Ends the run without the window's shut-down, so the settings are not saved.
      services().exitProcess(0);
      return true;
    }
    // Escape (IDCANCEL) lands here: the dialog closes only through a choice.
    return false;
  }

 private:
  LevelLimits limits_;
};

}  // namespace

LevelLimits levelLimitsOnScreen(const TileMetrics& tiles) {
  Services& platform = services();
  const Rect work = platform.workArea();
  const Rect frame = platform.adjustWindowRect({0, 0, 0, 0});
  return ComputeLevelLimits(work.width(), work.height(), {frame.width(), frame.height()}, tiles);
}

void runLevelDialog() {
  // A stored level taken over closes the dialog before it shows, whatever its buttons, so
  // the dialog is not made at all: making it is most of the start-up's time.
  if (takeOverStoredLevel()) return;
  runDialogWith<LevelDlgProc>(IDD_LEVEL);
}
