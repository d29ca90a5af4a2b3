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
std::optional<net::Address> startSockets() {
  if (!services().startSocketsLibrary()) return std::nullopt;
  return net::resolveHost(usingProxy() ? gameSettings.proxyaddr : gameSettings.serveraddr);
}

// Creates the socket and connects it to the resolved address.
std::optional<net::Socket> openConnection(const net::Address& address) {
  const std::optional<net::Socket> socket = net::openSocket();
  if (!socket) return std::nullopt;
  const int32_t port = usingProxy() ? gameSettings.proxyport : gameSettings.serverport;
  if (!net::connectWithin(*socket, address, static_cast<uint16_t>(port), kConnectTimeoutMs)) {
    net::closeSocket(*socket);
    return std::nullopt;
  }
  return socket;
}

// Connects, sends the request, waits for the reply and closes.
bool sendScores(const net::Address& address) {
  const std::optional<std::string> request = buildScoreRequest(
      localHiscores,
      {usingProxy(), gameSettings.serveraddr, gameSettings.serverport, gameSettings.serverpath});
  // A request too long for its buffer is refused before anything is sent.
  if (!request) return false;
  const std::optional<net::Socket> socket = openConnection(address);
  if (!socket) return false;
  const bool sent = net::sendText(*socket, *request);
  if (sent) net::awaitReply(*socket, kRequestBufferBytes, kReplyTimeoutMs);
  net::closeSocket(*socket);
  return sent;
}

}  // namespace

void submitScores(WindowRef owner) {
  if (gameSettings.level < 1 || gameSettings.level > 5) return;
  Services& platform = services();
  const std::optional<net::Address> address = startSockets();
  if (!address) {
    platform.messageBox(owner, kNoSocketsText, kNoOnlineCaption, box::kIconError | box::kOk);
    return;
  }
  if (!sendScores(*address)) {
    platform.messageBox(owner, kNotSentText, kNoOnlineCaption, box::kIconError | box::kOk);
    return;
  }
  if (platform.messageBox(owner, kViewOnlineText, kViewOnlineCaption,
                          box::kIconQuestion | box::kYesNo) == box::kAnswerYes) {
    openOnlineScoreboard();
  }
}
