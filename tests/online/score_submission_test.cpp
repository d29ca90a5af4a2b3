#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "hiscores/hiscore_state.h"
#include "hiscores/score_request.h"
#include "hiscores/score_submission.h"
#include "loopback_server.h"
#include "memory_program.h"
#include "shell/shell_state.h"

namespace {

constexpr WindowRef kConnectingDialog = 0x4242;

class Submission : public MemoryProgram {
 protected:
  Submission() {
    localHiscores.fillDefaultTable();
    gameSettings.level = 1;
    gameSettings.serveraddr = "127.0.0.1";
  }

  void expectOnlyBox(const char* text, const char* caption, unsigned style) {
    ASSERT_EQ(platform.messageBoxes().size(), 1u);
    const ShownMessageBox& shown = platform.messageBoxes()[0];
    EXPECT_EQ(shown.text, text);
    EXPECT_EQ(shown.caption, caption);
    EXPECT_EQ(shown.style, style);
    EXPECT_EQ(shown.owner, kConnectingDialog);
  }

  std::string expectedRequest() {
    return *buildScoreRequest(localHiscores, {gameSettings.proxy != 0, gameSettings.serveraddr,
                                              gameSettings.serverport, gameSettings.serverpath});
  }
};

std::string firstLine(const std::string& request) { return request.substr(0, request.find("\r\n")); }

}  // namespace

TEST_F(Submission, DirectRequestIsTheExactTextAndOffersTheScoreboard) {
  LoopbackServer server(LoopbackServer::Behaviour::Answer);
  gameSettings.serverport = server.port();
  platform.answerMessageBox(box::kAnswerYes);
  submitScores(kConnectingDialog);

  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], expectedRequest());
  EXPECT_EQ(firstLine(requests[0]),
            "GET /examples/servlet/TessaraHST?Op=SetScores&V=Anonymous_500_Anonymous_450_"
            "Anonymous_400_Anonymous_350_Anonymous_300_Anonymous_250_Anonymous_200_"
            "Anonymous_150_Anonymous_100_Anonymous_50_ HTTP/1.1");
  expectOnlyBox(kViewOnlineText, kViewOnlineCaption, box::kIconQuestion | box::kYesNo);
  ASSERT_EQ(platform.shellOpened().size(), 1u);
  EXPECT_EQ(platform.shellOpened()[0], "http://127.0.0.1:" + std::to_string(server.port()) +
                                           "/examples/servlet/TessaraHST?Op=GetHTML");
}

TEST_F(Submission, NoToTheScoreboardOpensNothing) {
  LoopbackServer server(LoopbackServer::Behaviour::Answer);
  gameSettings.serverport = server.port();
  platform.answerMessageBox(box::kAnswerNo);
  submitScores(kConnectingDialog);
  EXPECT_EQ(server.requests().size(), 1u);
  EXPECT_TRUE(platform.shellOpened().empty());
}

TEST_F(Submission, ThroughTheProxyTheRequestLineCarriesTheServersAddress) {
  struct Case {
    int32_t serverport;
    const char* head;
  };
  const Case cases[] = {
      {80, "GET http://scores.example/examples/servlet/TessaraHST?Op=SetScores&V=Anonymous_500_"},
      {8080,
       "GET http://scores.example:8080/examples/servlet/TessaraHST?Op=SetScores&V=Anonymous_500_"},
  };
  for (const Case& c : cases) {
    LoopbackServer proxy(LoopbackServer::Behaviour::Answer);
    gameSettings.proxy = 1;
    gameSettings.proxyaddr = "127.0.0.1";
    gameSettings.proxyport = proxy.port();
    gameSettings.serveraddr = "scores.example";
    gameSettings.serverport = c.serverport;
    platform.answerMessageBox(box::kAnswerNo);
    submitScores(kConnectingDialog);
    const auto requests = proxy.requests();
    ASSERT_EQ(requests.size(), 1u) << c.serverport;
    EXPECT_EQ(requests[0].rfind(c.head, 0), 0u) << requests[0];
    EXPECT_EQ(requests[0], expectedRequest());
  }
}

