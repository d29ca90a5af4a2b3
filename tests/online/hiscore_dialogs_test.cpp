#include <gtest/gtest.h>

#include <string>

#include "engine/engine_state.h"
#include "hiscores/hiscore_dialogs.h"
#include "hiscores/hiscore_state.h"
#include "loopback_server.h"
#include "memory_program.h"
#include "resources/resource_ids.h"
#include "shell/shell_state.h"

namespace {

class HiscoreDialogs : public MemoryProgram {
 protected:
  HiscoreDialogs() { localHiscores.fillDefaultTable(); }
};

}  // namespace

TEST_F(HiscoreDialogs, NameDialogStartsWithAnonymousAndKeepsThirtyOneCharacters) {
  struct Case {
    const char* typed;
    std::string stored;
  };
  const Case cases[] = {
      {nullptr, "Anonymous"},  // Enter at once
      {"", ""},
      {"Jo Ann", "Jo Ann"},
      {"abcdefghijklmnopqrstuvwxyz0123456789", "abcdefghijklmnopqrstuvwxyz01234"},
  };
  for (const Case& c : cases) {
    platform.answerDialog(IDD_ENTER_NAME, [&](MemoryDialog& dialog) {
      EXPECT_EQ(dialog.control(IDC_NAME_FIELD).text, "Anonymous");
      if (c.typed) dialog.setText(IDC_NAME_FIELD, c.typed);
      dialog.click(IDC_NAME_OK);
    });
    playerName = "left over";
    runEnterNameDialog();
    EXPECT_EQ(playerName, c.stored);
  }
}

TEST_F(HiscoreDialogs, NameDialogIgnoresTheCloseBoxAndEscape) {
  platform.answerDialog(IDD_ENTER_NAME, [](MemoryDialog& dialog) {
    dialog.command(2, 0);
    EXPECT_FALSE(dialog.ended());
    dialog.click(IDC_NAME_OK);
  });
  runEnterNameDialog();
}

TEST_F(HiscoreDialogs, TableShowsEveryRowAndHighlightsTheNewOneOnce) {
  localHiscores.insert(300, "");
  ASSERT_EQ(highlightRow, 5);
  platform.answerDialog(IDD_HISCORE_TABLE, [](MemoryDialog& dialog) { dialog.click(IDC_TABLE_OK); });
  platform.answerDialog(IDD_HISCORE_TABLE, [](MemoryDialog& dialog) { dialog.click(IDC_TABLE_OK); });
  runHiscoreTableDialog();
  runHiscoreTableDialog();

  const auto& first = platform.dialogsShown().at(0).controls;
  const char* const rows[] = {"Anonymous - 500", "Anonymous - 450", "Anonymous - 400",
                              "Anonymous - 350", "Anonymous - 300", " - 300",
                              "Anonymous - 250", "Anonymous - 200", "Anonymous - 150",
                              "Anonymous - 100"};
  for (int row = 0; row < 10; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(first.at(kTableRowIds[row]).text, rows[row]);
    EXPECT_EQ(first.at(kTableRankIds[row]).text, std::to_string(row + 1) + ".");
    EXPECT_EQ(first.at(kTableRowIds[row]).bold, row == 5);
    const auto marker = first.find(kTableMarkerIds[row]);
    EXPECT_EQ(marker != first.end() ? marker->second.text : "", row == 5 ? "*" : "");
  }
  const auto& second = platform.dialogsShown().at(1).controls;
  for (int row = 0; row < 10; ++row) EXPECT_FALSE(second.at(kTableRowIds[row]).bold);
  EXPECT_EQ(second.count(kTableMarkerIds[5]), 0u);
  EXPECT_EQ(highlightRow, kNoHighlightRow);
}

TEST_F(HiscoreDialogs, TableOkMakesTheMainWindowIgnoreItsNextRelease) {
  gameFlags.ignoreNextRelease = false;
  platform.answerDialog(IDD_HISCORE_TABLE, [](MemoryDialog& dialog) {
    dialog.command(2, 0);  // Escape does nothing
    EXPECT_FALSE(dialog.ended());
    dialog.click(IDC_TABLE_OK);
  });
  runHiscoreTableDialog();
  EXPECT_TRUE(gameFlags.ignoreNextRelease);
}

TEST_F(HiscoreDialogs, SubmitClosesTheTableAndSendsItWithoutShowingConnecting) {
  LoopbackServer server(LoopbackServer::Behaviour::Answer);
  gameSettings.level = 2;
  gameSettings.serveraddr = "127.0.0.1";
  gameSettings.serverport = server.port();
  platform.answerMessageBox(box::kAnswerNo);
  platform.answerDialog(IDD_HISCORE_TABLE, [](MemoryDialog& dialog) { dialog.click(IDC_TABLE_SUBMIT); });
  runHiscoreTableDialog();

  EXPECT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(platform.dialogsRun(), (std::vector<int>{IDD_HISCORE_TABLE, IDD_CONNECTING}));
  ASSERT_EQ(platform.dialogsShown().size(), 1u) << "the Connecting dialog ends in its initialisation";
  ASSERT_EQ(platform.messageBoxes().size(), 1u);
  EXPECT_NE(platform.messageBoxes()[0].owner, MemoryServices::kMainWindow)
      << "the submission's boxes belong to the Connecting dialog";
  EXPECT_FALSE(gameFlags.ignoreNextRelease);
}

TEST_F(HiscoreDialogs, SubmitAtTheCustomLevelOnlyClosesTheTable) {
  gameSettings.level = 0;
  platform.answerDialog(IDD_HISCORE_TABLE, [](MemoryDialog& dialog) { dialog.click(IDC_TABLE_SUBMIT); });
  runHiscoreTableDialog();
  EXPECT_TRUE(platform.messageBoxes().empty());
}
