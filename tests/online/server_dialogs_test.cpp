#include <gtest/gtest.h>

#include <string>

#include "hiscores/scoreboard_view.h"
#include "hiscores/server_dialogs.h"
#include "memory_program.h"
#include "resources/resource_ids.h"
#include "shell/shell_state.h"

namespace {

class ProxyDialog : public MemoryProgram {
 protected:
  // Opens Set proxy and hands it to `answer`; returns the controls as the user first saw them.
  ControlState shownControl(int control) { return platform.dialogsShown().at(0).controls.at(control); }

  void refusedPortBox(size_t index) {
    ASSERT_GT(platform.messageBoxes().size(), index);
    const ShownMessageBox& shown = platform.messageBoxes()[index];
    EXPECT_EQ(shown.text, "Please enter a number for the port");
    EXPECT_EQ(shown.caption, "Invalid port number");
    EXPECT_EQ(shown.style, box::kIconError | box::kOk);
    EXPECT_EQ(shown.owner, 0u);
  }
};

}  // namespace

TEST_F(ProxyDialog, OpensWithTheSettingsAndReadOnlyFieldsWhileTheProxyIsOff) {
  gameSettings.proxyport = 3128;
  gameSettings.proxyaddr = "cache.local";
  std::vector<bool> readOnlyAfterClicks;
  platform.answerDialog(IDD_SET_PROXY, [&](MemoryDialog& dialog) {
    dialog.toggleCheckBox(IDC_PROXY_USE);
    readOnlyAfterClicks.push_back(dialog.control(IDC_PROXY_ADDRESS).readOnly);
    readOnlyAfterClicks.push_back(dialog.control(IDC_PROXY_PORT).readOnly);
    dialog.toggleCheckBox(IDC_PROXY_USE);
    readOnlyAfterClicks.push_back(dialog.control(IDC_PROXY_ADDRESS).readOnly);
    readOnlyAfterClicks.push_back(dialog.control(IDC_PROXY_PORT).readOnly);
    dialog.click(IDC_PROXY_CANCEL);
  });
  runSetProxyDialog();

  EXPECT_EQ(shownControl(IDC_PROXY_PORT).text, "3128");
  EXPECT_EQ(shownControl(IDC_PROXY_ADDRESS).text, "cache.local");
  EXPECT_FALSE(shownControl(IDC_PROXY_USE).checked);
  EXPECT_TRUE(shownControl(IDC_PROXY_ADDRESS).readOnly);
  EXPECT_TRUE(shownControl(IDC_PROXY_PORT).readOnly);
  EXPECT_EQ(readOnlyAfterClicks, (std::vector<bool>{false, false, true, true}));
  EXPECT_EQ(gameSettings.proxy, 0);
}

TEST_F(ProxyDialog, PortTextIsReadAsFormattedInputReadsANumber) {
  struct Case {
    const char* port;
    bool closes;
    int32_t stored;
  };
  const Case cases[] = {
      {"8080x", true, 8080}, {" 81", true, 81},      {"-5", true, -5},
      {"70000", true, 70000}, {"   ", true, 1234},    // nothing but blanks: the port stays
      {"x8080", false, 1234}, {"port", false, 1234},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.port);
    gameSettings.proxyport = 1234;
    const size_t boxesBefore = platform.messageBoxes().size();
    bool closedByOk = false;
    platform.answerDialog(IDD_SET_PROXY, [&](MemoryDialog& dialog) {
      dialog.setText(IDC_PROXY_PORT, c.port);
      dialog.click(IDC_PROXY_OK);
      closedByOk = dialog.ended();
      if (!dialog.ended()) dialog.click(IDC_PROXY_CANCEL);
    });
    runSetProxyDialog();
    EXPECT_EQ(closedByOk, c.closes);
    EXPECT_EQ(gameSettings.proxyport, c.stored);
    EXPECT_EQ(platform.messageBoxes().size(), boxesBefore + (c.closes ? 0 : 1));
  }
}

TEST_F(ProxyDialog, AnEmptyPortChangesNothingAndKeepsTheDialogOpen) {
  bool stillOpen = false;
  platform.answerDialog(IDD_SET_PROXY, [&](MemoryDialog& dialog) {
    dialog.toggleCheckBox(IDC_PROXY_USE);
    dialog.setText(IDC_PROXY_ADDRESS, "other.host");
    dialog.setText(IDC_PROXY_PORT, "");
    dialog.click(IDC_PROXY_OK);
    stillOpen = !dialog.ended();
    dialog.click(IDC_PROXY_CANCEL);
  });
  runSetProxyDialog();
  EXPECT_TRUE(stillOpen);
  refusedPortBox(0);
  EXPECT_EQ(gameSettings.proxyaddr, kDefaultProxyHost);
  EXPECT_EQ(gameSettings.proxy, 0);
}