TEST_F(Submission, AServerThatClosesAtOnceStillCountsAsSent) {
  LoopbackServer server(LoopbackServer::Behaviour::CloseAtOnce);
  gameSettings.serverport = server.port();
  platform.answerMessageBox(box::kAnswerNo);
  submitScores(kConnectingDialog);
  expectOnlyBox(kViewOnlineText, kViewOnlineCaption, box::kIconQuestion | box::kYesNo);
}

TEST_F(Submission, AServerThatNeverAnswersIsLeftAfterTheBoundedWait) {
  LoopbackServer server(LoopbackServer::Behaviour::NeverAnswer);
  gameSettings.serverport = server.port();
  platform.answerMessageBox(box::kAnswerNo);
  const auto start = std::chrono::steady_clock::now();
  submitScores(kConnectingDialog);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_LT(waited, std::chrono::milliseconds(kReplyTimeoutMs + 3000));
  expectOnlyBox(kViewOnlineText, kViewOnlineCaption, box::kIconQuestion | box::kYesNo);
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0], expectedRequest());
}

TEST_F(Submission, ARefusedConnectionIsReported) {
  gameSettings.serverport = LoopbackServer::closedPort();
  submitScores(kConnectingDialog);
  expectOnlyBox(kNotSentText, kNoOnlineCaption, box::kIconError | box::kOk);
}

TEST_F(Submission, AHostThatDoesNotResolveIsReported) {
  const char* const hosts[] = {"no.such.host.invalid", "NULL"};
  for (const char* host : hosts) {
    MemoryServices& fresh = platform;
    const size_t before = fresh.messageBoxes().size();
    gameSettings.serveraddr = host;
    submitScores(kConnectingDialog);
    ASSERT_EQ(fresh.messageBoxes().size(), before + 1) << host;
    EXPECT_EQ(fresh.messageBoxes().back().text, kNoSocketsText) << host;
    EXPECT_EQ(fresh.messageBoxes().back().caption, kNoOnlineCaption);
  }
}

TEST_F(Submission, TheProxyHostIsTheOneResolvedWhenTheProxyIsOn) {
  gameSettings.proxy = 1;
  gameSettings.proxyaddr = "NULL";
  submitScores(kConnectingDialog);
  expectOnlyBox(kNoSocketsText, kNoOnlineCaption, box::kIconError | box::kOk);
}

TEST_F(Submission, OnlyCompetitionLevelsSubmit) {
  LoopbackServer server(LoopbackServer::Behaviour::Answer);
  gameSettings.serverport = server.port();
  for (int32_t level : {0, 6, -1}) {
    gameSettings.level = level;
    submitScores(kConnectingDialog);
  }
  EXPECT_TRUE(platform.messageBoxes().empty());
  EXPECT_EQ(server.connections(), 0);
}

TEST_F(Submission, ARequestTooLongForItsBufferIsRefusedBeforeConnecting) {
  LoopbackServer server(LoopbackServer::Behaviour::Answer);
  gameSettings.serverport = server.port();
  gameSettings.serverpath = "/" + std::string(kRequestBufferBytes, 'p');
  submitScores(kConnectingDialog);
  expectOnlyBox(kNotSentText, kNoOnlineCaption, box::kIconError | box::kOk);
  EXPECT_EQ(server.connections(), 0);
}

TEST_F(Submission, ThePortIsTheLowSixteenBitsOfTheSetting) {
  LoopbackServer server(LoopbackServer::Behaviour::Answer);
  gameSettings.serverport = 65536 + server.port();
  platform.answerMessageBox(box::kAnswerNo);
  submitScores(kConnectingDialog);
  EXPECT_EQ(server.requests().size(), 1u);
}
