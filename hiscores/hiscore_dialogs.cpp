#include "hiscores/hiscore_dialogs.h"

#include <string>

#include "engine/game_flow.h"
#include "hiscores/hiscore_state.h"
#include "hiscores/score_submission.h"
#include "resources/resource_ids.h"
#include "shell/services.h"

namespace {

class EnterNameDialog final : public DialogProcedure {
 public:
  bool onInit(DialogControls& dialog) override {
    playerName = "Anonymous";
    dialog.setText(IDC_NAME_FIELD, playerName);
    return true;
  }

  // The close box and Escape arrive as IDCANCEL and are ignored: the name is always asked.
  bool onCommand(DialogControls& dialog, int control, int) override {
    if (control != IDC_NAME_OK) return false;
    playerName = dialog.text(IDC_NAME_FIELD, kMaxNameLength);
    dialog.end(0);
    return true;
  }
};

// Runs the submission during its initialisation, so it is never seen on screen: the user
// sees only the message boxes it owns.
class ConnectingDialog final : public DialogProcedure {
 public:
  bool onInit(DialogControls& dialog) override {
    submitScores(dialog.window());
    dialog.end(0);
    return true;
  }
  bool onCommand(DialogControls&, int, int) override { return false; }
};

class HiscoreTableDialog final : public DialogProcedure {
 public:
  bool onInit(DialogControls& dialog) override {
    if (highlightRow >= 0 && highlightRow < kHiscoreRows) {
      dialog.setBoldFont(kTableRowIds[highlightRow]);
      dialog.setText(kTableMarkerIds[highlightRow], "*");
    }
    for (int row = 0; row < kHiscoreRows; ++row) {
      const HiscoreEntry& entry = localHiscores.row(static_cast<size_t>(row));
      dialog.setText(kTableRowIds[row],
                     std::string(entry.nameText()) + " - " + std::to_string(entry.score));
      dialog.setText(kTableRankIds[row], std::to_string(row + 1) + ".");
    }
    highlightRow = kNoHighlightRow;
    return true;
  }

  bool onCommand(DialogControls& dialog, int control, int) override {
    switch (control) {
      case IDC_TABLE_OK:
        ignoreTheNextRelease();
        dialog.end(0);
        return true;
      case IDC_TABLE_SUBMIT: {
        dialog.end(0);
        runDialogWith<ConnectingDialog>(IDD_CONNECTING);
        return true;
      }
      default:
        return false;
    }
  }
};

}  // namespace

void runEnterNameDialog() { runDialogWith<EnterNameDialog>(IDD_ENTER_NAME); }

void runHiscoreTableDialog() { runDialogWith<HiscoreTableDialog>(IDD_HISCORE_TABLE); }