TEST_F(ProxyDialog, ARefusedPortKeepsTheAddressAndTickOfThatAttempt) {
  platform.answerDialog(IDD_SET_PROXY, [&](MemoryDialog& dialog) {
    dialog.toggleCheckBox(IDC_PROXY_USE);
    dialog.setText(IDC_PROXY_ADDRESS, "other.host");
    dialog.setText(IDC_PROXY_PORT, "port");
    dialog.click(IDC_PROXY_OK);
    dialog.click(IDC_PROXY_CANCEL);
  });
  runSetProxyDialog();
  refusedPortBox(0);
  EXPECT_EQ(gameSettings.proxyaddr, "other.host");
  EXPECT_EQ(gameSettings.proxy, 1);
  EXPECT_EQ(gameSettings.proxyport, kDefaultPort);
}

TEST_F(ProxyDialog, AnEmptyAddressIsStoredAsNull) {
  platform.answerDialog(IDD_SET_PROXY, [&](MemoryDialog& dialog) {
    dialog.setText(IDC_PROXY_ADDRESS, "");
    dialog.click(IDC_PROXY_OK);
  });
  runSetProxyDialog();
  EXPECT_EQ(gameSettings.proxyaddr, "NULL");
  EXPECT_TRUE(platform.messageBoxes().empty());
}

TEST_F(ProxyDialog, OnlyButtonClicksAreCommands) {
  platform.answerDialog(IDD_SET_PROXY, [&](MemoryDialog& dialog) {
    dialog.setText(IDC_PROXY_PORT, "99");
    dialog.command(IDC_PROXY_OK, 1);
    EXPECT_FALSE(dialog.ended());
    dialog.command(IDC_PROXY_CANCEL, 0);
  });
  runSetProxyDialog();
  EXPECT_EQ(gameSettings.proxyport, kDefaultPort);
}

TEST_F(ProxyDialog, ServerDialogTakesItsFieldsAsTheyAre) {
  struct Case {
    const char* address;
    const char* path;
    const char* port;
    int32_t stored;
  };
  const Case cases[] = {
      {"scores.example", "/hst", "80", 80},
      {"", "", "", 0},
      {"h", "/p", "port", 0},
      {"h", "/p", "-7", -7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.port);
    platform.answerDialog(IDD_SET_SERVER, [&](MemoryDialog& dialog) {
      dialog.setText(IDC_SERVER_ADDRESS, c.address);
      dialog.setText(IDC_SERVER_PATH, c.path);
      dialog.setText(IDC_SERVER_PORT, c.port);
      dialog.click(IDC_SERVER_OK);
    });
    runSetServerDialog();
    EXPECT_EQ(gameSettings.serveraddr, c.address);
    EXPECT_EQ(gameSettings.serverpath, c.path);
    EXPECT_EQ(gameSettings.serverport, c.stored);
  }
  EXPECT_TRUE(platform.messageBoxes().empty());
}

TEST_F(ProxyDialog, ServerDialogShowsTheSettingsAndCancelKeepsThem) {
  gameSettings.serverport = -3;
  platform.answerDialog(IDD_SET_SERVER, [&](MemoryDialog& dialog) {
    dialog.setText(IDC_SERVER_ADDRESS, "elsewhere");
    dialog.click(IDC_SERVER_CANCEL);
  });
  runSetServerDialog();
  const auto& shown = platform.dialogsShown().at(0).controls;
  EXPECT_EQ(shown.at(IDC_SERVER_ADDRESS).text, kDefaultServerHost);
  EXPECT_EQ(shown.at(IDC_SERVER_PATH).text, kDefaultServerPath);
  EXPECT_EQ(shown.at(IDC_SERVER_PORT).text, "-3");
  EXPECT_EQ(gameSettings.serveraddr, kDefaultServerHost);
}

TEST_F(ProxyDialog, ScoreboardAddressLeavesOutPortEighty) {
  struct Case {
    int32_t port;
    const char* address;
  };
  const Case cases[] = {
      {80, "http://scores.example/hst?Op=GetHTML"},
      {8080, "http://scores.example:8080/hst?Op=GetHTML"},
      {-1, "http://scores.example:-1/hst?Op=GetHTML"},
  };
  gameSettings.serveraddr = "scores.example";
  gameSettings.serverpath = "/hst";
  for (const Case& c : cases) {
    gameSettings.serverport = c.port;
    openOnlineScoreboard();
    EXPECT_EQ(platform.shellOpened().back(), c.address);
  }
  gameSettings.serverpath = std::string(1100, 'p');
  openOnlineScoreboard();
  EXPECT_EQ(platform.shellOpened().size(), 3u) << "an address too long for its buffer opens nothing";
}
