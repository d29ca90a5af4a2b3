#include "hiscores/score_submission.h"

#include <optional>

#include "hiscores/hiscore_state.h"
#include "hiscores/score_request.h"
#include "hiscores/scoreboard_view.h"
#include "shell/shell_state.h"
#include "shell/sockets.h"

namespace {

bool usingProxy() { return gameSettings.proxy != 0; }

// Starts the sockets library and resolves the host to connect to: the proxy or the server.
bool startSockets() {
  if (!services().startSocketsLibrary()) return false;
  const std::optional<net::Address> address =
      net::resolveHost(usingProxy() ? gameSettings.proxyaddr : gameSettings.serveraddr);
  if (!address) return false;
  resolvedAddress = *address;
  return true;
}

// Creates the socket and connects it to the resolved address.
bool openConnection() {
  const std::optional<net::Socket> socket = net::openSocket();
  if (!socket) return false;
  scoreSocket = *socket;
  const int32_t port = usingProxy() ? gameSettings.proxyport : gameSettings.serverport;
  if (!net::connectWithin(scoreSocket, resolvedAddress, static_cast<uint16_t>(port),
                          kConnectTimeoutMs)) {
    net::closeSocket(scoreSocket);
    return false;
  }
  return true;
}

// Connects, sends the request, waits for the reply and closes.
bool sendScores() {
  const std::optional<std::string> request = buildScoreRequest(
      localHiscores,
      {usingProxy(), gameSettings.serveraddr, gameSettings.serverport, gameSettings.serverpath});
  // A request too long for its buffer is refused before anything is sent.
  if (!request || !openConnection()) return false;
  const bool sent = net::sendText(scoreSocket, *request);
  if (sent) net::awaitReply(scoreSocket, kRequestBufferBytes, kReplyTimeoutMs);
  net::closeSocket(scoreSocket);
  return sent;
}

}  // namespace

void submitScores(WindowRef owner) {
  if (gameSettings.level < 1 || gameSettings.level > 5) return;
  Services& platform = services();
  if (!startSockets()) {
    platform.messageBox(owner, kNoSocketsText, kNoOnlineCaption, box::kIconError | box::kOk);
    return;
  }
  if (!sendScores()) {
    platform.messageBox(owner, kNotSentText, kNoOnlineCaption, box::kIconError | box::kOk);
    return;
  }
  if (platform.messageBox(owner, kViewOnlineText, kViewOnlineCaption,
                          box::kIconQuestion | box::kYesNo) == box::kAnswerYes) {
    openOnlineScoreboard();
  }
}
